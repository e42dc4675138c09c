// Size classes of 16 bytes up to 1 KiB, each a free list over slabs that are carved in order
// (so the objects of a drawing lie side by side) and never given back. Larger objects go to
// the system's allocator. Under AddressSanitizer everything goes there, so that leaks and
// uses after free stay visible.
#include "Pool.h"

#include <new>

#include "dbmain.h"

namespace plx::db {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

constexpr std::size_t kGrain = 16;
constexpr std::size_t kMaxPooled = 1024;
constexpr std::size_t kClasses = kMaxPooled / kGrain + 1;
constexpr std::size_t kSlabBytes = 64 * 1024;

struct FreeBlock {
  FreeBlock* next;
};

struct SizeClass {
  FreeBlock* free = nullptr;
  char* carve = nullptr;  // the unused rest of the newest slab
  char* carveEnd = nullptr;
};

// Constant-initialised and trivially destroyed: objects may go after every other static.
struct Pool {
  SizeClass classes[kClasses];
  FreeBlock* freePages = nullptr;
};
constinit Pool thePool{};

void* Take(SizeClass& sc, std::size_t bytes) {
  if (FreeBlock* block = sc.free) {
    sc.free = block->next;
    return block;
  }
  if (static_cast<std::size_t>(sc.carveEnd - sc.carve) < bytes) {
    sc.carve = static_cast<char*>(::operator new(kSlabBytes));
    sc.carveEnd = sc.carve + kSlabBytes - kSlabBytes % bytes;
  }
  void* block = sc.carve;
  sc.carve += bytes;
  return block;
}

}  // namespace

void* AllocateBlock(std::size_t size) {
  if (!kPooled || size > kMaxPooled) return ::operator new(size);
  const std::size_t index = (size + kGrain - 1) / kGrain;
  return Take(thePool.classes[index], index * kGrain);
}

void ReleaseBlock(void* block, std::size_t size) {
  if (!block) return;
  if (!kPooled || size > kMaxPooled) {
    ::operator delete(block);
    return;
  }
  SizeClass& sc = thePool.classes[(size + kGrain - 1) / kGrain];
  auto* freed = static_cast<FreeBlock*>(block);
  freed->next = sc.free;
  sc.free = freed;
}

void* AllocatePage() {
  if (kPooled) {
    if (FreeBlock* page = thePool.freePages) {
      thePool.freePages = page->next;
      return page;
    }
  }
  return ::operator new(kPageBytes);
}

void ReleasePage(void* page) {
  if (!kPooled) {
    ::operator delete(page);
    return;
  }
  auto* freed = static_cast<FreeBlock*>(page);
  freed->next = thePool.freePages;
  thePool.freePages = freed;
}

}  // namespace plx::db

void* AcDbObject::operator new(std::size_t size) { return plx::db::AllocateBlock(size); }

void AcDbObject::operator delete(void* object, std::size_t size) { plx::db::ReleaseBlock(object, size); }

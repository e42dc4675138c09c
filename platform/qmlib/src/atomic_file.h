// A file that appears at its target path only when complete: it is written under a unique
// temporary name in the target's folder (so the final rename stays on one file system and is
// atomic) and renamed over the target by Commit. Until then the target keeps its old
// content; an abandoned file removes its temporary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qmlib {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  // target: the Linux path (UTF-8); shown: the path as the caller wrote it, for messages.
  // Refuses an existing file that is read-only or that this process may not write; a link
  // is followed to the file it leads to.
  bool Create(const std::string& target, const std::wstring& shown, std::wstring& error);
  bool Write(const char* data, size_t size, std::wstring& error);
  // Writes at a place of the file without moving on, and may run on several threads at once;
  // a failure leaves the file for its owner to abandon once no other write is under way.
  bool WriteAt(uint64_t offset, const char* data, size_t size, std::wstring& error) const;
  // Closes the temporary file and renames it over the target.
  bool Commit(std::wstring& error);

  const std::string& TemporaryPath() const { return temporary_; }

 private:
  void Abandon();

  std::string target_;
  std::wstring shown_;
  std::string temporary_;
  int fd_ = -1;
};

}  // namespace qmlib

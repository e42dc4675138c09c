// Command-line output, result buffers, the main window, the UI library and the document
// manager's resource-handle stack.
#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "Session.h"
#include "acdocman.h"
#include "aced.h"
#include "acui.h"
#include "afxdll.h"
#include "win32/text.h"
#include "win32/transcript.h"

ACRX_DEFINE_MEMBERS(AcApDocManagerReactor, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocManager, AcRxObject)

AcRxClass* AcRxObject::desc() {
  static AcRxClass cls(L"AcRxObject", nullptr);
  return &cls;
}
AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

namespace {

int g_initAcUiCalls = 0;

class DocManager final : public AcApDocManager {
 public:
  void pushResourceHandle(HINSTANCE resource) override {
    saved_.push_back(AfxGetResourceHandle());
    AfxSetResourceHandle(resource);
  }
  void popResourceHandle() override {
    if (saved_.empty()) return;
    AfxSetResourceHandle(saved_.back());
    saved_.pop_back();
  }
  void addReactor(AcApDocManagerReactor* reactor) override {
    if (reactor && std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end())
      reactors_.push_back(reactor);
  }
  void removeReactor(AcApDocManagerReactor* reactor) override {
    reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), reactor), reactors_.end());
  }
  int Depth() const { return static_cast<int>(saved_.size()); }

 private:
  std::vector<HINSTANCE> saved_;
  std::vector<AcApDocManagerReactor*> reactors_;
};

DocManager& Docs() {
  // Never destroyed: modules remove their reactors during their own static destruction.
  static auto* docs = new DocManager;
  return *docs;
}

struct MainWindow {
  int unused;
} g_mainWindow;

}  // namespace

AcApDocManager* acDocManagerPtr() { return &Docs(); }

void InitAcUiDLL() { ++g_initAcUiCalls; }

HWND adsw_acadMainWnd() { return reinterpret_cast<HWND>(&g_mainWindow); }

int acutPrintf(const ACHAR* format, ...) {
  va_list args;
  va_start(args, format);
  const std::wstring text = plx::FormatWideV(format, args);
  va_end(args);
  plx::WriteTranscript(text);
  return static_cast<int>(text.size());
}

ACHAR* acutNewString(const ACHAR* text) {
  const size_t n = text ? wcslen(text) : 0;
  auto* copy = static_cast<ACHAR*>(std::malloc((n + 1) * sizeof(ACHAR)));
  if (!copy) return nullptr;
  if (n) wmemcpy(copy, text, n);
  copy[n] = L'\0';
  return copy;
}

resbuf* acutNewRb(int type) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb) rb->restype = static_cast<short>(type);
  return rb;
}

int acutRelRb(resbuf* list) {
  while (list) {
    resbuf* next = list->rbnext;
    if (list->restype == RTSTR) std::free(list->resval.rstring);
    std::free(list);
    list = next;
  }
  return RTNORM;
}

namespace plx::host {

int InitAcUiDllCalls() { return g_initAcUiCalls; }
int ResourceHandleDepth() { return Docs().Depth(); }
void ResetUiCounters() { g_initAcUiCalls = 0; }

}  // namespace plx::host

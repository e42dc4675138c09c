// The SDK's application framework, compiled into each module: a message dispatcher with one
// virtual handler per message code, and the registration of the module's command table at
// initialisation and its removal at unload.
#pragma once

#include <cstddef>

#include "accmd.h"
#include "rxdefs.h"
#include "rxdlinkr.h"
#include "win32.h"

// One row of a module's command table.
struct AcEdCommandEntry {
  const ACHAR* group;
  const ACHAR* globalName;
  const ACHAR* localName;
  Adesk::Int32 flags;
  AcRxFunctionPtr function;
  AcEdUIContext* uiContext;
  int localNameId;  // resource id of the local name, used only when localName is null
};

class AcRxDbxApp {
 public:
  // moduleInstance: where the library entry function keeps the module's instance handle.
  constexpr explicit AcRxDbxApp(HINSTANCE const* moduleInstance) : moduleInstance_(moduleInstance) {}
  virtual ~AcRxDbxApp() = default;

  // Message codes 0 to 15 reach their handler; above that the answer is kRetOK.
  AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    switch (msg) {
      case AcRx::kNullMsg: return On_kNullMsg(pkt);
      case AcRx::kInitAppMsg: return On_kInitAppMsg(pkt);
      case AcRx::kUnloadAppMsg: return On_kUnloadAppMsg(pkt);
      case AcRx::kLoadDwgMsg: return On_kLoadDwgMsg(pkt);
      case AcRx::kUnloadDwgMsg: return On_kUnloadDwgMsg(pkt);
      case AcRx::kInvkSubrMsg: return On_kInvkSubrMsg(pkt);
      case AcRx::kCfgMsg: return On_kCfgMsg(pkt);
      case AcRx::kEndMsg: return On_kEndMsg(pkt);
      case AcRx::kQuitMsg: return On_kQuitMsg(pkt);
      case AcRx::kSaveMsg: return On_kSaveMsg(pkt);
      case AcRx::kDependencyMsg: return On_kDependencyMsg(pkt);
      case AcRx::kNoDependencyMsg: return On_kNoDependencyMsg(pkt);
      case AcRx::kOleUnloadAppMsg: return On_kOleUnloadAppMsg(pkt);
      case AcRx::kPreQuitMsg: return On_kPreQuitMsg(pkt);
      case AcRx::kInitDialogMsg: return On_kInitDialogMsg(pkt);
      case AcRx::kEndDialogMsg: return On_kEndDialogMsg(pkt);
      default: return AcRx::kRetOK;
    }
  }

  // In the order of the message codes 1 to 15, then 0.
  virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt) {
    m_hdllInstance = moduleInstance_ ? *moduleInstance_ : nullptr;
    acrxDynamicLinker->unlockApplication(pkt);
    acrxDynamicLinker->registerAppMDIAware(pkt);
    RegisterServerComponents();
    return AcRx::kRetOK;
  }
  virtual AcRx::AppRetCode On_kUnloadAppMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kLoadDwgMsg(void*) { return AcRx::kRetOK; }    // no drawing functions
  virtual AcRx::AppRetCode On_kUnloadDwgMsg(void*) { return AcRx::kRetOK; }  // to define or undefine
  virtual AcRx::AppRetCode On_kInvkSubrMsg(void*) { return AcRx::kRetOK; }   // or invoke
  virtual AcRx::AppRetCode On_kCfgMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kEndMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kQuitMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kSaveMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kDependencyMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kNoDependencyMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kPreQuitMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kInitDialogMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kEndDialogMsg(void*) { return AcRx::kRetOK; }
  virtual AcRx::AppRetCode On_kNullMsg(void*) { return AcRx::kRetOK; }
  virtual void RegisterServerComponents() = 0;

  HINSTANCE m_hdllInstance = nullptr;
  bool m_bUnlocked = true;
  bool m_bMDIAware = true;

 private:
  HINSTANCE const* moduleInstance_;
};

class AcRxArxApp : public AcRxDbxApp {
 public:
  constexpr AcRxArxApp(HINSTANCE const* moduleInstance, const AcEdCommandEntry* commands,
                       size_t commandCount)
      : AcRxDbxApp(moduleInstance), commands_(commands), commandCount_(commandCount) {}

  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override {
    const AcRx::AppRetCode result = AcRxDbxApp::On_kInitAppMsg(pkt);
    for (size_t i = 0; i < commandCount_; ++i) {
      const AcEdCommandEntry& e = commands_[i];
      // A command the host refuses is simply missing.
      acedRegCmds->addCommand(e.group, e.globalName, e.localName, e.flags, e.function,
                              e.uiContext, -1, m_hdllInstance, nullptr);
    }
    return result;
  }
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override {
    const AcRx::AppRetCode result = AcRxDbxApp::On_kUnloadAppMsg(pkt);
    for (size_t i = 0; i < commandCount_; ++i)
      acedRegCmds->removeCmd(commands_[i].group, commands_[i].globalName);
    return result;
  }

 private:
  const AcEdCommandEntry* commands_;
  size_t commandCount_;
};

// Defines the module's exports for its application object.
#define IMPLEMENT_ARX_ENTRYPOINT(APP_OBJECT)                                                    \
  extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(         \
      AcRx::AppMsgCode msg, void* pkt) {                                                     \
    return (APP_OBJECT).EntryPoint(msg, pkt);                                                \
  }                                                                                          \
  extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() {                \
    return ACRX_API_VERSION;                                                                 \
  }

// The host's application messages and their answers.
#pragma once

struct AcRx {
  enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
    kSuspendMsg = 16,
  };
  enum AppRetCode { kRetOK = 0, kRetError = 3 };
};

// The version handshake: a module exports acrxGetApiVersion returning this value, and the host
// loads only modules that give its own.
#define ACRX_API_VERSION 0x00120000  // release 18

extern "C" typedef AcRx::AppRetCode (*AcRxEntryPointFn)(AcRx::AppMsgCode, void*);
extern "C" typedef int (*AcRxGetApiVersionFn)();

// The module's application object: the host's messages arrive here, and the SDK base registers
// the command table at initialisation and removes it at unload.
#pragma once

#include "arx.h"

class CPlovexApp : public AcRxArxApp {
 public:
  constexpr CPlovexApp(HINSTANCE const* moduleInstance, const AcEdCommandEntry* commands,
                       size_t commandCount)
      : AcRxArxApp(moduleInstance, commands, commandCount) {}

  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
  void RegisterServerComponents() override;
};

// The module's instance handle, saved by the library entry function on every attach.
extern HINSTANCE ModuleInstance;

// Loads Plovex.mnu from the module's folder and inserts its pop-up at position 10.
void LoadPlovexMenu();

// The command functions of the table.
void Plovex();
void PlovexHelp();
void PlovexAbout();

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// The host's dynamic linker, as far as applications talk to it at start.
#pragma once

#include "rxobject.h"

class AcRxDynamicLinker : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);
  // The application may be unloaded while the host runs.
  virtual bool unlockApplication(void* appId) const = 0;
  virtual bool lockApplication(void* appId) const = 0;
  virtual bool isApplicationLocked(const ACHAR* name) const = 0;
  // The application works with several drawings open.
  virtual bool registerAppMDIAware(void* appId) const = 0;
};

AcRxDynamicLinker* acrxDynamicLinkerPtr();
#define acrxDynamicLinker acrxDynamicLinkerPtr()

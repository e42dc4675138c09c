// The host's document manager: resource handles for dialogs and document reactors.
#pragma once

#include "rxobject.h"
#include "win32.h"

class AcApDocument;

class AcApDocManagerReactor : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcApDocManagerReactor);
  virtual void documentCreated(AcApDocument*) {}
  virtual void documentToBeDestroyed(AcApDocument*) {}
};

class AcApDocManager : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcApDocManager);
  // Makes a module's resources current (MFC's resource handle) until the matching pop.
  virtual void pushResourceHandle(HINSTANCE resource) = 0;
  virtual void popResourceHandle() = 0;
  virtual void addReactor(AcApDocManagerReactor* reactor) = 0;
  virtual void removeReactor(AcApDocManagerReactor* reactor) = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

// Keeps one record of type T per drawing; a module holds one as a global object.
template <class T>
class AcApDataManager : public AcApDocManagerReactor {
 public:
  AcApDataManager() { acDocManager->addReactor(this); }
  ~AcApDataManager() override { acDocManager->removeReactor(this); }
  AcRxClass* isA() const override { return AcApDocManagerReactor::desc(); }
};

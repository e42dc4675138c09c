// The host's command stack: commands by group, global name (with its underscore) and local
// name, each a function without arguments.
#pragma once

#include "acadstrc.h"
#include "rxobject.h"
#include "win32.h"

typedef void (*AcRxFunctionPtr)();

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_SESSION 0x00200000

class AcEdUIContext;

class AcEdCommand {
 public:
  virtual ~AcEdCommand() = default;
  virtual const ACHAR* globalName() const = 0;
  virtual const ACHAR* localName() const = 0;
  virtual Adesk::Int32 commandFlags() const = 0;
  virtual AcRxFunctionPtr functionAddr() const = 0;
  virtual AcEdUIContext* UIContext() const = 0;
  virtual int functionCode() const = 0;
  virtual HINSTANCE resourceHandle() const = 0;
};

// Walks every command, group by group in the order the groups were made, each group's commands
// in registration order.
class AcEdCommandIterator {
 public:
  virtual ~AcEdCommandIterator() = default;
  virtual bool done() const = 0;
  virtual bool next() = 0;
  virtual const AcEdCommand* command() const = 0;
  virtual const ACHAR* commandGroup() const = 0;
};

class AcEdCommandStack : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);

  // eDuplicateKey when the group already holds the global name; eInvalidInput for an empty
  // group, global name or function.
  virtual Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                       const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                       AcRxFunctionPtr functionAddr,
                                       AcEdUIContext* UIContext = nullptr, int fcode = -1,
                                       HINSTANCE hResourceHandle = nullptr,
                                       AcEdCommand** cmdPtrRet = nullptr) = 0;
  // eKeyNotFound when the group does not hold the command.
  virtual Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) = 0;
  virtual Acad::ErrorStatus removeGroup(const ACHAR* groupName) = 0;
  // Finds a command by global or local name, without regard to case; null when unknown.
  virtual AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalLookup = true,
                                 bool allGroups = true) const = 0;
  // A new iterator, to be deleted by the caller.
  virtual AcEdCommandIterator* iterator() = 0;
};

inline AcEdCommandStack* acedRegCmdsPtr() {
  return AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
}
#define acedRegCmds acedRegCmdsPtr()

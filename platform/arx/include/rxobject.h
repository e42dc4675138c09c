// Run-time classes of the host: every object knows its class by exact name (isA()->name()).
#pragma once

#include "adesk.h"

class AcRxClass {
 public:
  AcRxClass(const ACHAR* name, AcRxClass* parent, const ACHAR* dxfName = nullptr)
      : name_(name), parent_(parent), dxfName_(dxfName) {}
  AcRxClass(const AcRxClass&) = delete;
  AcRxClass& operator=(const AcRxClass&) = delete;

  const ACHAR* name() const { return name_; }
  // The type name of the class's objects in DXF ("LINE", "3DFACE"); null for abstract classes.
  const ACHAR* dxfName() const { return dxfName_; }
  AcRxClass* myParent() const { return parent_; }
  bool isDerivedFrom(const AcRxClass* other) const {
    for (const AcRxClass* c = this; c; c = c->parent_)
      if (c == other) return true;
    return false;
  }

 private:
  const ACHAR* name_;
  AcRxClass* parent_;
  const ACHAR* dxfName_;
};

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
  static AcRxClass* desc();
  virtual AcRxClass* isA() const;
  static AcRxObject* cast(const AcRxObject* object) { return const_cast<AcRxObject*>(object); }
  bool isKindOf(const AcRxClass* cls) const { return isA()->isDerivedFrom(cls); }
  // A new copy of the object, the caller's to release; null where a class cannot be copied.
  virtual AcRxObject* clone() const { return nullptr; }
};

// Declares desc, isA and cast for a class derived from AcRxObject.
#define ACRX_DECLARE_MEMBERS(CLASS)                                              \
  static AcRxClass* desc();                                                      \
  AcRxClass* isA() const override;                                               \
  static CLASS* cast(const AcRxObject* object) {                                 \
    return object && object->isKindOf(CLASS::desc()) ? const_cast<CLASS*>(      \
                                                           static_cast<const CLASS*>(object)) \
                                                     : nullptr;                  \
  }

// Defines them in one source file; the class's name is its exact run-time name.
#define ACRX_DEFINE_MEMBERS(CLASS, PARENT)          \
  AcRxClass* CLASS::desc() {                        \
    static AcRxClass cls(L## #CLASS, PARENT::desc()); \
    return &cls;                                    \
  }                                                 \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }

// The same for a class whose objects have a DXF type name; the version, proxy and application
// arguments are accepted as on the platform and not used.
#define ACRX_DXF_DEFINE_MEMBERS(CLASS, PARENT, DWG_VERSION, MAINTENANCE_VERSION, PROXY_FLAGS, DXF_NAME, APP) \
  AcRxClass* CLASS::desc() {                                                                               \
    static AcRxClass cls(L## #CLASS, PARENT::desc(), L## #DXF_NAME);                                       \
    return &cls;                                                                                           \
  }                                                                                                        \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }

// The host's system registry of named services.
class AcRxDictionary : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDictionary);
  virtual AcRxObject* at(const ACHAR* key) const = 0;
};

AcRxDictionary* acrxSysRegistry();

#define ACRX_COMMAND_DOCK ACRX_T("ACAD_REGISTERED_COMMANDS")

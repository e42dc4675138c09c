// AcDbObject: the open states, erasing and closing; AcDbExtents; handles as hex text; the
// strings the host hands out.
#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "Access.h"
#include "aced.h"

using plx::db::ObjectAccess;

ACRX_DEFINE_MEMBERS(AcDbObject, AcRxObject)

AcDbObject::~AcDbObject() {
  // An object deleted while its database lives must not leave its slot pointing at it.
  if (database_ && !database_->GetImpl().closing) {
    database_->GetImpl().slots[slot_] = nullptr;
    --database_->GetImpl().objects;
  }
}

AcDbObjectId AcDbObject::objectId() const {
  return database_ ? AcDbObjectId::FromParts(database_->GetImpl().serial, slot_) : AcDbObjectId();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId owner) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  owner_ = owner;
  return Acad::eOk;
}

bool AcDbObject::isReadEnabled() const { return !database_ || writer_ || readers_ > 0 || notifiers_ > 0; }

bool AcDbObject::isWriteEnabled() const { return !database_ || writer_; }

Acad::ErrorStatus AcDbObject::close() {
  if (!database_) {
    if (!heldByOwner_) delete this;
    return Acad::eOk;
  }
  if (writer_) {
    writer_ = false;
    return Acad::eOk;
  }
  if (readers_ > 0) {
    --readers_;
    return Acad::eOk;
  }
  if (notifiers_ > 0) {
    --notifiers_;
    return Acad::eOk;
  }
  return Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::erase(Adesk::Boolean erasing) {
  if (!database_) return Acad::eNotInDatabase;
  if (!writer_) return Acad::eNotOpenForWrite;
  if (erasing == erased_) return erasing ? Acad::eWasErased : Acad::eNotApplicable;
  const auto& impl = database_->GetImpl();
  const AcDbObjectId id = objectId();
  // The drawing's own tables and records, and the current layer, stay.
  if (id == impl.blockTable || id == impl.layerTable || id == impl.linetypeTable || id == impl.layerZero ||
      id == impl.byLayer || id == impl.byBlock || id == impl.continuous || id == impl.modelSpace ||
      id == impl.paperSpace || id == impl.clayer)
    return Acad::eCannotBeErasedByCaller;
  erased_ = erasing;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (!database_) return Acad::eOk;
  if (writer_) return Acad::eWasOpenForWrite;
  if (readers_ == 0) return Acad::eNotOpenForRead;
  if (readers_ > 1) return Acad::eWasOpenForRead;
  readers_ = 0;
  writer_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (!database_) return Acad::eOk;
  if (!writer_) return Acad::eNotOpenForWrite;
  writer_ = false;
  readers_ = 1;
  return Acad::eOk;
}

AcDbExtents::AcDbExtents() : min_(1e20, 1e20, 1e20), max_(-1e20, -1e20, -1e20) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : AcDbExtents() { set(min, max); }

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
  min_ = min;
  max_ = max;
  return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
  for (unsigned i = 0; i < 3; ++i) {
    if (p[i] < min_[i]) min_[i] = p[i];
    if (p[i] > max_[i]) max_[i] = p[i];
  }
}

void AcDbExtents::addExt(const AcDbExtents& other) {
  if (other.isEmpty()) return;
  addPoint(other.min_);
  addPoint(other.max_);
}

void AcDbExtents::expandBy(const AcGeVector3d& delta) {
  if (isEmpty()) return;
  addPoint(min_ + delta);
  addPoint(max_ + delta);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& matrix) {
  if (isEmpty()) return;
  const AcGePoint3d lo = min_, hi = max_;
  *this = AcDbExtents();
  for (int i = 0; i < 8; ++i)
    addPoint(matrix * AcGePoint3d(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z));
}

AcDbHandle::AcDbHandle(const ACHAR* hex) {
  if (!hex || !*hex) return;
  Adesk::UInt64 value = 0;
  int digits = 0;
  for (const ACHAR* c = hex; *c; ++c) {
    const wint_t ch = static_cast<wint_t>(std::towupper(static_cast<wint_t>(*c)));
    int d;
    if (ch >= L'0' && ch <= L'9') d = static_cast<int>(ch - L'0');
    else if (ch >= L'A' && ch <= L'F') d = static_cast<int>(ch - L'A') + 10;
    else return;
    if (value == 0 && d == 0) continue;  // leading zeros
    if (++digits > 16) return;
    value = value << 4 | static_cast<Adesk::UInt64>(d);
  }
  value_ = value;
}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, size_t length) const {
  if (!buffer || length == 0) return false;
  wchar_t text[17];
  std::swprintf(text, 17, L"%llX", static_cast<unsigned long long>(value_));
  if (std::wcslen(text) + 1 > length) return false;
  std::wcscpy(buffer, text);
  return true;
}

void acutDelString(ACHAR*& text) {
  std::free(text);
  text = nullptr;
}

int acutUpdString(const ACHAR* newText, ACHAR*& text) {
  std::free(text);
  text = newText ? acutNewString(newText) : nullptr;
  return 0;
}

// A database handle: the object's permanent number within its drawing, written in hex.
#pragma once

#include <cstddef>
#include <functional>

#include "adesk.h"

class AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(Adesk::UInt64 value) : value_(value) {}  // NOLINT: the platform converts freely
  // Reads hex digits (any case); text that is not all hex, or too long, gives the null handle.
  explicit AcDbHandle(const ACHAR* hex);

  bool isNull() const { return value_ == 0; }
  void setNull() { value_ = 0; }
  Adesk::UInt64 value() const { return value_; }
  operator Adesk::UInt64() const { return value_; }  // NOLINT
  // Upper-case hex without leading zeros; buffer must hold 17 characters.
  bool getIntoAsciiBuffer(ACHAR* buffer, size_t length = 17) const;

  AcDbHandle& operator++() { ++value_; return *this; }
  bool operator==(const AcDbHandle& other) const { return value_ == other.value_; }
  bool operator!=(const AcDbHandle& other) const { return value_ != other.value_; }
  bool operator<(const AcDbHandle& other) const { return value_ < other.value_; }

 private:
  Adesk::UInt64 value_ = 0;
};

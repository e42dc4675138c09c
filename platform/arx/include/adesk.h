// The host's basic types.
#pragma once

#include <cstdint>

struct Adesk {
  typedef int8_t Int8;
  typedef uint8_t UInt8;
  typedef int16_t Int16;
  typedef uint16_t UInt16;
  typedef int32_t Int32;
  typedef uint32_t UInt32;
  typedef int64_t Int64;
  typedef uint64_t UInt64;
  typedef intptr_t IntPtr;
  typedef uintptr_t UIntPtr;
  typedef intptr_t LongPtr;
  typedef uintptr_t ULongPtr;
  typedef intptr_t GsMarker;
  typedef bool Boolean;
  typedef bool Bool;
  static constexpr bool kFalse = false;
  static constexpr bool kTrue = true;
};

typedef wchar_t ACHAR;
#define ACRX_T(x) L##x

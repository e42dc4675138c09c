// System variables through one result buffer per call, made with the wrapper's type code and
// released on every path (with it, for RTSTR, the string it holds).
#include "toolkit/SysVars.h"

#include "aced.h"

namespace {

// Reads a variable into a buffer of the given type; the buffer when the host answered with
// that type, else null (the buffer already released).
resbuf* ReadVar(const CString& name, short type) {
  resbuf* buffer = acutNewRb(type);
  if (acedGetVar(name, buffer) != RTNORM || buffer->restype != type) {
    acutRelRb(buffer);
    return nullptr;
  }
  return buffer;
}

int WriteVar(const CString& name, resbuf* buffer) {
  const int status = acedSetVar(name, buffer);
  acutRelRb(buffer);
  return status == RTNORM ? 1 : 0;
}

}  // namespace

int GetSysVarReal(const CString& name, double& value) {
  resbuf* buffer = ReadVar(name, RTREAL);
  if (!buffer) return 0;
  value = buffer->resval.rreal;
  acutRelRb(buffer);
  return 1;
}

int GetSysVarInt(const CString& name, int& value) {
  resbuf* buffer = ReadVar(name, RTSHORT);
  if (!buffer) return 0;
  value = buffer->resval.rint;
  acutRelRb(buffer);
  return 1;
}

int GetSysVarString(const CString& name, CString& value) {
  resbuf* buffer = ReadVar(name, RTSTR);
  if (!buffer) return 0;
  value = buffer->resval.rstring;
  acutRelRb(buffer);
  return 1;
}

int SetSysVarReal(const CString& name, double value) {
  resbuf* buffer = acutNewRb(RTREAL);
  buffer->resval.rreal = value;
  return WriteVar(name, buffer);
}

int SetSysVarInt(const CString& name, int value) {
  resbuf* buffer = acutNewRb(RTSHORT);
  // The buffer holds a 16-bit value: the low bits go, as a two's-complement short.
  buffer->resval.rint = static_cast<short>(static_cast<uint16_t>(value & 0xFFFF));
  return WriteVar(name, buffer);
}

int SetSysVarString(const CString& name, const CString& value) {
  resbuf* buffer = acutNewRb(RTSTR);
  buffer->resval.rstring = acutNewString(value);  // released with the buffer
  return WriteVar(name, buffer);
}

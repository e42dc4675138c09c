// ON_UUID: a 128-bit identifier laid out as a Windows GUID. ON_nil_uuid is all zeros.
#pragma once

struct ON_UUID {
  unsigned int Data1;
  unsigned short Data2;
  unsigned short Data3;
  unsigned char Data4[8];
};

extern const ON_UUID ON_nil_uuid;

bool operator==(const ON_UUID& a, const ON_UUID& b);
bool operator!=(const ON_UUID& a, const ON_UUID& b);
bool ON_UuidIsNil(const ON_UUID& uuid);
bool ON_UuidIsNotNil(const ON_UUID& uuid);
// A new random (version 4) identifier, never nil.
ON_UUID ON_CreateUuid();
bool ON_CreateUuid(ON_UUID& uuid);

// ON_Xform arithmetic and ON_UUID identity and creation.
#include "opennurbs/xform.h"

#include <cmath>
#include <cstring>
#include <random>

#include "opennurbs/uuid.h"

ON_Xform::ON_Xform(double d) {
  Zero();
  for (int i = 0; i < 4; ++i) m_xform[i][i] = d;
}

ON_Xform::ON_Xform(const double m[4][4]) { std::memcpy(m_xform, m, sizeof(m_xform)); }

void ON_Xform::Identity() {
  Zero();
  for (int i = 0; i < 4; ++i) m_xform[i][i] = 1.0;
}

void ON_Xform::Zero() {
  for (auto& row : m_xform)
    for (double& entry : row) entry = 0.0;
}

void ON_Xform::Translation(const ON_3dVector& delta) {
  Identity();
  m_xform[0][3] = delta.x;
  m_xform[1][3] = delta.y;
  m_xform[2][3] = delta.z;
}

bool ON_Xform::IsIdentity(double zero_tolerance) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (std::fabs(m_xform[i][j] - (i == j ? 1.0 : 0.0)) > zero_tolerance) return false;
  return true;
}

bool ON_Xform::IsValid() const {
  for (const auto& row : m_xform)
    for (double entry : row)
      if (!std::isfinite(entry)) return false;
  return true;
}

ON_Xform ON_Xform::operator*(const ON_Xform& rhs) const {
  ON_Xform product(0.0);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k) product.m_xform[i][j] += m_xform[i][k] * rhs.m_xform[k][j];
  return product;
}

ON_3dPoint ON_Xform::operator*(const ON_3dPoint& p) const {
  double r[4];
  for (int i = 0; i < 4; ++i)
    r[i] = m_xform[i][0] * p.x + m_xform[i][1] * p.y + m_xform[i][2] * p.z + m_xform[i][3];
  if (r[3] != 0.0 && r[3] != 1.0) return {r[0] / r[3], r[1] / r[3], r[2] / r[3]};
  return {r[0], r[1], r[2]};
}

ON_3dVector ON_Xform::operator*(const ON_3dVector& v) const {
  return {m_xform[0][0] * v.x + m_xform[0][1] * v.y + m_xform[0][2] * v.z,
          m_xform[1][0] * v.x + m_xform[1][1] * v.y + m_xform[1][2] * v.z,
          m_xform[2][0] * v.x + m_xform[2][1] * v.y + m_xform[2][2] * v.z};
}

const ON_UUID ON_nil_uuid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

bool operator==(const ON_UUID& a, const ON_UUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof(a.Data4)) == 0;
}
bool operator!=(const ON_UUID& a, const ON_UUID& b) { return !(a == b); }
bool ON_UuidIsNil(const ON_UUID& uuid) { return uuid == ON_nil_uuid; }
bool ON_UuidIsNotNil(const ON_UUID& uuid) { return !ON_UuidIsNil(uuid); }

ON_UUID ON_CreateUuid() {
  static thread_local std::mt19937_64 engine{std::random_device{}()};
  const unsigned long long high = engine();
  const unsigned long long low = engine();
  ON_UUID uuid;
  uuid.Data1 = static_cast<unsigned int>(high >> 32);
  uuid.Data2 = static_cast<unsigned short>(high >> 16);
  // Version 4 in the high nibble of Data3, the RFC 4122 variant in the top bits of Data4[0].
  uuid.Data3 = static_cast<unsigned short>((high & 0x0FFFu) | 0x4000u);
  for (int i = 0; i < 8; ++i) uuid.Data4[i] = static_cast<unsigned char>(low >> (8 * i));
  uuid.Data4[0] = static_cast<unsigned char>((uuid.Data4[0] & 0x3Fu) | 0x80u);
  return uuid;
}

bool ON_CreateUuid(ON_UUID& uuid) {
  uuid = ON_CreateUuid();
  return true;
}

#include "opennurbs/bounding_box.h"

#include <algorithm>

bool ON_BoundingBox::IsValid() const {
  return m_min.IsValid() && m_max.IsValid() && m_min.x <= m_max.x && m_min.y <= m_max.y && m_min.z <= m_max.z;
}

void ON_BoundingBox::Set(const ON_3dPoint& point, int bGrowBox) {
  if (!bGrowBox || !IsValid()) {
    m_min = point;
    m_max = point;
    return;
  }
  m_min = {std::min(m_min.x, point.x), std::min(m_min.y, point.y), std::min(m_min.z, point.z)};
  m_max = {std::max(m_max.x, point.x), std::max(m_max.y, point.y), std::max(m_max.z, point.z)};
}

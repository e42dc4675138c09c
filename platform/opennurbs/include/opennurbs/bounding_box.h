// ON_BoundingBox: an axis-aligned box given by its corners m_min and m_max. A new box is
// empty (m_min above m_max) until a point is added.
#pragma once

#include "opennurbs/point.h"

class ON_BoundingBox {
 public:
  ON_BoundingBox() = default;
  ON_BoundingBox(const ON_3dPoint& minPoint, const ON_3dPoint& maxPoint) : m_min(minPoint), m_max(maxPoint) {}

  // True when the corners are finite and m_min is at or below m_max in every coordinate.
  bool IsValid() const;
  // Makes the box the point (bGrowBox false, or the box was empty) or grows it to hold it.
  void Set(const ON_3dPoint& point, int bGrowBox = false);

  const ON_3dPoint& Min() const { return m_min; }
  const ON_3dPoint& Max() const { return m_max; }
  ON_3dPoint Center() const { return {(m_min.x + m_max.x) / 2, (m_min.y + m_max.y) / 2, (m_min.z + m_max.z) / 2}; }
  ON_3dVector Diagonal() const { return m_max - m_min; }

  ON_3dPoint m_min{1.0, 0.0, 0.0};
  ON_3dPoint m_max{-1.0, 0.0, 0.0};
};

#include "opennurbs/interval.h"

#include <cmath>

bool ON_Interval::IsValid() const {
  return std::isfinite(m_t[0]) && std::isfinite(m_t[1]) && m_t[0] != ON_UNSET_VALUE &&
         m_t[1] != ON_UNSET_VALUE;
}

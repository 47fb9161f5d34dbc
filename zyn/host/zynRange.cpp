#include "zyn/host/zynRange.h"

#include <cmath>

int zynRange::clamp(double& v) const {
  if (invalid() || std::isnan(m_first) || std::isnan(m_second)) return 0;
  if (std::isnan(v)) {
    // A value that is not a number lies in no range; the minimum is the one
    // bound every closed range has.
    v = m_first;
    return 1;
  }
  if (v < m_first) {
    v = m_first;
    return 1;
  }
  if (v > m_second) {
    v = m_second;
    return 1;
  }
  return 0;
}

int zynRange::contains(double v) const {
  double copy = v;
  return clamp(copy) == 0;
}

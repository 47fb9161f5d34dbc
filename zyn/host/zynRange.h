// The allowed range of a numeric value and the pair of doubles it is built
// on. A numeric clamps what it reads into its range and reports values that
// had to be moved (check_range).
#pragma once

#include <cfloat>

#include "zyn/zynExport.h"

// A polymorphic pair of doubles.
class ZYN_EXPORT doubledoublezyncoPair {
 public:
  doubledoublezyncoPair() = default;
  doubledoublezyncoPair(double first, double second) : m_first(first), m_second(second) {}
  virtual ~doubledoublezyncoPair() = default;
  doubledoublezyncoPair(const doubledoublezyncoPair&) = default;
  doubledoublezyncoPair& operator=(const doubledoublezyncoPair&) = default;

  double first() const { return m_first; }
  double second() const { return m_second; }
  void set_first(double v) { m_first = v; }
  void set_second(double v) { m_second = v; }

 protected:
  double m_first = 0.0;
  double m_second = 0.0;
};

// A closed range [minimum, maximum], held as the pair (minimum, maximum),
// and two integer fields that the range code does not interpret and copies
// along. The default range is empty: its minimum is DBL_MAX. An empty range
// (minimum DBL_MAX, or minimum above maximum) bounds nothing.
class ZYN_EXPORT zynRange : public doubledoublezyncoPair {
 public:
  zynRange() : doubledoublezyncoPair(DBL_MAX, -DBL_MAX) {}
  zynRange(double min, double max) : doubledoublezyncoPair(min, max) {}

  // Moves "v" to the nearest bound when it lies outside the range, and a NaN
  // to the minimum. Returns non-zero when "v" was changed; an empty range
  // never changes it.
  int clamp(double& v) const;

  // Returns non-zero when "v" lies in the range (clamp would leave it); every
  // value lies in an empty range.
  int contains(double v) const;

  // Returns non-zero when the range is empty (bounds nothing).
  int invalid() const { return m_first == DBL_MAX || m_first > m_second; }

  double get_min() const { return m_first; }
  double get_max() const { return m_second; }
  void set(double min, double max) {
    m_first = min;
    m_second = max;
  }

  int get_flags1() const { return m_flags1; }
  int get_flags2() const { return m_flags2; }
  void set_flags(int flags1, int flags2) {
    m_flags1 = flags1;
    m_flags2 = flags2;
  }

 private:
  int m_flags1 = 0;
  int m_flags2 = 0;
};

// Physical dimensions of a numeric: the exponents of mass, length and time.
// Operators propagate them (products add exponents, sums need equal ones);
// mismatches give invalid dimensions, which print as "[!]". The text form
// lists the positive exponents, then "/" and the negative ones: speed is
// "[L/T]", force "[ML/TT]", per time "[1/T]"; dimensionless is "".
#pragma once

#include "zyn/host/utString.h"

// Standard sets of exponents; other values give invalid dimensions.
enum zynDimStandard : int {
  ZYN_DIM_INVALID = 0,
  ZYN_DIM_NONE = 1,          // dimensionless
  ZYN_DIM_MASS = 2,          // [M]
  ZYN_DIM_LENGTH = 3,        // [L]
  ZYN_DIM_TIME = 4,          // [T]
  ZYN_DIM_AREA = 5,          // [LL]
  ZYN_DIM_VOLUME = 6,        // [LLL]
  ZYN_DIM_SPEED = 7,         // [L/T]
  ZYN_DIM_ACCELERATION = 8,  // [L/TT]
  ZYN_DIM_PER_TIME = 9,      // [1/T]
  ZYN_DIM_FREQUENCY = 10,    // [1/T], a second code
  ZYN_DIM_DENSITY = 11,      // [M/LLL]
  ZYN_DIM_MOMENTUM = 12,     // [ML/T]
  ZYN_DIM_FORCE = 13,        // [ML/TT]
  ZYN_DIM_PRESSURE = 14,     // [M/LTT]
  ZYN_DIM_ENERGY = 15,       // [MLL/TT]
  ZYN_DIM_POWER = 16         // [MLL/TTT]
};

class ZYN_EXPORT zynDimensions {
 public:
  // Invalid dimensions.
  zynDimensions() = default;
  zynDimensions(int m, int l, int t) { set_dimensions(m, l, t); }
  explicit zynDimensions(zynDimStandard standard);
  // Parses the text form; any character other than M, L, T, "/", "1", blank
  // and brackets makes the result invalid. An empty text is dimensionless.
  explicit zynDimensions(const utString& text);

  int M() const { return m_mass; }
  int L() const { return m_length; }
  int T() const { return m_time; }
  int invalid() const { return m_invalid; }

  // Exponents added; invalid when either side is. Here and in "/" and pow,
  // an exponent beyond +-1000 makes the result invalid.
  zynDimensions operator*(const zynDimensions& o) const;
  // Left exponents minus right; invalid when either side is.
  zynDimensions operator/(const zynDimensions& o) const;
  // The left side when both are valid and equal; invalid otherwise (also for "-").
  zynDimensions operator+(const zynDimensions& o) const;
  // Every exponent multiplied by "n".
  zynDimensions pow(int n) const;

  bool operator==(const zynDimensions& o) const {
    return m_invalid == o.m_invalid && m_mass == o.m_mass && m_length == o.m_length && m_time == o.m_time;
  }
  bool operator!=(const zynDimensions& o) const { return !(*this == o); }

  // Returns the text form: "[!]" when invalid, "" when dimensionless.
  utString get_string() const;

 protected:
  void set_dimensions(int m, int l, int t);
  void set_invalid();

 private:
  int m_invalid = 1;
  int m_mass = 0;
  int m_length = 0;
  int m_time = 0;
};

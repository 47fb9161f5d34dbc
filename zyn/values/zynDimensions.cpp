#include "zyn/values/zynDimensions.h"

namespace {

struct Exponents {
  int m, l, t;
};

constexpr Exponents standard_sets[] = {
    {0, 0, 0},  {0, 0, 0},   {1, 0, 0},  {0, 1, 0},  {0, 0, 1},  {0, 2, 0},   {0, 3, 0},   {0, 1, -1}, {0, 1, -2},
    {0, 0, -1}, {0, 0, -1},  {1, -3, 0}, {1, 1, -1}, {1, 1, -2}, {1, -1, -2}, {1, 2, -2},  {1, 2, -3}};

void append_letters(utString& out, char letter, int count) { out.append(static_cast<size_t>(count), letter); }

// Exponents beyond this describe no physical quantity; products and powers
// past it (such as a length raised to the power 1e9, which would also print
// as a billion letters) give invalid dimensions instead of overflowing.
constexpr long long max_exponent = 1000;

zynDimensions checked(long long m, long long l, long long t) {
  auto out_of_range = [](long long e) { return e > max_exponent || e < -max_exponent; };
  if (out_of_range(m) || out_of_range(l) || out_of_range(t)) return zynDimensions();
  return zynDimensions(static_cast<int>(m), static_cast<int>(l), static_cast<int>(t));
}

}  // namespace

zynDimensions::zynDimensions(zynDimStandard standard) {
  if (standard >= ZYN_DIM_NONE && standard <= ZYN_DIM_POWER) {
    const Exponents& e = standard_sets[standard];
    set_dimensions(e.m, e.l, e.t);
  }
}

zynDimensions::zynDimensions(const utString& text) {
  set_dimensions(0, 0, 0);
  int sign = 1;
  for (char c : text) {
    switch (c) {
      case ' ': case '1': case '[': case ']': break;
      case '/': sign = -1; break;
      case 'M': m_mass += sign; break;
      case 'L': m_length += sign; break;
      case 'T': m_time += sign; break;
      default: set_invalid(); return;
    }
  }
}

void zynDimensions::set_dimensions(int m, int l, int t) {
  m_invalid = 0;
  m_mass = m;
  m_length = l;
  m_time = t;
}

void zynDimensions::set_invalid() {
  m_invalid = 1;
  m_mass = m_length = m_time = 0;
}

zynDimensions zynDimensions::operator*(const zynDimensions& o) const {
  if (m_invalid || o.m_invalid) return zynDimensions();
  return checked(0LL + m_mass + o.m_mass, 0LL + m_length + o.m_length, 0LL + m_time + o.m_time);
}

zynDimensions zynDimensions::operator/(const zynDimensions& o) const {
  if (m_invalid || o.m_invalid) return zynDimensions();
  return checked(0LL + m_mass - o.m_mass, 0LL + m_length - o.m_length, 0LL + m_time - o.m_time);
}

zynDimensions zynDimensions::operator+(const zynDimensions& o) const {
  if (m_invalid || o.m_invalid || *this != o) return zynDimensions();
  return *this;
}

zynDimensions zynDimensions::pow(int n) const {
  if (m_invalid) return zynDimensions();
  return checked(1LL * m_mass * n, 1LL * m_length * n, 1LL * m_time * n);
}

utString zynDimensions::get_string() const {
  if (m_invalid) return "[!]";
  if (m_mass == 0 && m_length == 0 && m_time == 0) return utString();
  utString out = "[";
  size_t before = out.size();
  append_letters(out, 'M', m_mass > 0 ? m_mass : 0);
  append_letters(out, 'L', m_length > 0 ? m_length : 0);
  append_letters(out, 'T', m_time > 0 ? m_time : 0);
  if (out.size() == before) out += '1';
  if (m_mass < 0 || m_length < 0 || m_time < 0) {
    out += '/';
    append_letters(out, 'M', m_mass < 0 ? -m_mass : 0);
    append_letters(out, 'L', m_length < 0 ? -m_length : 0);
    append_letters(out, 'T', m_time < 0 ? -m_time : 0);
  }
  out += ']';
  return out;
}

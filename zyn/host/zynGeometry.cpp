#include "zyn/host/zynGeometry.h"

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double undefined_tangent_cosine = 1e-12;

double clamp_unit(double v) { return v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v); }

// Sine and cosine of an angle in degrees, exact at multiples of 90 degrees.
void sin_cos_degrees(double degrees, double& s, double& c) {
  const double r = std::fmod(degrees, 360.0);
  const double quarter = r / 90.0;
  if (quarter == std::floor(quarter)) {
    static constexpr double sines[] = {0.0, 1.0, 0.0, -1.0};
    const int q = (static_cast<int>(quarter) % 4 + 4) % 4;
    s = sines[q];
    c = sines[(q + 1) % 4];
    return;
  }
  s = std::sin(r * pi / 180.0);
  c = std::cos(r * pi / 180.0);
}

}  // namespace

// ---- giAngle

giAngle::giAngle(giAngleInverse kind, double value) {
  switch (kind) {
    case giAngleSine:
      m_value = std::asin(clamp_unit(value));
      break;
    case giAngleCosine:
      m_value = std::acos(clamp_unit(value));
      break;
    case giAngleTangent:
      m_value = std::atan(value);
      break;
    case giAngleTangent2:
      m_value = std::atan2(value, 1.0);
      break;
  }
}

giAngle::giAngle(giAngleInverse kind, double y, double x) : giAngle(kind, y) {
  if (kind == giAngleTangent2) m_value = std::atan2(y, x);
}

double giAngle::angle(giAngleType type) const {
  const bool want_degrees = type == giAngleDegrees;
  if (want_degrees == m_degrees) return m_value;
  return want_degrees ? m_value * 180.0 / pi : m_value * pi / 180.0;
}

double giAngle::sin() const {
  if (!m_degrees) return std::sin(m_value);
  double s = 0.0, c = 0.0;
  sin_cos_degrees(m_value, s, c);
  return s;
}

double giAngle::cos() const {
  if (!m_degrees) return std::cos(m_value);
  double s = 0.0, c = 0.0;
  sin_cos_degrees(m_value, s, c);
  return c;
}

double giAngle::tan(int& status) const {
  double s = 0.0, c = 0.0;
  if (m_degrees) {
    sin_cos_degrees(m_value, s, c);
  } else {
    s = std::sin(m_value);
    c = std::cos(m_value);
  }
  if (!(std::fabs(c) > undefined_tangent_cosine)) {
    status = 1;
    return 0.0;
  }
  status = 0;
  return s / c;
}

// ---- 2-D

double giVector2::length() const { return is_set() ? std::hypot(m_c[0], m_c[1]) : 0.0; }

giUnitVec2::giUnitVec2(const giVector2& v) {
  const double len = v.length();
  if (!v.is_set() || !(len > 0.0) || !std::isfinite(len)) return;
  m_c[0] = v.x() / len;
  m_c[1] = v.y() / len;
}

// ---- 3-D vectors and points

double giVector3::length() const {
  return is_set() ? std::hypot(m_c[0], m_c[1], m_c[2]) : 0.0;
}

double giVector3::dot(const giVector3& o) const {
  return m_c[0] * o.m_c[0] + m_c[1] * o.m_c[1] + m_c[2] * o.m_c[2];
}

giVector3 giVector3::cross(const giVector3& o) const {
  if (!is_set() || !o.is_set()) return giVector3();
  return giVector3(m_c[1] * o.m_c[2] - m_c[2] * o.m_c[1], m_c[2] * o.m_c[0] - m_c[0] * o.m_c[2],
                   m_c[0] * o.m_c[1] - m_c[1] * o.m_c[0]);
}

giVector3 giVector3::operator-() const {
  if (!is_set()) return giVector3();
  return giVector3(-m_c[0], -m_c[1], -m_c[2]);
}

giVector3 giVector3::operator+(const giVector3& o) const {
  if (!is_set() || !o.is_set()) return giVector3();
  return giVector3(m_c[0] + o.m_c[0], m_c[1] + o.m_c[1], m_c[2] + o.m_c[2]);
}

giVector3 giVector3::operator-(const giVector3& o) const { return *this + (-o); }

giVector3 giVector3::operator*(double k) const {
  if (!is_set()) return giVector3();
  return giVector3(m_c[0] * k, m_c[1] * k, m_c[2] * k);
}

giAngle giVector3::unsigned_angle(const giVector3& other) const {
  if (!(length() > 0.0) || !(other.length() > 0.0)) return giAngle();
  // atan2 of |a x b| and a . b keeps full precision near 0 and pi, where acos does not.
  return giAngle(giAngleTangent2, cross(other).length(), dot(other));
}

int giVector3::parallel(const giVector3& other, double tolerance) const {
  const double la = length(), lb = other.length();
  if (!(la > 0.0) || !(lb > 0.0)) return 0;
  return cross(other).length() <= tolerance * la * lb;
}

giUnitVec3::giUnitVec3(const giVector3& v) {
  const double len = v.length();
  if (!v.is_set() || !(len > 0.0) || !std::isfinite(len)) return;
  m_c[0] = v.x() / len;
  m_c[1] = v.y() / len;
  m_c[2] = v.z() / len;
}

giLength giPoint3::distance(const giPoint3& other) const {
  return giLength((*this - other).length());
}

giVector3 giPoint3::operator-(const giPoint3& o) const {
  if (!is_set() || !o.is_set()) return giVector3();
  return giVector3(m_c[0] - o.m_c[0], m_c[1] - o.m_c[1], m_c[2] - o.m_c[2]);
}

giPoint3 giPoint3::operator+(const giVector3& v) const {
  if (!is_set() || !v.is_set()) return giPoint3();
  return giPoint3(m_c[0] + v.x(), m_c[1] + v.y(), m_c[2] + v.z());
}

giAngle apparent_angle(const giVector3& v1, const giVector3& v2, const giVector3& reference) {
  const giUnitVec3 n(reference);
  if (!n.is_set() || !(v1.length() > 0.0) || !(v2.length() > 0.0)) return giAngle();
  const giVector3 p1 = v1 - n * v1.dot(n);
  const giVector3 p2 = v2 - n * v2.dot(n);
  return giAngle(giAngleTangent2, p1.cross(p2).dot(n), p1.dot(p2));
}

// ---- workplanes and transforms

giWorkplane3::giWorkplane3() : m_origin(0, 0, 0), m_x(1, 0, 0), m_y(0, 1, 0), m_z(0, 0, 1) {}

int giWorkplane3::become(const giPoint3& origin, const giVector3& x, const giVector3& y) {
  const giUnitVec3 ux(x);
  const giUnitVec3 uz(x.cross(y));
  if (!origin.is_set() || !ux.is_set() || !uz.is_set() || !y.is_set()) return 0;
  m_origin = origin;
  m_x = ux;
  m_z = uz;
  m_y = giUnitVec3(uz.cross(ux));
  return 1;
}

giXform3::giXform3() : m_m{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, m_t{0, 0, 0} {}

giXform3::giXform3(giXformType, const giPoint3& point, const giUnitVec3& normal) : giXform3() {
  if (!point.is_set() || !normal.is_set()) {
    m_valid = 0;
    return;
  }
  // x' = x - 2 ((x - p) . n) n = (I - 2 n n^T) x + 2 (p . n) n
  const double n[3] = {normal.x(), normal.y(), normal.z()};
  const double d = point.x() * n[0] + point.y() * n[1] + point.z() * n[2];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m_m[i][j] = (i == j ? 1.0 : 0.0) - 2.0 * n[i] * n[j];
    m_t[i] = 2.0 * d * n[i];
  }
}

giPoint3 giXform3::apply(const giPoint3& p) const {
  if (!p.is_set()) return p;
  double r[3];
  for (int i = 0; i < 3; ++i) r[i] = m_m[i][0] * p.x() + m_m[i][1] * p.y() + m_m[i][2] * p.z() + m_t[i];
  return giPoint3(r[0], r[1], r[2]);
}

giVector3 giXform3::apply(const giVector3& v) const {
  if (!v.is_set()) return v;
  double r[3];
  for (int i = 0; i < 3; ++i) r[i] = m_m[i][0] * v.x() + m_m[i][1] * v.y() + m_m[i][2] * v.z();
  return giVector3(r[0], r[1], r[2]);
}

giUnitVec3 giXform3::apply(const giUnitVec3& v) const {
  return giUnitVec3(apply(static_cast<const giVector3&>(v)));
}

bool zynWorkplaneUtils::transform(const giXform3& xform, const giWorkplane3& in, giWorkplane3& out) {
  if (!xform.is_valid()) return false;
  giWorkplane3 result;
  if (!result.become(xform.apply(in.origin()), xform.apply(in.x_axis()), xform.apply(in.y_axis()))) return false;
  out = result;
  return true;
}

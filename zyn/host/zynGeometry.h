// Geometry value types: points, vectors and unit vectors in two and three
// dimensions, angles, lengths, workplanes and mirror transforms. They are
// small values copied freely. Parameters convert to and from them for the
// vector built-ins and for mirroring trees.
//
// A default-constructed point or vector is "unset": its first coordinate is
// zyn_gi_unset, which callers test to tell a failed conversion. Operations
// on unset values give unset results and never fail otherwise.
#pragma once

#include "zyn/zynExport.h"

// First coordinate of an unset point or vector: the most negative double.
constexpr double zyn_gi_unset = -1.7976931348623157e308;

// Unit of an angle value. 1 is degrees; any other value means radians.
enum giAngleType : int {
  giAngleRadians = 0,
  giAngleDegrees = 1
};

// Selects the giAngle constructors that invert a trigonometric function.
enum giAngleInverse {
  giAngleSine,     // giAngle(giAngleSine, s): the angle in [-pi/2, pi/2] whose sine is s
  giAngleCosine,   // giAngle(giAngleCosine, c): the angle in [0, pi] whose cosine is c
  giAngleTangent,  // giAngle(giAngleTangent, t): the angle in (-pi/2, pi/2) whose tangent is t
  giAngleTangent2  // giAngle(giAngleTangent2, y, x): the angle of (x, y), in (-pi, pi]
};

// An angle. Values given in degrees keep exact right angles: the sine of 180
// degrees is 0 and its tangent is defined, the tangent of 90 degrees is not.
class ZYN_EXPORT giAngle {
 public:
  giAngle() = default;
  giAngle(giAngleType type, double value) : m_value(value), m_degrees(type == giAngleDegrees) {}
  giAngle(double value, giAngleType type) : giAngle(type, value) {}
  // Inverse sine and cosine take arguments beyond [-1, 1] as -1 or 1, so a
  // ratio just past 1 by rounding still gives a right angle. For
  // giAngleTangent2 this is atan2(value, 1).
  giAngle(giAngleInverse kind, double value);
  // giAngleTangent2: atan2(y, x). Other kinds ignore "x".
  giAngle(giAngleInverse kind, double y, double x);

  // Returns the angle in degrees (giAngleDegrees) or radians (any other value).
  double angle(giAngleType type) const;

  double sin() const;
  double cos() const;
  // Returns the tangent and sets "status" to 0, or returns 0.0 and sets
  // "status" to 1 when the tangent is undefined (cosine 0 or within 1e-12).
  double tan(int& status) const;

 private:
  double m_value = 0.0;
  bool m_degrees = false;
};

// A length, as returned by distances.
class ZYN_EXPORT giLength {
 public:
  giLength() = default;
  explicit giLength(double value) : m_value(value) {}
  double value() const { return m_value; }

 private:
  double m_value = 0.0;
};

class ZYN_EXPORT giVector2 {
 public:
  giVector2() = default;
  giVector2(double x, double y) : m_c{x, y} {}
  double x() const { return m_c[0]; }
  double y() const { return m_c[1]; }
  // Returns coordinate "i" (0 or 1); 0.0 for any other index.
  double operator[](int i) const { return i >= 0 && i < 2 ? m_c[i] : 0.0; }
  int is_set() const { return m_c[0] != zyn_gi_unset; }
  double length() const;
  double dot(const giVector2& o) const { return m_c[0] * o.m_c[0] + m_c[1] * o.m_c[1]; }

 protected:
  double m_c[2] = {zyn_gi_unset, 0.0};
};

// A vector of length 1, or unset when made from an unset or zero vector.
class ZYN_EXPORT giUnitVec2 : public giVector2 {
 public:
  giUnitVec2() = default;
  giUnitVec2(double x, double y) : giUnitVec2(giVector2(x, y)) {}
  explicit giUnitVec2(const giVector2& v);
};

class ZYN_EXPORT giPoint2 {
 public:
  giPoint2() = default;
  giPoint2(double x, double y) : m_c{x, y} {}
  double x() const { return m_c[0]; }
  double y() const { return m_c[1]; }
  double operator[](int i) const { return i >= 0 && i < 2 ? m_c[i] : 0.0; }
  int is_set() const { return m_c[0] != zyn_gi_unset; }

 private:
  double m_c[2] = {zyn_gi_unset, 0.0};
};

class ZYN_EXPORT giVector3 {
 public:
  giVector3() = default;
  giVector3(double x, double y, double z) : m_c{x, y, z} {}
  double x() const { return m_c[0]; }
  double y() const { return m_c[1]; }
  double z() const { return m_c[2]; }
  // Returns coordinate "i" (0 to 2); 0.0 for any other index.
  double operator[](int i) const { return i >= 0 && i < 3 ? m_c[i] : 0.0; }
  int is_set() const { return m_c[0] != zyn_gi_unset; }
  // Returns the Euclidean length; 0.0 for an unset vector.
  double length() const;

  double dot(const giVector3& o) const;
  giVector3 cross(const giVector3& o) const;
  giVector3 operator-() const;
  giVector3 operator+(const giVector3& o) const;
  giVector3 operator-(const giVector3& o) const;
  giVector3 operator*(double k) const;

  // Returns the angle between this vector and "other", from 0 to pi; 0 when
  // either is unset or of length 0.
  giAngle unsigned_angle(const giVector3& other) const;

  // Returns non-zero when this vector and "other" are parallel or
  // anti-parallel: the sine of the angle between them is at most "tolerance".
  // An unset or zero vector is parallel to nothing.
  int parallel(const giVector3& other, double tolerance) const;

 protected:
  double m_c[3] = {zyn_gi_unset, 0.0, 0.0};
};

// A vector of length 1, or unset when made from an unset or zero vector.
class ZYN_EXPORT giUnitVec3 : public giVector3 {
 public:
  giUnitVec3() = default;
  giUnitVec3(double x, double y, double z) : giUnitVec3(giVector3(x, y, z)) {}
  explicit giUnitVec3(const giVector3& v);
};

class ZYN_EXPORT giPoint3 {
 public:
  giPoint3() = default;
  giPoint3(double x, double y, double z) : m_c{x, y, z} {}
  double x() const { return m_c[0]; }
  double y() const { return m_c[1]; }
  double z() const { return m_c[2]; }
  double operator[](int i) const { return i >= 0 && i < 3 ? m_c[i] : 0.0; }
  int is_set() const { return m_c[0] != zyn_gi_unset; }

  // Returns the Euclidean distance to "other"; 0 when either is unset.
  giLength distance(const giPoint3& other) const;

  // Return the vector from "o" to this point, and this point moved by "v";
  // unset when an operand is unset.
  giVector3 operator-(const giPoint3& o) const;
  giPoint3 operator+(const giVector3& v) const;

 private:
  double m_c[3] = {zyn_gi_unset, 0.0, 0.0};
};

// Returns the signed angle from "v1" to "v2" seen along "reference": both
// are projected onto the plane normal to the reference and the angle, in
// (-pi, pi], is positive when the turn from v1 to v2 is anticlockwise about
// the reference (right-hand rule). 0 when a vector is unset or of length 0.
ZYN_EXPORT giAngle apparent_angle(const giVector3& v1, const giVector3& v2, const giVector3& reference);

// A right-handed orthonormal frame: an origin and three axes. The default
// is the world frame at (0, 0, 0).
class ZYN_EXPORT giWorkplane3 {
 public:
  giWorkplane3();

  // Makes the frame at "origin" whose first axis is along "x" and whose
  // second lies in the plane of "x" and "y" on y's side; the third is their
  // cross product. Returns non-zero on success; an unset input, a zero axis or
  // parallel axes leave the workplane unchanged and give 0.
  int become(const giPoint3& origin, const giVector3& x, const giVector3& y);

  const giPoint3& origin() const { return m_origin; }
  const giUnitVec3& x_axis() const { return m_x; }
  const giUnitVec3& y_axis() const { return m_y; }
  const giUnitVec3& z_axis() const { return m_z; }

 private:
  giPoint3 m_origin;
  giUnitVec3 m_x, m_y, m_z;
};

// Selects the mirror constructor of giXform3.
enum giXformType { giXformMirror };

// An affine transform of 3-D space. The default is the identity.
class ZYN_EXPORT giXform3 {
 public:
  giXform3();
  // The reflection in the plane through "point" with normal "normal". An
  // unset point or normal gives an invalid transform that leaves values as
  // they are.
  giXform3(giXformType type, const giPoint3& point, const giUnitVec3& normal);

  int is_valid() const { return m_valid; }

  // Return the transformed point, vector or unit vector (vectors ignore the
  // translation). Unset inputs stay unset.
  giPoint3 apply(const giPoint3& p) const;
  giVector3 apply(const giVector3& v) const;
  giUnitVec3 apply(const giUnitVec3& v) const;

 private:
  double m_m[3][3];
  double m_t[3];
  int m_valid = 1;
};

class ZYN_EXPORT zynWorkplaneUtils {
 public:
  // Stores in "out" the workplane "in" moved by "xform": its origin and first
  // two axes are transformed and the third axis is their cross product, so a
  // mirrored workplane stays right-handed. Returns false, leaving "out"
  // alone, when the transform is invalid.
  static bool transform(const giXform3& xform, const giWorkplane3& in, giWorkplane3& out);
};

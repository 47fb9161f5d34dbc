// Built-ins of the vector and geometry group: unit, angle, apparent_angle,
// normal, parallel, set_vector, azimuth, elevation, set_point, distance.
// Vectors and points are vector parameters of three numbers (written
// {x; y; z} in expressions); they go through the conversions of
// zynParameterUtils to the geometry types and back. Results are new,
// dimensionless parameters; angles follow the library angle unit except
// azimuth and elevation, which answer in degrees.
#include "zyn/library/zynLibrary_internal.h"

#include "zyn/collections/zynParameterVector.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/library/zynLibArgs_internal.h"

using namespace zyn_lib_args;

namespace {

constexpr double parallel_tolerance = 1e-05;

// Returns 1 when argument "i" is a vector of three numbers.
int is_vector_arg(const zynParameterPtr& args, int i) { return zynParameterUtils::is_vector(*arg(args, i)); }

// Returns 1 when "args" holds exactly "n" arguments, each a 3-vector.
int vector_args(const zynParameterPtr& args, int n) {
  if (args->size() != n) return 0;
  for (int i = 0; i < n; ++i) {
    if (!is_vector_arg(args, i)) return 0;
  }
  return 1;
}

// A vector with a direction: set, and not of length 0.
bool usable(const giVector3& v) { return v.is_set() && v.length() != 0.0; }

// Returns a new vector of three dimensionless reals, all 0.
zynParameterPtr new_vector() { return zynParameterPtr(new zynParameterVector(3, new_number(PS_REAL, 0.0))); }

double in_library_unit(const giAngle& a) {
  return a.angle(zynParameterLib::get_angle_unit() == giAngleDegrees ? giAngleDegrees : giAngleRadians);
}

// The test behind "parallel": parallel, or parallel to the reversed vector.
int vectors_parallel(const giVector3& a, const giVector3& b) {
  return a.parallel(b, parallel_tolerance) || a.parallel(-b, parallel_tolerance) ? 1 : 0;
}

// unit(v) -> v / |v|
zynParameterPtr unit_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 1)) return bad_arguments();
  const giUnitVec3 u = zynParameterUtils::to_giunitvec3(*arg(args, 0));
  if (!u.is_set()) return bad_arguments();
  zynParameterPtr result = new_vector();
  zynParameterUtils::from_giunitvec3(*result, u);
  return result;
}

// angle(a, b) -> the unsigned angle between a and b
zynParameterPtr angle_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return bad_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  if (!usable(a) || !usable(b)) return bad_arguments();
  return new_number(PS_REAL, in_library_unit(a.unsigned_angle(b)));
}

// apparent_angle(a, b, ref) -> the signed angle from a to b seen about ref
zynParameterPtr apparent_angle_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 3)) return bad_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  const giVector3 ref = zynParameterUtils::to_givector3(*arg(args, 2));
  if (!usable(a) || !usable(b) || !usable(ref)) return bad_arguments();
  // Seen along a reference that lies in the plane of a vector, the vector
  // has no direction.
  if (vectors_parallel(a, ref) || vectors_parallel(b, ref)) return bad_arguments();
  return new_number(PS_REAL, in_library_unit(apparent_angle(a, b, ref)));
}

// normal(a, b) -> a x b, not normalised
zynParameterPtr normal_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return bad_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  if (!usable(a) || !usable(b)) return bad_arguments();
  zynParameterPtr result = new_vector();
  zynParameterUtils::from_givector3(*result, a.cross(b));
  return result;
}

// parallel(a, b) -> 1 when a and b are parallel or antiparallel
zynParameterPtr parallel_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return bad_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  return new_bool(vectors_parallel(a, b));
}

// azimuth(v) -> atan2(y, x) in degrees. Any argument is read as a vector.
zynParameterPtr azimuth_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  const giVector3 v = zynParameterUtils::to_givector3(*arg(args, 0));
  if (!usable(v)) return bad_data();
  return new_number(PS_ANGLE, giAngle(giAngleTangent2, v.y(), v.x()).angle(giAngleDegrees));
}

// elevation(v) -> asin(z / |v|) in degrees
zynParameterPtr elevation_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  const giVector3 v = zynParameterUtils::to_givector3(*arg(args, 0));
  if (!usable(v)) return bad_data();
  const double ratio = v.z() / v.length();
  const double degrees = ratio >= 0.0 ? giAngle(giAngleSine, ratio).angle(giAngleDegrees)
                                      : -giAngle(giAngleSine, -ratio).angle(giAngleDegrees);
  return new_number(PS_ANGLE, degrees);
}

// distance(p, q) -> |p - q|
zynParameterPtr distance_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return bad_arguments();
  const giPoint3 p = zynParameterUtils::to_gipoint3(*arg(args, 0));
  const giPoint3 q = zynParameterUtils::to_gipoint3(*arg(args, 1));
  // An invalid point has no position: a distance of 0 would pass for a result.
  if (!p.is_set() || !q.is_set()) return bad_arguments();
  return new_number(PS_REAL, p.distance(q).value());
}

// set_vector(target, source) or set_vector(target, x, y, z) -> 1. The target
// is the argument parameter itself, so a named vector changes in its tree.
zynParameterPtr set_vector_routine(const zynParameterPtr& args) {
  giVector3 value;
  if (args->size() == 2) {
    if (!vector_args(args, 2)) return bad_arguments();
    value = zynParameterUtils::to_givector3(*arg(args, 1));
  } else if (args->size() == 4) {
    if (!is_vector_arg(args, 0)) return bad_arguments();
    for (int i = 1; i < 4; ++i) {
      if (zynParameter::get_type(*arg(args, i)) != PT_NUMERIC) return bad_arguments();
    }
    value = giVector3(arg(args, 1)->get_double(), arg(args, 2)->get_double(), arg(args, 3)->get_double());
  } else {
    return bad_arguments();
  }
  if (!value.is_set()) return bad_arguments();
  zynParameterUtils::from_givector3(*arg(args, 0), value);
  return new_bool(1);
}

zynParameterPtr set_point_routine(const zynParameterPtr& args) { return set_vector_routine(args); }

constexpr zynLibBuiltin builtins[] = {
    {"unit", &unit_routine, 0, "Get the unit vector of the vector."},
    {"angle", &angle_routine, 0, "Get unsigned angle between two vectors."},
    {"apparent_angle", &apparent_angle_routine, 0, "Given a reference vector, get signed angle between two vectors."},
    {"normal", &normal_routine, 0, "Get the normal of the plane containing the two vectors."},
    {"parallel", &parallel_routine, 0, "Returns true if vectors are (anti)parallel."},
    {"set_vector", &set_vector_routine, zyn_lib_impure, "Set the vector."},
    {"azimuth", &azimuth_routine, 0, "Get Azimuth from vector"},
    {"elevation", &elevation_routine, 0, "Get Elevation from vector"},
    {"set_point", &set_point_routine, zyn_lib_impure, "Set the point."},
    {"distance", &distance_routine, 0, "distance(pt1, pt2) : Returns the distance between two 3d points"},
};

}  // namespace

zynLibBuiltinTable zyn_lib_vector_builtins() { return zyn_lib_table(builtins); }

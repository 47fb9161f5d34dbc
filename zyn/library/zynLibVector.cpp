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
#include "zyn/library/zynParameterLib.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

constexpr double parallel_tolerance = 1e-05;

zynParameterPtr arg(const zynParameterPtr& args, int i) { return args[zynParameterKey(i, utString())]; }

zynParameterPtr invalid_arguments() { return zynParameterLib::error(PS_ERR_ARGUMENTS); }

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

zynParameterPtr numeric(zynParameterSubType subtype, double value) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(ZYN_DIM_NONE), value));
}

zynParameterPtr truth(int b) { return zynParameterPtr(zynParameterNumeric::create_bool(b)); }

// Returns a new vector of three dimensionless reals, all 0.
zynParameterPtr new_vector() { return zynParameterPtr(new zynParameterVector(3, numeric(PS_REAL, 0.0))); }

double in_library_unit(const giAngle& a) {
  return a.angle(zynParameterLib::get_angle_unit() == giAngleDegrees ? giAngleDegrees : giAngleRadians);
}

// The test behind "parallel": parallel, or parallel to the reversed vector.
int vectors_parallel(const giVector3& a, const giVector3& b) {
  return a.parallel(b, parallel_tolerance) || a.parallel(-b, parallel_tolerance) ? 1 : 0;
}

// unit(v) -> v / |v|
zynParameterPtr unit_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 1)) return invalid_arguments();
  const giUnitVec3 u = zynParameterUtils::to_giunitvec3(*arg(args, 0));
  if (!u.is_set()) return invalid_arguments();
  zynParameterPtr result = new_vector();
  zynParameterUtils::from_giunitvec3(*result, u);
  return result;
}

// angle(a, b) -> the unsigned angle between a and b
zynParameterPtr angle_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return invalid_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  if (!usable(a) || !usable(b)) return invalid_arguments();
  return numeric(PS_REAL, in_library_unit(a.unsigned_angle(b)));
}

// apparent_angle(a, b, ref) -> the signed angle from a to b seen about ref
zynParameterPtr apparent_angle_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 3)) return invalid_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  const giVector3 ref = zynParameterUtils::to_givector3(*arg(args, 2));
  if (!usable(a) || !usable(b) || !usable(ref)) return invalid_arguments();
  // Seen along a reference that lies in the plane of a vector, the vector
  // has no direction.
  if (vectors_parallel(a, ref) || vectors_parallel(b, ref)) return invalid_arguments();
  return numeric(PS_REAL, in_library_unit(apparent_angle(a, b, ref)));
}

// normal(a, b) -> a x b, not normalised
zynParameterPtr normal_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return invalid_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  if (!usable(a) || !usable(b)) return invalid_arguments();
  zynParameterPtr result = new_vector();
  zynParameterUtils::from_givector3(*result, a.cross(b));
  return result;
}

// parallel(a, b) -> 1 when a and b are parallel or antiparallel
zynParameterPtr parallel_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return invalid_arguments();
  const giVector3 a = zynParameterUtils::to_givector3(*arg(args, 0));
  const giVector3 b = zynParameterUtils::to_givector3(*arg(args, 1));
  return truth(vectors_parallel(a, b));
}

// azimuth(v) -> atan2(y, x) in degrees. Any argument is read as a vector.
zynParameterPtr azimuth_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return invalid_arguments();
  const giVector3 v = zynParameterUtils::to_givector3(*arg(args, 0));
  if (!usable(v)) return zynParameterLib::error(PS_ERR_DATA);
  return numeric(PS_ANGLE, giAngle(giAngleTangent2, v.y(), v.x()).angle(giAngleDegrees));
}

// elevation(v) -> asin(z / |v|) in degrees
zynParameterPtr elevation_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return invalid_arguments();
  const giVector3 v = zynParameterUtils::to_givector3(*arg(args, 0));
  if (!usable(v)) return zynParameterLib::error(PS_ERR_DATA);
  const double ratio = v.z() / v.length();
  const double degrees = ratio >= 0.0 ? giAngle(giAngleSine, ratio).angle(giAngleDegrees)
                                      : -giAngle(giAngleSine, -ratio).angle(giAngleDegrees);
  return numeric(PS_ANGLE, degrees);
}

// distance(p, q) -> |p - q|
zynParameterPtr distance_routine(const zynParameterPtr& args) {
  if (!vector_args(args, 2)) return invalid_arguments();
  const giPoint3 p = zynParameterUtils::to_gipoint3(*arg(args, 0));
  const giPoint3 q = zynParameterUtils::to_gipoint3(*arg(args, 1));
  // An invalid point has no position: a distance of 0 would pass for a result.
  if (!p.is_set() || !q.is_set()) return invalid_arguments();
  return numeric(PS_REAL, p.distance(q).value());
}

// set_vector(target, source) or set_vector(target, x, y, z) -> 1. The target
// is the argument parameter itself, so a named vector changes in its tree.
zynParameterPtr set_vector_routine(const zynParameterPtr& args) {
  giVector3 value;
  if (args->size() == 2) {
    if (!vector_args(args, 2)) return invalid_arguments();
    value = zynParameterUtils::to_givector3(*arg(args, 1));
  } else if (args->size() == 4) {
    if (!is_vector_arg(args, 0)) return invalid_arguments();
    for (int i = 1; i < 4; ++i) {
      if (zynParameter::get_type(*arg(args, i)) != PT_NUMERIC) return invalid_arguments();
    }
    value = giVector3(arg(args, 1)->get_double(), arg(args, 2)->get_double(), arg(args, 3)->get_double());
  } else {
    return invalid_arguments();
  }
  if (!value.is_set()) return invalid_arguments();
  zynParameterUtils::from_givector3(*arg(args, 0), value);
  return truth(1);
}

zynParameterPtr set_point_routine(const zynParameterPtr& args) { return set_vector_routine(args); }

const zynLibRoutineRow vector_rows[] = {
    {"unit", &unit_routine},
    {"angle", &angle_routine},
    {"apparent_angle", &apparent_angle_routine},
    {"normal", &normal_routine},
    {"parallel", &parallel_routine},
    {"set_vector", &set_vector_routine},
    {"azimuth", &azimuth_routine},
    {"elevation", &elevation_routine},
    {"set_point", &set_point_routine},
    {"distance", &distance_routine},
};

}  // namespace

zynLibRoutineTable zyn_lib_vector_routines() { return zyn_lib_table(vector_rows); }

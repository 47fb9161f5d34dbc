// Recognition of vector and workplane parameters, their conversion to and
// from the geometry types, and the helpers on single values.
#include "zyn/geometry/zynParameterUtils.h"

#include <memory>

#include "zyn/collections/zynParameterVector.h"
#include "zyn/core/zynParameter_internal.h"

namespace {

// Member names of a workplane map. A workplane's "YAxis" is the first axis of
// the geometry frame and its "ZAxis" the second; the frame's third axis is
// their cross product and is not stored.
const char* const origin_key = "Origin";
const char* const first_axis_key = "YAxis";
const char* const second_axis_key = "ZAxis";

double element(const zynParameter& p, int i) { return p[zynParameterKey(i, utString())]->get_double(); }

// A missing element comes back as an error value, whose setters do nothing:
// the conversions never grow a container.
void write_element(zynParameter& p, int i, double value) { p[zynParameterKey(i, utString())]->set_double(value); }

template <typename Point2>
Point2 read2(const zynParameter& p) {
  if (!p.is_valid()) return Point2();
  return Point2(element(p, 0), element(p, 1));
}

template <typename Point3>
Point3 read3(const zynParameter& p) {
  if (!p.is_valid()) return Point3();
  return Point3(element(p, 0), element(p, 1), element(p, 2));
}

template <typename Point2>
void write2(zynParameter& p, const Point2& v) {
  write_element(p, 0, v.x());
  write_element(p, 1, v.y());
}

template <typename Point3>
void write3(zynParameter& p, const Point3& v) {
  write_element(p, 0, v.x());
  write_element(p, 1, v.y());
  write_element(p, 2, v.z());
}

}  // namespace

// --- Recognition ---------------------------------------------------------------

int zynParameterUtils::is_vector_n(const zynParameter& p, int n) {
  if (zynParameter::get_subtype(p) != PS_VECTOR || p.size() != n) return 0;
  for (int i = 0; i < n; ++i) {
    if (zynParameter::get_type(*p[zynParameterKey(i, utString())]) != PT_NUMERIC) return 0;
  }
  return 1;
}

int zynParameterUtils::is_vector_n_of_type(const zynParameter& p, int n, zynParameterVectorAccessType t) {
  if (!is_vector_n(p, n)) return 0;
  const zynParameterVector* v = zynParameterVector::ut_dynamic_cast(p.get_ref());
  return v && v->access_type() == t ? 1 : 0;
}

int zynParameterUtils::is_workplane(const zynParameter& p) {
  if (zynParameter::get_subtype(p) != PS_MAP || p.size() != 3) return 0;
  for (const char* key : {origin_key, first_axis_key, second_axis_key}) {
    if (!is_vector(*p[zynParameterKey(key)])) return 0;
  }
  return 1;
}

// --- Parameters to geometry ------------------------------------------------------

giPoint2 zynParameterUtils::to_gipoint2(const zynParameter& p) { return read2<giPoint2>(p); }
giVector2 zynParameterUtils::to_givector2(const zynParameter& p) { return read2<giVector2>(p); }
giPoint3 zynParameterUtils::to_gipoint3(const zynParameter& p) { return read3<giPoint3>(p); }
giVector3 zynParameterUtils::to_givector3(const zynParameter& p) { return read3<giVector3>(p); }

// The unit-vector constructors leave the result unset for an unset or zero input.
giUnitVec2 zynParameterUtils::to_giunitvec2(const zynParameter& p) { return giUnitVec2(to_givector2(p)); }
giUnitVec3 zynParameterUtils::to_giunitvec3(const zynParameter& p) { return giUnitVec3(to_givector3(p)); }

// --- Geometry to parameters ------------------------------------------------------

void zynParameterUtils::from_gipoint2(zynParameter& p, const giPoint2& value) { write2(p, value); }
void zynParameterUtils::from_givector2(zynParameter& p, const giVector2& value) { write2(p, value); }
void zynParameterUtils::from_giunitvec2(zynParameter& p, const giUnitVec2& value) { write2(p, value); }
void zynParameterUtils::from_gipoint3(zynParameter& p, const giPoint3& value) { write3(p, value); }
void zynParameterUtils::from_givector3(zynParameter& p, const giVector3& value) { write3(p, value); }
void zynParameterUtils::from_giunitvec3(zynParameter& p, const giUnitVec3& value) { write3(p, value); }

// --- Workplanes ------------------------------------------------------------------

int zynParameterUtils::to_giworkplane3(const zynParameter& p, giWorkplane3& wp) {
  return wp.become(to_gipoint3(*p[zynParameterKey(origin_key)]), to_giunitvec3(*p[zynParameterKey(first_axis_key)]),
                   to_giunitvec3(*p[zynParameterKey(second_axis_key)]));
}

void zynParameterUtils::from_giworkplane3(zynParameter& p, const giWorkplane3& wp) {
  from_gipoint3(*p[zynParameterKey(origin_key)], wp.origin());
  from_giunitvec3(*p[zynParameterKey(first_axis_key)], wp.x_axis());
  from_giunitvec3(*p[zynParameterKey(second_axis_key)], wp.y_axis());
}

// --- Values ----------------------------------------------------------------------

void zynParameterUtils::clone_impl(zynParameter& p) {
  p.set_impl(std::make_shared<zynParameterImpl>(*p.get_impl()));
}

int zynParameterUtils::default_valid(const zynParameter& p) {
  if (zynParameter::get_type(p) != PT_NUMERIC) return p.check_range();
  // A numeric that does not evaluate yet may still be a sound default when it
  // is an expression over parameters that do not exist yet.
  const zynParameterPtr value = zynParameter::evaluate(p);
  if (zynParameter::get_type(*value) == PT_NUMERIC) return p.check_range();
  return p.is_expr();
}

apString zynParameterUtils::apString_from_par(zynParameterPtr p) {
  int status = 0;
  return zyn_transcode(p->get_string(), status);
}

zynParameterPtr zynParameterUtils::to_par(apString s) {
  int status = 0;
  return zyn_create_string(zyn_transcode(s, status));
}

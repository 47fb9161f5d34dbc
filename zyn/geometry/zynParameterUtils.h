// zynParameterUtils sits between the parameter tree and the geometry types:
// it recognises parameters that hold vectors, points and workplanes, converts
// them to and from giPoint2/3, giVector2/3, giUnitVec2/3 and giWorkplane3,
// mirrors a whole tree, strips activity conditions, and answers the entity and
// restriction tests that the collections use. The vector built-ins and the
// host call it; it has no state. Sources: zynParameterGeometry.cpp
// (recognition, conversions, single values), zynParameterMirror.cpp (tree
// walks), zynParameterUtils.cpp (entity and restriction tests).
//
// Example:
//   if (zynParameterUtils::is_vector(*p)) {
//     giVector3 v = zynParameterUtils::to_givector3(*p);
//     zynParameterUtils::from_givector3(*p, v * 2.0);
//   }
#pragma once

#include <cstdint>

#include "zyn/core/zynParameter.h"
#include "zyn/host/zynAppString.h"
#include "zyn/host/zynGeometry.h"

// Which set of component names a vector uses (zynParameterVector.h).
enum zynParameterVectorAccessType : int32_t;

// Static functions only. A "vector" here is a parameter of subtype PS_VECTOR
// (a zynParameterVector or a temporary array) whose elements are all numeric;
// a "workplane" is a plain map of exactly the three 3-vectors "Origin",
// "YAxis" and "ZAxis". Elements are reached through the parameter's own
// operator[] with index keys, so references to vectors convert like vectors.
class ZYN_EXPORT zynParameterUtils {
 public:
  zynParameterUtils() = delete;

  // --- Recognition ------------------------------------------------------------
  // Returns 1 when "p" has subtype PS_VECTOR, exactly "n" elements, and every
  // element is numeric; else 0.
  static int is_vector_n(const zynParameter& p, int n);
  static int is_vector(const zynParameter& p) { return is_vector_n(p, 3); }
  static int is_vector_2D(const zynParameter& p) { return is_vector_n(p, 2); }
  // Returns 1 when is_vector_n(p, n) holds and the vector's access type is "t".
  static int is_vector_n_of_type(const zynParameter& p, int n, zynParameterVectorAccessType t);
  // Returns 1 for a plain map (subtype PS_MAP) of size 3 whose members
  // "Origin", "YAxis" and "ZAxis" are each a 3-vector.
  static int is_workplane(const zynParameter& p);

  // --- Parameters to geometry -------------------------------------------------
  // Each returns the default value, whose first coordinate is zyn_gi_unset,
  // when "p" is not valid. Elements are read with get_double(): a missing or
  // non-numeric element reads as 0.
  static giPoint2 to_gipoint2(const zynParameter& p);
  static giVector2 to_givector2(const zynParameter& p);
  static giPoint3 to_gipoint3(const zynParameter& p);
  static giVector3 to_givector3(const zynParameter& p);
  // Return the components normalised; unset also when all components are 0.
  static giUnitVec2 to_giunitvec2(const zynParameter& p);
  static giUnitVec3 to_giunitvec3(const zynParameter& p);

  // --- Geometry to parameters -------------------------------------------------
  // Write the coordinates with set_double into elements 0, 1 (and 2) of "p",
  // which must already have them; missing elements are skipped, locked ones
  // keep their values.
  static void from_gipoint2(zynParameter& p, const giPoint2& value);
  static void from_givector2(zynParameter& p, const giVector2& value);
  static void from_giunitvec2(zynParameter& p, const giUnitVec2& value);
  static void from_gipoint3(zynParameter& p, const giPoint3& value);
  static void from_givector3(zynParameter& p, const giVector3& value);
  static void from_giunitvec3(zynParameter& p, const giUnitVec3& value);

  // --- Workplanes -------------------------------------------------------------
  // Makes "wp" the frame at p["Origin"] whose first axis is p["YAxis"] and
  // whose second lies towards p["ZAxis"]. Returns 1 on success; 0, leaving
  // "wp" unchanged, when the members are unset, zero or parallel.
  static int to_giworkplane3(const zynParameter& p, giWorkplane3& wp);
  // Writes the origin of "wp" into p["Origin"], its first axis into
  // p["YAxis"] and its second into p["ZAxis"]: the inverse of to_giworkplane3.
  static void from_giworkplane3(zynParameter& p, const giWorkplane3& wp);

  // --- Tree operations --------------------------------------------------------
  // Mirrors, in place, every active parameter below "root" (not "root"
  // itself; references are not followed). Workplanes are reflected in the
  // plane through "point" with normal "normal"; every other parameter changes
  // by the fixed rule of its mirror mode (zynParameterMirrorMode), and X/Y/Z
  // vectors of mode 0 have their first component negated. Members of a
  // reflected workplane are left alone, and a degenerate workplane (one
  // to_giworkplane3 refuses) is not changed.
  static void mirror_parameters(zynParameterPtr root, const giPoint3& point, const giVector3& normal);
  // Empties the activity condition of "p" and of every parameter below it
  // (functions and inactive parameters included; references are not
  // followed), and every state condition of enumerations among them. Each
  // stripped parameter first gets a record of its own, so parameters that
  // shared a record with one of them keep their conditions.
  static void remove_active_expressions(zynParameter& p);
  // Gives "p" a private copy of its shared descriptive record: later changes
  // of name, description or condition no longer reach its former sharers.
  static void clone_impl(zynParameter& p);
  // Returns whether the value of "p" may stand as its default: check_range()
  // for non-numerics and for numerics that evaluate; for a numeric that does
  // not evaluate, 1 when it holds an expression (which may evaluate later).
  static int default_valid(const zynParameter& p);

  // --- Application strings ----------------------------------------------------
  // Returns the text of "p" (get_string()) as an application string.
  static apString apString_from_par(zynParameterPtr p);
  // Returns a new string parameter holding the text of "s".
  static zynParameterPtr to_par(apString s);

  // --- Entity and restriction tests -------------------------------------------
  // Returns 1 when "p"'s reference id names an existing host entity: the id
  // is valid and entity('HEX') evaluated in "p"'s scope gives no error. The
  // host supplies "entity", as a function parameter in the tree or a
  // pseudo-member of a derived root; where none is reachable the answer is 0.
  static int is_entity(zynParameterPtr p);

  // Returns 1 when "p" is named exactly "tessaform", "local" or "project":
  // the reserved workplane maps, which may not be put into lists.
  static int is_restricted_parameter(zynParameterPtr p);

 private:
  // Clones the record of "p" and empties its condition and, for an
  // enumeration, the conditions of its states.
  static void strip_expression(zynParameter& p);
};

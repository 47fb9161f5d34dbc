// The tree walks of zynParameterUtils: mirroring a tree by the mirror modes
// of its parameters, and stripping activity conditions.
#include <memory>

#include "zyn/collections/zynParameterVector.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/host/utString.h"
#include "zyn/values/zynParameterEnum.h"

namespace {

// What one mirroring walk shares: the plane and the flag that lets only the
// first X/Y/Z vector, and the first "Normal" sibling, take the fixed value.
struct zynMirrorWalk {
  giPoint3 point;
  giVector3 normal;
  bool fixed_one = false;
};

void negate_element(zynParameter& p, int i) {
  const zynParameterPtr e = p[zynParameterKey(i, utString())];
  e->set_double(-e->get_double());
}

// Returns whether "p" is a workplane; reflects it when it is (a workplane
// whose members do not make a frame is left as it is).
bool mirror_workplane(zynParameter& p, const zynMirrorWalk& walk) {
  if (!zynParameterUtils::is_workplane(p)) return false;
  giWorkplane3 wp;
  giWorkplane3 mirrored;
  const giXform3 xform(giXformMirror, walk.point, giUnitVec3(walk.normal));
  if (zynParameterUtils::to_giworkplane3(p, wp) && zynWorkplaneUtils::transform(xform, wp, mirrored))
    zynParameterUtils::from_giworkplane3(p, mirrored);
  return true;
}

void mirror_direction(zynParameter& p, zynParameterMirrorMode mode, zynMirrorWalk& walk) {
  if (!zynParameterUtils::is_vector_n_of_type(p, 3, PVA_XYZ) && !zynParameterUtils::is_vector_n_of_type(p, 2, PVA_XYZ))
    return;
  if (mode == PMM_NONE) {
    negate_element(p, 0);
  } else if (!walk.fixed_one) {
    p.set_string("{-1;0;0}");
    walk.fixed_one = true;
  }
}

void swap_side(zynParameter& p) {
  const utString text = p.get_string();
  if (ut_case_compare(text, "left") == 0)
    p.set_string("right");
  else if (ut_case_compare(text, "right") == 0)
    p.set_string("left");
}

// "p" and its sibling "End" exchange values, each negated. Without a
// sibling "End" nothing changes: its missing value would read as 0.
void swap_end(zynParameter& p) {
  const zynParameter* parent = p.parent();
  if (!parent) return;
  const zynParameterPtr end = (*parent)[zynParameterKey("End")];
  if (end->is_error()) return;
  const double mine = p.get_double();
  const double theirs = end->get_double();
  p.set_double(-theirs);
  end->set_double(-mine);
}

void make_arbitrary(zynParameter& p, zynMirrorWalk& walk) {
  p.set_string("arbitary");
  if (walk.fixed_one) return;
  if (zynParameter* parent = p.parent()) (*parent)[zynParameterKey("Normal")]->set_string("{1;0;0}");
  walk.fixed_one = true;
}

void apply_mode(zynParameter& p, zynParameterMirrorMode mode, zynMirrorWalk& walk) {
  switch (mode) {
    case PMM_NEGATE:
      p.set_double(-p.get_double());
      break;
    case PMM_ADD_180: {
      const double v = p.get_double() + 180.0;
      p.set_double(v > 360.0 ? v - 360.0 : v);
      break;
    }
    case PMM_SUBTRACT_180:
      p.set_double(p.get_double() - 180.0);
      break;
    case PMM_SUPPLEMENT:
      p.set_double(180.0 - p.get_double());
      break;
    case PMM_SWAP_SIDE:
      swap_side(p);
      break;
    case PMM_SWAP_END:
      swap_end(p);
      break;
    case PMM_ARBITRARY:
      make_arbitrary(p, walk);
      break;
    default:  // none, keep, and unknown modes
      break;
  }
}

}  // namespace

void zynParameterUtils::mirror_parameters(zynParameterPtr root, const giPoint3& point, const giVector3& normal) {
  zynMirrorWalk walk{point, normal};
  zynParameterIter it(root);
  it.set_follow_refs(0);
  it.set_active_only(1);
  // The members of a reflected workplane already hold their new values.
  const zynParameter* workplane = nullptr;
  while (++it) {
    const zynParameterPtr current = it();
    zynParameter& p = *current;
    if (workplane && p.is_descendent(workplane)) continue;
    const zynParameterMirrorMode mode = p.get_mirror_mode();
    if (mirror_workplane(p, walk))
      workplane = &p;
    else
      mirror_direction(p, mode, walk);
    apply_mode(p, mode, walk);
  }
}

void zynParameterUtils::strip_expression(zynParameter& p) {
  clone_impl(p);
  p.set_active(utString());
  if (zynParameterEnum* e = zynParameterEnum::ut_dynamic_cast(&p)) e->strip_active_states();
}

void zynParameterUtils::remove_active_expressions(zynParameter& p) {
  strip_expression(p);
  zynParameterIter it(&p);
  it.exclude_functions(0);
  it.set_follow_refs(0);
  while (++it) strip_expression(*it());
}

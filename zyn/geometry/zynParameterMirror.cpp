// Operations over whole parameter trees: mirroring about a plane, stripping
// activity conditions, and giving a parameter a record of its own.
#include "zyn/geometry/zynParameterUtils.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "zyn/collections/zynParameterVector.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/values/zynParameterEnum.h"

namespace {

constexpr double half_turn = 180.0;
constexpr double full_turn = 360.0;

// The state of one mirroring walk.
struct MirrorWalk {
  giXform3 xform;
  // Set once an X/Y/Z vector or a "Normal" sibling has received the fixed
  // axis: the tree holds one such direction, and only the first is written.
  bool axis_written = false;
  // Workplanes reflected so far; their members move with them and are not
  // mirrored a second time by their own rules.
  std::vector<const zynParameter*> workplanes;
};

bool inside_workplane(const zynParameter& p, const MirrorWalk& walk) {
  return std::any_of(walk.workplanes.begin(), walk.workplanes.end(),
                     [&p](const zynParameter* wp) { return p.is_descendent(wp); });
}

void reflect_workplane(zynParameter& p, MirrorWalk& walk) {
  walk.workplanes.push_back(&p);
  giWorkplane3 wp;
  giWorkplane3 result;
  // A degenerate workplane converts to nothing; writing back the default
  // frame would replace the host's values, so it is left as it is.
  if (!zynParameterUtils::to_giworkplane3(p, wp)) return;
  if (zynWorkplaneUtils::transform(walk.xform, wp, result)) zynParameterUtils::from_giworkplane3(p, result);
}

bool is_direction(const zynParameter& p) {
  return zynParameterUtils::is_vector_n_of_type(p, 3, PVA_XYZ) || zynParameterUtils::is_vector_n_of_type(p, 2, PVA_XYZ);
}

void mirror_direction(zynParameter& p, int mode, MirrorWalk& walk) {
  if (mode == PMM_NONE) {
    zynParameterPtr x = p[zynParameterKey(0, utString())];
    x->set_double(-x->get_double());
  } else if (!walk.axis_written) {
    p.set_string("{-1;0;0}");
    walk.axis_written = true;
  }
}

void swap_side(zynParameter& p) {
  const utString text = p.get_string();
  if (ut_case_compare(text, "left") == 0) {
    p.set_string("right");
  } else if (ut_case_compare(text, "right") == 0) {
    p.set_string("left");
  }
}

// Exchanges the value of "p" and of its sibling "End", each negated. Without
// such a sibling nothing changes: negating a missing value would overwrite
// "p" with 0.
void swap_with_end(zynParameter& p) {
  const zynParameter* parent = p.parent();
  if (!parent) return;
  const zynParameterPtr end = (*parent)[zynParameterKey("End")];
  if (end->is_error()) return;
  const double v = p.get_double();
  const double e = end->get_double();
  p.set_double(-e);
  end->set_double(-v);
}

void set_arbitrary(zynParameter& p, MirrorWalk& walk) {
  p.set_string("arbitary");
  if (walk.axis_written) return;
  if (zynParameter* parent = p.parent()) (*parent)[zynParameterKey("Normal")]->set_string("{1;0;0}");
  walk.axis_written = true;
}

void apply_mode(zynParameter& p, int mode, MirrorWalk& walk) {
  switch (mode) {
    case PMM_NEGATE:
      p.set_double(-p.get_double());
      break;
    case PMM_ADD_180: {
      double v = p.get_double() + half_turn;
      if (v > full_turn) v -= full_turn;
      p.set_double(v);
      break;
    }
    case PMM_SUBTRACT_180:
      p.set_double(p.get_double() - half_turn);
      break;
    case PMM_SUPPLEMENT:
      p.set_double(half_turn - p.get_double());
      break;
    case PMM_SWAP_SIDE:
      swap_side(p);
      break;
    case PMM_SWAP_END:
      swap_with_end(p);
      break;
    case PMM_ARBITRARY:
      set_arbitrary(p, walk);
      break;
    default:  // PMM_NONE, PMM_KEEP and values no rule knows
      break;
  }
}

void mirror_one(zynParameter& p, MirrorWalk& walk) {
  if (inside_workplane(p, walk)) return;
  const int mode = p.get_mirror_mode();
  if (zynParameterUtils::is_workplane(p)) {
    reflect_workplane(p, walk);
  } else if (is_direction(p)) {
    mirror_direction(p, mode, walk);
  }
  apply_mode(p, mode, walk);
}

}  // namespace

void zynParameterUtils::mirror_parameters(zynParameterPtr root, const giPoint3& point, const giVector3& normal) {
  MirrorWalk walk;
  walk.xform = giXform3(giXformMirror, point, giUnitVec3(normal));
  zynParameterIter it(root);
  it.set_follow_refs(0);
  it.set_active_only(1);
  while (++it) mirror_one(*it(), walk);
}

void zynParameterUtils::remove_active_expressions(zynParameter& p) {
  strip_expression(p);
  zynParameterIter it(&p);
  it.exclude_functions(0);
  while (++it) strip_expression(*it());
}

void zynParameterUtils::strip_expression(zynParameter& p) {
  clone_impl(p);
  p.set_active(utString());
  if (zynParameterEnum* e = zynParameterEnum::ut_dynamic_cast(&p)) e->strip_active_states();
}

void zynParameterUtils::clone_impl(zynParameter& p) {
  p.set_impl(std::make_shared<zynParameterImpl>(*p.get_impl()));
}

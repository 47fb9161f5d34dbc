#include "zyn/geometry/zynParameterUtils.h"

#include "zyn/expr/zynEvaluator.h"

int zynParameterUtils::is_entity(zynParameterPtr p) {
  const zynRefToObjectId& id = p->get_ref_id();
  if (!id.is_valid()) return 0;
  // The id is copied into the text before evaluating: the evaluation may
  // resolve "p" again and replace what the reference returned.
  utString text = "entity('" + id.get_uid().get_uid()->hex_string() + "')";
  zynEvaluator evaluator(p.pointer());
  zynParameterPtr value = evaluator.evaluate(text);
  return value->is_error() ? 0 : 1;
}

int zynParameterUtils::is_restricted_parameter(zynParameterPtr p) {
  const utString& name = p->get_name();
  return name == "tessaform" || name == "local" || name == "project" ? 1 : 0;
}

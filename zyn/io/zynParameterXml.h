// XML-like export of parameter values, for reports and simple consumers:
// zynParameter::to_xml, xml_name and xml_value (declared in zynParameter.h)
// turn a parameter and everything below it into elements. Leaves become their
// displayed value, containers their active children one element per line,
// references are expanded at the top and summarised below it, entity data
// becomes its id and type, and unusable values are flagged:
//
//   <depth>2.5</depth>          a member "depth" holding a real
//   <real>@Range</real>         an unnamed real outside its range
//   <Tool>                      a root of type name "Tool"
//   <Name>T1</Name>
//   <Diameter>6.0</Diameter>
//   </Tool>
//
// Element names are the parameter's name, else the kind's type name ("map",
// "array", "string", "enum", "data", "real", "int", "bool", "angle");
// functions, general numerics without a name and unnamed errors give no
// element. Nothing is escaped and no declaration or attributes are written.
// While a zynParameterNoRefExpand guard (zynParameterNotify.h) lives,
// references are summarised instead of expanded.
#pragma once

#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameterNotify.h"

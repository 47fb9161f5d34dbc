// What saving and the XML export ask of every value, answered for the
// library's own kinds without virtual calls, evaluation or copies. A value
// of any other kind (a host's subclass may answer differently) takes the
// general way through the virtual calls.
#pragma once

#include "zyn/values/zynParameterScalar.h"

// Returns the text get_string() gives for "p" when "p" is exactly a
// zynParameterNumeric, zynParameterString or zynParameterEnum whose value
// needs no evaluation and is valid and in range: a formatted literal without
// a range, a text without interpolation, a state of the enumeration. Returns
// null for anything else, which then takes the general way through the
// virtual calls: a host's subclass may answer those differently, and once
// read callbacks exist every read must reach them.
const utString* zyn_plain_scalar_text(const zynParameter& p);

// Returns member.is_active() for a member of "active_container", a container
// found active with nothing written since (null when it is not known active).
// The library's own kinds take is_active() from the base, which then asks
// only the member's own condition: that is asked directly, without the
// per-thread lookup of the declared container.
int zyn_member_active(const zynParameter& member, const zynParameter* active_container);

// zynParameterScalar::ut_dynamic_cast(&p), with the library's own scalar
// kinds told apart at once.
const zynParameterScalar* zyn_scalar_cast(const zynParameter& p);

// zynParameterEnum is a scalar whose value is one of a list of named states,
// such as the kind of a machining strategy or of a tool shape. Like every
// scalar it stores its value as text: the name of the current state. States
// carry a display title, a description and an optional activity condition.
// Every lookup by name passes through a process-wide table of legacy names,
// so texts written by older versions still select the right state.
//
// Example:
//   zynParameterEnum shape("flat|ball|tipped", "");
//   shape.get_string();        // "flat"
//   shape.set_string("2");     // an index selects "tipped"
//   shape.set_string("ballnosed");  // a legacy name maps to "ball_nosed"
#pragma once

#include "zyn/host/zynContainers.h"
#include "zyn/values/zynParameterScalar.h"

// One state of an enumeration. Title, description and condition may be empty;
// an empty condition means the state is always selectable.
struct ZYN_EXPORT zynParameterEnumState {
  utString name;
  utString title;
  utString desc;
  utString active;
};
using zynParameterEnumStatecoDList = coDList<zynParameterEnumState>;

// An enumeration. States are owned by value; copies get their own copy of the
// list, so adding a state to one never changes another.
class ZYN_EXPORT zynParameterEnum : public zynParameterScalar {
 public:
  ZYN_DECLARE_TYPE(zynParameterEnum, zynParameterScalar)

  // No states, empty text.
  zynParameterEnum();
  // One state per "|"-separated piece of "states" (an empty piece between
  // two separators gives a state without name), then "value" as the text;
  // an empty "value" selects the first state.
  zynParameterEnum(const utString& states, const utString& value);
  zynParameterEnum(const zynParameterEnum& other);
  zynParameterEnum& operator=(const zynParameterEnum& other) = default;
  ~zynParameterEnum() override;

  zynParameter* create_new() const override { return new zynParameterEnum(*this); }

  // --- States -----------------------------------------------------------------
  // Appends a state; ignored while the parameter is locked.
  void add_state(const utString& name, const utString& title, const utString& desc, const utString& active);
  int num_states() const { return static_cast<int>(m_states.size()); }
  // Returns the index of the first state named "name" after mapping it
  // through lookup_state_synonym (exact, case-sensitive), or -1. Unnamed
  // states never match but keep their index.
  int find_index(const utString& name) const;
  // Returns the name of the state at "index", or "" when out of range.
  utString find_state(int index) const;
  // Return the title and the description of the first state named exactly
  // "name" (no synonym mapping), or "" when there is none.
  utString get_state_title(const utString& name) const;
  utString get_state_desc(const utString& name) const;
  // Returns 1 when the condition of the state at "index" is empty or
  // evaluates, in this parameter's scope, to a non-zero number; 0 when it
  // gives anything else and for an index out of range.
  int is_state_active(int index) const;

  // Returns the current state name for the legacy state name "name", or
  // "name" itself when it is not a legacy name.
  static const utString& lookup_state_synonym(const utString& name);

  // --- Value ------------------------------------------------------------------
  // Returns the index of the current state, 0 when the text names none.
  int get_int() const override;
  // Selects the state at "index" ("" when out of range); ignored while locked.
  void set_int(int index) override;
  // Stores a state name and fires the modify callback; ignored while locked.
  // A text that is the name of a state is stored as it is; else a text that
  // is wholly a non-negative integer selects the state at that index (an
  // empty text when out of range); else the text is stored after legacy-name
  // mapping, even when it names no state.
  void set_string(const utString& text) override;
  // Restores the default text (its second-unit-system form when set and in
  // use), or the first state when there is no default.
  void reset() override;
  // Returns 1 when the text, or the value of its expression, names a state.
  int is_valid() const override;
  // Returns the translated title of the current state, or of the text when
  // the state has no title.
  utString get_translated_string() const override;
  // Returns "(ENUM", " !" when invalid, ") ", the stored text, " =" and the
  // value when the two differ, and "\n".
  utString print(int depth) const override;

 protected:
  zynParameterSubType subtype() const override { return PS_ENUM; }
  zynParameterType type() const override { return PT_ENUM; }
  utString get_xml_typename() const override { return "enum"; }
  // A literal evaluates to a copy of itself; an expression to its
  // interpolated text (a string), an error, or an enumeration; any other
  // result gives "Type error".
  zynParameterPtr evaluate() const override;

 private:
  friend class zynParameterUtils;

  // Empties every state's condition, so that all states are selectable.
  void strip_active_states();
  // Returns the index of the first state named exactly "name", or -1.
  int find_exact(const utString& name) const;
  // Returns the state at "index", or null.
  const zynParameterEnumState* state_at(int index) const;

  zynParameterEnumStatecoDList m_states;
};

// zynParameterLib is the standard function library as a parameter. Its
// expression text is the name of the built-in it is bound to. The library
// object (empty name) answers name lookups, in any letter case,
// with handles bound to one built-in; calling a handle runs the routine
// registered under its name (zynLibraryRegistry.h), so a routine registered
// again later is the one that runs. The host creates the library object and
// makes it reachable from its trees; the first one constructed registers the
// built-ins that are not registered at load.
//
// Example:
//   zynParameterPtr lib(new zynParameterLib());
//   zynParameterPtr sine = lib[zynParameterKey("SIN")];  // handle bound to "sin"
//   sine->operate_binary("(", args);                      // runs the built-in
//
// The class also holds two process-wide settings the built-ins read: the
// evaluation scope (the context of text that a built-in evaluates on its own)
// and the angle unit of the trigonometric functions.
#pragma once

#include "zyn/host/zynGeometry.h"
#include "zyn/library/zynLibraryRegistry.h"
#include "zyn/library/zynParameterFunction.h"

class ZYN_EXPORT zynParameterLib : public zynParameterFunction {
 public:
  ZYN_DECLARE_TYPE(zynParameterLib, zynParameterFunction)

  // The library object. The first one made in the process registers the
  // names that wait for it.
  zynParameterLib();
  // A handle to the built-in "name": a copy of "other" bound to "name". The
  // handle has a descriptive record of its own, so describing it leaves
  // "other" as it was.
  zynParameterLib(const zynParameterLib& other, const utString& name);
  zynParameterLib(const zynParameterLib& other) = default;

  // Returns a new library object (unbound, whatever this one is bound to).
  zynParameter* create_new() const override;

  // Returns "(STANDARD FUNCTION) " and the bound name, or "(STANDARD FUNCTION
  // LIBRARY)", followed by "\n".
  utString print(int depth) const override;
  // Returns the number of registered built-ins for the library object, 0 for a handle.
  int size() const override;

  // Looks up the key's first component in lower case. "_keys" returns a new
  // list of string parameters holding every registered name in registry
  // order (any remainder ignored); a registered name without remainder
  // returns a new handle described with the entry's description. Anything
  // else is an "Invalid name" error.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;

  // With "(" runs the bound built-in with "arg" and returns its result
  // unchanged; "Invalid name" when the bound name is not registered (always
  // for the library object). Other operators are the base class's.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& arg) const override;

  // Registers "routine" and "description" under "name" (replacing an earlier
  // entry) and returns the number of registered names afterwards.
  static int add_entry(const utString& name, zynParameterLibRoutine routine, const utString& description);

  // Returns the shared error value of "code"; built-ins report failures through it.
  static zynParameterPtr error(int code);

  // The evaluation scope: the parameter that serves as context when a
  // built-in evaluates text of its own. Empty until the host sets it; the
  // stored pointer keeps the scope alive until it is replaced.
  static void set_eval_scope(zynParameterPtr scope);
  static zynParameterPtr get_eval_scope();

  // The angle unit of the trigonometric built-ins: giAngleDegrees (1) means
  // degrees, any other value radians. Starts at 0.
  static void set_angle_unit(giAngleType unit);
  static giAngleType get_angle_unit();

 protected:
  zynParameterSubType subtype() const override { return body().empty() ? PS_LIB : PS_LIBFUNCTION; }

  // Registers the names that wait for the first library object; runs once.
  static void init_table();

 private:
  zynParameterPtr lookup(const zynParameterKey& key) const;
  zynParameterPtr list_names() const;
};

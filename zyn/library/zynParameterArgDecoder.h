// zynParameterArgDecoder hands out the arguments of a call one by one, for
// native routines of a host (member functions) that read their argument
// array in order. It reads them as the built-ins do, by position.
//
// Example:
//   zynParameterArgDecoder decoder(args);
//   const zynParameterString* name = decoder.next_argument_as<zynParameterString>();
//   zynParameterPtr rest = decoder.remaining_arguments();
#pragma once

#include "zyn/core/zynParameter.h"

class ZYN_EXPORT zynParameterArgDecoder {
 public:
  // Decodes "args", an array; the first argument comes first.
  explicit zynParameterArgDecoder(const zynParameterPtr& args);

  // Returns true when every argument has been handed out.
  bool all_arguments_used() const;

  // Returns the next argument and moves past it, or an "Invalid arguments"
  // error (without moving) when none is left.
  zynParameterPtr next_argument();

  // Returns the next argument as a "T" (zynParameterString,
  // zynParameterEnum, ...), or null when it is of another class or there is
  // none. The argument is consumed either way; the pointer stays valid while
  // the argument array holds it.
  template <class T>
  const T* next_argument_as() {
    zynParameterPtr p = next_argument();
    return T::ut_dynamic_cast(static_cast<const zynParameter*>(p.pointer()));
  }

  // Returns a new array of the kind of the argument array holding the
  // arguments not yet handed out; nothing is consumed.
  zynParameterPtr remaining_arguments() const;

 private:
  zynParameterPtr m_args;
  int m_next = 0;
};

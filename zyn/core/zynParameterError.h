// Errors are values: an operation that cannot produce its result returns a
// zynParameterPtr to a zynParameterError, a parameter of type PT_ERROR whose
// subtype (0 to 9) says what went wrong. The values handed out by create are
// shared, one per subtype, and their setters do nothing. Containers never
// link or rename a shared value: they store a private copy (storable).
#pragma once

#include "zyn/core/zynParameter.h"

class ZYN_EXPORT zynParameterError : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterError, zynParameter)

  // Returns the shared error value of "subtype"; any value outside 0..9 gets
  // an eleventh shared value of subtype 0, distinct from create(0).
  static zynParameterPtr create(zynParameterSubType subtype);
  static zynParameterPtr create(int subtype) { return create(static_cast<zynParameterSubType>(subtype)); }

  // Returns 1 when "p" is one of the values handed out by create.
  static int is_shared(const zynParameter& p);
  // Returns "p", or a new private copy when "p" holds a shared value (a
  // null "p" stands for create(0)): what a container may link and rename.
  static zynParameterPtr storable(const zynParameterPtr& p);

  // A copy of a shared value gets a record of its own, so that naming the
  // copy never names the value every caller is handed.
  zynParameterError(const zynParameterError& other);
  zynParameter* create_new() const override { return new zynParameterError(*this); }

  int is_valid() const override { return 0; }
  int is_active() const override { return 1; }
  int is_error() const override { return 1; }
  // Returns the translated message, such as "Divide by zero".
  utString get_expr() const override;
  // Returns "#ERROR: " followed by the message.
  utString get_string() const override;
  utString print(int depth) const override;
  int get_int() const override { return 0; }
  double get_double() const override { return 0.0; }
  void set_int(int) override {}
  void set_double(double) override {}
  void set_string(const utString&) override {}
  const zynRefToObjectId& get_ref_id() const override;

  // Returns the untranslated message of "subtype" (the translation key).
  static const char* message_key(zynParameterSubType subtype);

 protected:
  zynParameterSubType subtype() const override { return m_subtype; }
  zynParameterType type() const override { return PT_ERROR; }
  // Returns a new copy of this error, never the shared value.
  zynParameterPtr evaluate() const override;

 private:
  explicit zynParameterError(zynParameterSubType subtype) : m_subtype(subtype) {}
  // The create(0) to create(9) values, then the one for other subtypes.
  static const zynParameterPtr* shared_values();
  zynParameterSubType m_subtype;
};

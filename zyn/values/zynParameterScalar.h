// zynParameterScalar is the base of every single-valued parameter: numbers,
// strings and enumerations. Its value is a text, either a literal or an
// expression over other parameters; reading the value evaluates the text in
// the scope of the parameter. The scalar also keeps the host's read and
// modify callbacks and restores its default text on reset.
#pragma once

#include "zyn/core/zynParameter.h"

// A parameter whose value is one text. Copies share the descriptive record
// (name, defaults) and copy the text.
class ZYN_EXPORT zynParameterScalar : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterScalar, zynParameter)

  // Stores "value" unchanged.
  explicit zynParameterScalar(const utString& value = utString());
  zynParameterScalar(const zynParameterScalar& other) = default;
  zynParameterScalar& operator=(const zynParameterScalar& other) = default;

  // Restores the default text (the alternative one in the second unit
  // system, when set). Without a default yet, the current text becomes it.
  void reset() override;
  // Returns 1 when evaluating gives a value of this parameter's own type.
  int is_valid() const override;
  // Scalars keep both callbacks; each setter returns the previous one.
  zynParameterOnModify set_onmodify_callback(zynParameterOnModify fn) override;
  zynParameterOnRead set_onread_callback(zynParameterOnRead fn) override;
  // Returns the text itself for a literal (firing the read callback), else
  // the text of the evaluated value, or "" when that is not a scalar.
  utString get_string() const override;
  // Stores "text" and fires the modify callback; ignored while locked.
  void set_string(const utString& text) override;
  // Stores both default texts in the neutral form; the second one only when
  // it differs from the first.
  void set_defaults(const utString& first, const utString& second) override;
  // Returns 1 when the text embeds an expression ("%[" or "${").
  int is_expr() const override;
  // Fires the read callback and returns the stored text.
  utString get_expr() const override;
  // As get_expr, without a copy of the text.
  const utString& expr_text() const {
    onread_callback();
    return get_value();
  }
  // The operators shared by all scalars: "==" and "!=" compare texts (or the
  // states of an enumeration), "+" concatenates texts into a new string; the
  // rest goes to the base. Returns "Invalid arguments" for an invalid operand.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& rhs) const override;

  // Returns the stored text, literal or expression, without evaluating it.
  virtual const utString& get_value() const { return m_value; }

 protected:
  // Stores "text"; records the parameter as changed when the text differs.
  virtual void set_value(const utString& text);
  // Returns 1 when the base test holds and the stored texts are equal.
  int is_equal(const zynParameter& other) const override;

  // Mutable so that a kind may fill in a text it formats lazily. Whoever
  // writes it other than through set_value sets m_interpolates to -1.
  mutable utString m_value;
  // Returns 1 when "text" holds "%[" or "${".
  static int interpolates(const utString& text);

  // Whether m_value interpolates, as is_expr last found it; -1 until asked
  // again after a change. Texts are asked far more often than they change.
  mutable int8_t m_interpolates = -1;
};

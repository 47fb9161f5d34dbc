// zynParameterNumeric is the number of the parameter store: a scalar whose
// text is a number or an expression, with a subtype (general, real,
// integer, boolean, angle), physical dimensions, a time unit and an allowed
// range. Reading evaluates the text: an integer reads as the floor of its
// value, a boolean as 1 or 0, and the result is clamped into the range.
// A literal text is parsed once and its value kept until the text (or the
// locale's decimal point) changes. An expression's value is kept from one
// read to the next while nothing that could change it was written (see
// zyn_eval_generation in zynEvaluator.h). Operators combine
// numerics into new ones, propagating subtypes and dimensions.
//
// Example:
//   zynParameterPtr depth(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), 2.0));
//   depth->set_string("5");      // stored as "5.0"
//   depth->get_double();         // 5.0
#pragma once

#include <cstdint>
#include <memory>

#include "zyn/host/zynNls.h"
#include "zyn/host/zynRange.h"
#include "zyn/values/zynDimensions.h"
#include "zyn/values/zynParameterScalar.h"
#include "zyn/values/zynUnits.h"

// The value an expression's last read gave, kept past the read (see
// zyn_eval_generation in zynEvaluator.h). Out of line: literals never need it.
struct zynNumericKept;

// Owns a numeric's kept value. A copy or an assignment starts without one:
// the value belongs to the text in its place in the tree.
class ZYN_EXPORT zynNumericKeptSlot {
 public:
  zynNumericKeptSlot();
  zynNumericKeptSlot(const zynNumericKeptSlot&);
  zynNumericKeptSlot& operator=(const zynNumericKeptSlot&);
  ~zynNumericKeptSlot();
  std::unique_ptr<zynNumericKept> kept;
};

class ZYN_EXPORT zynParameterNumeric : public zynParameterScalar {
 public:
  ZYN_DECLARE_TYPE(zynParameterNumeric, zynParameterScalar)

  // A numeric of "subtype" and "dims" holding "value" (as its normalised
  // text, which also becomes the default text). No units, no range; a new
  // numeric does not count as changed.
  zynParameterNumeric(zynParameterSubType subtype, const zynDimensions& dims, double value);
  zynParameterNumeric(const zynParameterNumeric& other) = default;
  zynParameterNumeric& operator=(const zynParameterNumeric& other) = default;
  zynParameter* create_new() const override { return new zynParameterNumeric(*this); }

  // Returns a new BOOL numeric holding 1.0 for any non-zero "b", else 0.0:
  // a copy of one of two process-wide prototypes. The caller owns it.
  static zynParameterNumeric* create_bool(int b);
  // Returns true for the numeric subtypes NUMERIC, REAL, INT, BOOL and ANGLE.
  static bool valid_subtype(zynParameterSubType s) { return s >= PS_NUMERIC && s <= PS_ANGLE; }
  // Returns the tolerance within which two values compare equal: the
  // geometry kernel's point-coincidence tolerance.
  static double comparison_tol();

  const zynDimensions& get_dim() const { return m_dims; }
  zynUnits get_units() const { return m_units; }
  void set_units(zynUnits units);
  // The stored text when get_string() gives it as it stands: a literal
  // formatted for the current decimal point, with no range to clamp it (so
  // valid and in range). Null otherwise. Fires no read callback.
  const utString* formatted_literal() const;
  // The range that get_double() clamps into; the default range is empty.
  const zynRange& get_range() const { return m_range.get(); }
  void set_range(const zynRange& range);

  // Restores the default text: the constructor's text unless set_defaults
  // gave another.
  void reset() override;
  void set_defaults(const utString& first, const utString& second) override;
  // "(REAL) 2*a = 3.0 [L]\n": subtype word, " !" when invalid, the stored
  // text, " = " and the value's text when they differ, the dimensions.
  utString print(int depth) const override;
  // Returns get_double() truncated toward zero (saturated to the int range).
  int get_int() const override;
  // Fires the read callback and returns the evaluated value after the
  // subtype rule and the range; 0.0 when the text cannot be evaluated.
  double get_double() const override;
  // Fires the read callback and returns the text of the evaluated value
  // ("5.5" for the stored "5.50" of a REAL); "" when it does not evaluate.
  utString get_string() const override;
  // Returns get_double() converted from this parameter's units into
  // "wanted"; sets "failed" (returning the value unconverted) when the
  // units cannot convert.
  double get_double_in_units(zynUnits wanted, bool& failed) const override;
  // The setters store the normalised text and fire the modify callback;
  // ignored while locked.
  void set_int(int i) override;
  void set_double(double v) override;
  void set_string(const utString& text) override;
  // Stores "v", given in "units", converted into this parameter's units;
  // leaves the value alone and sets "failed" when they cannot convert.
  void set_double_in_units(double v, zynUnits units, bool& failed) override;
  // Copies the value of "src". An INT or BOOL receiving a literal takes its
  // value through its own subtype rule (an INT gets the floor).
  void copy_value_from(const zynParameter& src) override;
  // Returns 0 when the value cannot be evaluated or lies outside the range.
  int check_range() const override;
  int is_valid() const override;
  // Returns 1 unless the text reads as a number with either decimal separator.
  int is_expr() const override;
  const utString& get_value() const override;

  // Arithmetic, comparison and logic with another numeric; broadcast over an
  // array on the right; the scalar operators otherwise. Errors: "Divide by
  // zero", "Domain error", "Type error" (logic on non-integral values).
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& rhs) const override;
  // "+", "-" and "!" keep subtype and dimensions; "Invalid arguments" when
  // this numeric does not evaluate.
  zynParameterPtr operate_prefix(const utString& op) const override;
  // The length suffixes "m", "cm", "mm", "um", "yd", "ft", "in", "th" on a
  // NUMERIC give a length in the current unit system; "!" is a "Syntax error".
  zynParameterPtr operate_postfix(const utString& op) const override;

  // Returns true for a NUMERIC or INT whose value is integral.
  int is_int_value() const;
  // Returns true for a NUMERIC or BOOL whose value is integral.
  int is_bool_value() const;

 protected:
  zynParameterSubType subtype() const override { return m_subtype; }
  zynParameterType type() const override { return PT_NUMERIC; }
  // "real", "int", "bool", "angle"; "" for a general numeric.
  utString get_xml_typename() const override;
  // Returns a new numeric (a BOOL prototype copy for a boolean) with this
  // subtype and dimensions holding the evaluated value, or the error of the
  // evaluation, or "Type error" when the text is empty or not a number.
  zynParameterPtr evaluate() const override;
  // Same subtype, same dimensions, and the same value (INT exactly, the rest
  // within comparison_tol()).
  int is_equal(const zynParameter& other) const override;
  void set_value(const utString& text) override;
  // Stores "text": a literal REAL or ANGLE is normalised to carry a decimal
  // point ("5" -> "5.0", " -.25 " -> "-0.25", "1,5" -> "1.5" with '.' as the
  // locale's point). Fires the modify callback.
  // "known", when given, is the value "text" reads as (it was formatted from it).
  void set_normalized_value(const utString& text, const double* known = nullptr);
  // Returns true when this is an expression whose value is within 1e-15 of "x".
  bool expression_equivalent(double x) const;

 private:
  // Cache states (bits of m_flags).
  enum : uint8_t {
    CLASSIFIED = 1,       // literal or expression is known for m_cache_point
    EXPRESSION = 2,       // the text is an expression
    VALUE_KNOWN = 4,      // m_number holds the literal's value
    TEXT_PENDING = 8,     // m_value is still to be formatted from m_number
    DEFAULT_PENDING = 16,  // the constructor's text is still to become the default
    TEXT_FORMATTED = 32,   // m_value is what get_string() gives, for m_cache_point
    TEXT_NORMALIZED = 64   // m_value is as set_string stores it, for m_cache_point
  };

  // Sorts the text into literal or expression, parsing a literal's value.
  void classify() const;
  // Returns true with the literal value of the text (before the subtype rule).
  bool literal_value(double& raw) const;
  // Evaluates an expression text; returns null with "raw" set, or the error.
  zynParameterPtr evaluate_raw(double& raw) const;
  // Returns null with the value after the subtype rule (no range), or the
  // error that evaluating the text gave.
  zynParameterPtr evaluated_value(double& v) const;
  // Applies the arithmetic operator "code" (of the operators' own table) to
  // "a" (this) and "b" (the value of "r").
  zynParameterPtr arithmetic(int code, double a, const zynParameterNumeric& r, double b) const;
  // Returns a new array of this numeric combined with each item of "array".
  zynParameterPtr broadcast(const utString& op, const zynParameterPtr& array) const;
  // Applies the subtype rule: floor for INT, 0/1 for BOOL.
  double apply_subtype(double raw) const;
  // Returns the text "raw" is stored as in this subtype.
  utString format_value(double raw) const;
  // Returns true with the value after the subtype rule, without the range.
  bool get_evaluated_double(double& out) const;
  // get_double() past the read callback, for all but the cached real literal.
  __attribute__((noinline)) double read_double() const;
  // Returns true with the kept value of an expression when it still holds.
  bool recall_kept(double& v) const;
  // Evaluates an expression for get_double and keeps the value when it may;
  // sets "valid" (when given) to whether the text evaluated.
  double read_expression(bool* valid = nullptr) const;
  // Reads an expression as get_double does, past the read callback, and
  // returns whether it evaluates; "v" is the value (0.0 when it does not).
  bool read_expression_valid(double& v) const;
  // Returns format_value("v"), kept with the expression's kept value so
  // that reading the same value again formats nothing.
  utString kept_text(double v) const;
  // Returns true with the value from the compiled text when it still holds.
  bool run_compiled(double& v) const;
  // Returns true with the raw value and subtype of a literal, as an operand.
  bool compiled_operand(double& raw, zynParameterSubType& subtype) const;
  friend class zynEvalCompiled;
  // The hot path of reading a literal: inline, since nothing else is needed.
  bool get_cached_evaluation(double& out) const {
    bool current = (m_flags & TEXT_PENDING) || m_cache_point == nlsUtils::m_decimal_point;
    if (!(m_flags & VALUE_KNOWN) || !current) {
      out = 0.0;
      return false;
    }
    out = m_subtype == PS_INT || m_subtype == PS_BOOL ? apply_subtype(m_number) : m_number;
    return true;
  }
  bool plain_read() const { return m_subtype != PS_INT && m_subtype != PS_BOOL && get_range().get_min() > get_range().get_max(); }
  // Writes the constructor's text into the record, if it has no default yet.
  void settle_default() const;

  zynParameterSubType m_subtype;
  zynDimensions m_dims;
  zynUnits m_units;
  // The range, held out of line: most numerics have none.
  class RangeBox {
   public:
    RangeBox() = default;
    RangeBox(const RangeBox& o) { *this = o; }
    RangeBox& operator=(const RangeBox& o) {
      if (this != &o) m_range = o.m_range ? std::make_unique<zynRange>(*o.m_range) : nullptr;
      return *this;
    }
    const zynRange& get() const;
    void set(const zynRange& range) { m_range = std::make_unique<zynRange>(range); }

   private:
    std::unique_ptr<zynRange> m_range;
  };

  RangeBox m_range;
  mutable uint8_t m_flags = 0;
  mutable char m_cache_point = 0;  // the decimal point the cache was built with
  // The decimal point with which get_double() may return m_number as it is:
  // a literal whose value neither the subtype rule nor a range changes. 0: none.
  mutable char m_fast_point = 0;
  mutable double m_number = 0.0;
  mutable zynNumericKeptSlot m_kept;
};

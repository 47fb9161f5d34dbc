// zynParameterString is the text scalar. Its value is its text, stored
// unchanged (no trimming, no decimal-point rewriting). A text holding "%["
// or "${" is an expression: reading it interpolates the embedded
// expressions in the string's scope (see zynEvaluator::interpolate_string).
// Strings are also what string literals, member names and text
// concatenation produce inside expressions.
//
// Example:
//   zynParameterPtr s(new zynParameterString("d=%[diameter]"));
//   s->get_string();   // "d=12.5" once it sits beside a member "diameter"
#pragma once

#include "zyn/values/zynParameterScalar.h"

class ZYN_EXPORT zynParameterString : public zynParameterScalar {
 public:
  ZYN_DECLARE_TYPE(zynParameterString, zynParameterScalar)

  // A string holding "text". The text becomes the default text that reset()
  // restores (unless set_defaults gives another); a new string does not
  // count as changed.
  explicit zynParameterString(const utString& text = utString());
  zynParameterString(const zynParameterString& other) = default;
  zynParameterString& operator=(const zynParameterString& other) = default;
  zynParameter* create_new() const override { return new zynParameterString(*this); }

  // Restores the default text; see the constructor.
  void reset() override;
  // "(STRING) text\n"; " !" after STRING when invalid; " = " and the
  // interpolated text before the line end when it differs from the text.
  utString print(int depth) const override;
  // The ordering operators ">", ">=", "<", "<=" against a string or a
  // numeric compare the two texts (zyncompare) and give a BOOL; every other
  // operator is the scalar's: "==" and "!=" compare texts byte for byte,
  // "+" concatenates. Strings never read as numbers: get_double() is 0.0.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& rhs) const override;
  // A text without interpolation is valid as it stands; one with it when it
  // evaluates to a string.
  int is_valid() const override;

 protected:
  zynParameterSubType subtype() const override { return PS_STRING; }
  zynParameterType type() const override { return PT_STRING; }
  utString get_xml_typename() const override { return "string"; }
  // Returns a copy of a literal string; interpolates an expression into a
  // new string. Returns "Type error" when interpolation yields anything
  // but a string or an error.
  zynParameterPtr evaluate() const override;
  void set_value(const utString& text) override;

 private:
  // Makes the constructor's text the default, unless one is set already.
  void settle_default() const;

  // The constructor's text is still to become the default: most strings
  // (member names, literals, results) are never changed or reset, so their
  // record is never made.
  mutable bool m_default_pending = true;
};

// A test kind that behaves as the scalars do towards notification: it accepts
// both host callbacks, refuses changes while locked, records changed values
// with the update tracker and notifies on every set, and reports reads.
#pragma once

#include "support/zynTestParameter.h"

class zynTestScalar : public zynTestParameter {
 public:
  ZYN_DECLARE_TYPE(zynTestScalar, zynTestParameter)

  explicit zynTestScalar(zynParameterType t = PT_NUMERIC, zynParameterSubType s = PS_REAL) : zynTestParameter(t, s) {}
  zynParameter* create_new() const override { return new zynTestScalar(*this); }

  zynParameterOnModify set_onmodify_callback(zynParameterOnModify fn) override {
    return exchange_onmodify_callback(fn);
  }
  zynParameterOnRead set_onread_callback(zynParameterOnRead fn) override {
    return exchange_onread_callback(fn);
  }

  void set_string(const utString& text) override {
    if (is_locked()) return;
    if (text != m_value_text) {
      m_value_text = text;
      zynParameterUpdateTrack::track_parameter(this);
    }
    onmodify_callback();
  }
  utString get_expr() const override {
    onread_callback();
    return m_value_text;
  }

 private:
  utString m_value_text;
};

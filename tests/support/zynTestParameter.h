// A minimal concrete parameter for testing the base class alone: it holds an
// expression text and can adopt children as a container would.
#pragma once

#include "zyn/zyn.h"

class zynTestParameter : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynTestParameter, zynParameter)

  explicit zynTestParameter(zynParameterType t = PT_NUMERIC, zynParameterSubType s = PS_REAL) : m_type(t), m_sub(s) {}
  zynParameter* create_new() const override { return new zynTestParameter(*this); }
  utString get_expr() const override { return m_text; }
  void set_string(const utString& text) override { m_text = text; }
  int get_int() const override { return m_value; }

  void adopt(const zynParameterPtr& child) { link_par(child); }
  void give_up(const zynParameterPtr& child) { unlink_par(child); }
  zynParameterPtr run_evaluate() const { return evaluate(); }
  zynParameterPtr run_resolve(const zynParameterKey& key) const { return resolve(key); }

  int m_value = 0;

 protected:
  zynParameterSubType subtype() const override { return m_sub; }
  zynParameterType type() const override { return m_type; }

 private:
  zynParameterType m_type;
  zynParameterSubType m_sub;
  utString m_text;
};

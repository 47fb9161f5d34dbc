// A small value kind for container tests: an integer that compares, prints,
// negates and copies like a number, with a switch for validity. It needs
// nothing beyond the base class.
#pragma once

#include "zyn/zyn.h"

class zynTestValue : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynTestValue, zynParameter)

  explicit zynTestValue(int value = 0) : m_value(value) {}
  zynParameter* create_new() const override { return new zynTestValue(*this); }
  int is_valid() const override { return m_valid; }
  utString print(int) const override { return "(TEST) " + std::to_string(m_value) + "\n"; }
  int get_int() const override { return m_value; }
  double get_double() const override { return m_value; }
  void set_int(int v) override { m_value = v; }
  void set_double(double v) override { m_value = static_cast<int>(v); }
  void copy_value_from(const zynParameter& other) override { m_value = other.get_int(); }
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& other) const override;
  zynParameterPtr operate_prefix(const utString& op) const override;

  int m_value;
  int m_valid = 1;

 protected:
  zynParameterSubType subtype() const override { return PS_INT; }
  zynParameterType type() const override { return PT_NUMERIC; }
  int is_equal(const zynParameter& other) const override;
};

// Returns a new test value holding "v".
inline zynParameterPtr zyn_test_value(int v) { return zynParameterPtr(new zynTestValue(v)); }

#include "zyn/values/zynParameterScalar.h"

#include <gtest/gtest.h>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

// A text scalar that evaluates to itself, as a plain string does.
class TextScalar : public zynParameterScalar {
 public:
  ZYN_DECLARE_TYPE(TextScalar, zynParameterScalar)
  explicit TextScalar(const utString& text) : zynParameterScalar(text) {}
  zynParameter* create_new() const override { return new TextScalar(*this); }
  void store(const utString& text) { set_value(text); }

 protected:
  zynParameterSubType subtype() const override { return PS_STRING; }
  zynParameterType type() const override { return PT_STRING; }
  zynParameterPtr evaluate() const override { return zynParameterPtr(create_new()); }
};

ZYN_DEFINE_TYPE(TextScalar, zynParameterScalar)

zynParameterPtr text(const utString& t) { return zynParameterPtr(new TextScalar(t)); }

TEST(ParameterScalar, ExpressionsAreMarkedByOpeners) {
  EXPECT_TRUE(text("price is %[p]")->is_expr());
  EXPECT_TRUE(text("${x}")->is_expr());
  EXPECT_FALSE(text("100%")->is_expr());
  EXPECT_FALSE(text("$x")->is_expr());
  EXPECT_FALSE(text("")->is_expr());
  EXPECT_EQ(text("abc")->get_string(), "abc");
  EXPECT_EQ(text("abc")->get_expr(), "abc");
}

TEST(ParameterScalar, SetStringStoresNotifiesAndTracks) {
  zynParameterPtr s = text("a");
  zynParameterUpdateTrack track;
  s->set_string("a");
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
  s->set_string("b");
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
  s->lock(1);
  s->set_string("c");
  EXPECT_EQ(s->get_expr(), "b");
}

TEST(ParameterScalar, ResetRestoresTheDefaultForTheUnitSystem) {
  zynParameterPtr s = text("first");
  // Without a default, the current text becomes it.
  s->reset();
  EXPECT_EQ(s->get_impl()->get(zynParameterImpl::DEFAULT_VALUE), "first");
  s->set_string("other");
  s->reset();
  EXPECT_EQ(s->get_expr(), "first");
  s->set_defaults("metric", "imperial");
  ASSERT_TRUE(zynUnitsUtils::set_units(zynUnitsImperial));
  s->reset();
  EXPECT_EQ(s->get_expr(), "imperial");
  zynUnitsUtils::set_units(zynUnitsMetric);
  s->reset();
  EXPECT_EQ(s->get_expr(), "metric");
  // Equal texts leave no second default.
  s->set_defaults("same", "same");
  EXPECT_TRUE(s->get_impl()->get(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS).empty());
  // A copy shares the record, and with it the defaults.
  zynParameterPtr copy = s.copy();
  copy->set_string("x");
  copy->reset();
  EXPECT_EQ(copy->get_expr(), "same");
}

TEST(ParameterScalar, EqualityComparesTexts) {
  EXPECT_TRUE(*text("a") == *text("a"));
  EXPECT_FALSE(*text("a") == *text("A"));
  zynParameterPtr eq = text("abc")->operate_binary("==", text("abc"));
  EXPECT_EQ(zynParameter::get_subtype(*eq), PS_BOOL);
  EXPECT_EQ(eq->get_int(), 1);
  EXPECT_EQ(text("abc")->operate_binary("!=", text("abd"))->get_int(), 1);
  EXPECT_EQ(text("abc")->operate_binary("==", text("abd"))->get_int(), 0);
}

TEST(ParameterScalar, NumbersAndTextsCompareByText) {
  zynParameterPtr five(new zynParameterNumeric(PS_NUMERIC, zynDimensions(ZYN_DIM_NONE), 5.0));
  zynParameterPtr real(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 5.0));
  EXPECT_EQ(five->operate_binary("==", text("5"))->get_int(), 1);
  EXPECT_EQ(real->operate_binary("==", text("5"))->get_int(), 0);
  EXPECT_EQ(real->operate_binary("!=", text("5"))->get_int(), 1);
  EXPECT_EQ(zynParameter::get_subtype(*five->operate_binary("*", text("5"))), PS_ERR_TYPE);
}

TEST(ParameterScalar, InvalidOperandsAreInvalidArguments) {
  zynParameterPtr broken(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0.0));
  broken->set_string("1 +");
  EXPECT_EQ(zynParameter::get_subtype(*text("a")->operate_binary("==", broken)), PS_ERR_ARGUMENTS);
  EXPECT_EQ(zynParameter::get_subtype(*text("a")->operate_binary("+", broken)), PS_ERR_ARGUMENTS);
  EXPECT_EQ(zynParameter::get_subtype(*text("a")->operate_binary("-", text("b"))), PS_ERR_TYPE);
}

}  // namespace

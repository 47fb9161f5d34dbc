#include "zyn/library/zynParameterLibRoot.h"

#include <gtest/gtest.h>

#include "zyn/zyn.h"

namespace {

TEST(ParameterFactory, EachFactoryMakesItsKind) {
  const struct { zynParameterPtr made; zynParameterSubType subtype; const char* printed; } cases[] = {
      {zyn_real(2.0, zynDimensions(0, 1, -1)), PS_REAL, "(REAL) 2.0 [L/T]\n"}, {zyn_integer(-3), PS_INT, "(INT) -3 \n"},
      {zyn_angle(90.0), PS_ANGLE, "(ANGLE) 90.0 \n"}, {zyn_enum("flat|ball", ""), PS_ENUM, "(ENUM) flat\n"},
      {zyn_list(zyn_string()), PS_LIST, "(ARRAY) \n"},
      {zyn_ref("x"), PS_ERR_REFERENCE, "(REF !) x = (ERROR) Expression/Reference error\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.printed);
    EXPECT_TRUE(c.made.unique());
    EXPECT_EQ(zynParameter::get_subtype(*c.made), c.subtype);
    EXPECT_EQ(c.made->print(0), c.printed);
  }
}

TEST(ParameterLibRoot, FormulasReachTheBuiltInsFromAnyDepth) {
  zynParameterRoot plain("Op", 1, "");
  zynParameterLibRoot op("Op", 1, "Drill");
  for (zynParameterRoot* root : {&plain, static_cast<zynParameterRoot*>(&op)}) {
    root->add("D", zyn_real(8.0));
    root->add("Tool", zyn_map())->add("R", zyn_real(0.0))->set_string("min(D; 3) + sqrt(4)");
  }
  EXPECT_TRUE(zyn_read_double(plain["Tool.R"]).error->is_error());
  EXPECT_DOUBLE_EQ(op["Tool.R"]->get_double(), 5.0);
  // The root's own pseudo-members come first; a copy keeps the built-ins.
  EXPECT_EQ(op["name"]->get_string(), "Drill");
  zynParameterPtr copy(op.create_new());
  EXPECT_DOUBLE_EQ(copy["Tool.R"]->get_double(), 5.0);
  EXPECT_TRUE(op["no_such_function"]->is_error());
}

TEST(ParameterLibRoot, EvalScopeGuardsNestAndRestore) {
  zynParameterLibRoot outer("Op", 1, ""), inner("Op", 1, "");
  outer.add("D", zyn_real(2.0));
  inner.add("D", zyn_real(5.0));
  zynParameterPtr probe = outer.add("P", zyn_real(0.0));
  probe->set_string("evaluate('D * 2')");
  const zynParameterPtr before = zynParameterLib::get_eval_scope();
  {
    zynParameterEvalScope a(outer);
    EXPECT_DOUBLE_EQ(probe->get_double(), 4.0);
    {
      zynParameterEvalScope b(zynParameterPtr(coPrfExternal, &inner));
      EXPECT_DOUBLE_EQ(probe->get_double(), 10.0);
    }
    EXPECT_EQ(zynParameterLib::get_eval_scope().pointer(), &outer);
  }
  EXPECT_EQ(zynParameterLib::get_eval_scope().raw(), before.raw());
}

}  // namespace

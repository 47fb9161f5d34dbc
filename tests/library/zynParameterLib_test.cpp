#include "zyn/library/zynParameterLib.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/library/zynParameterArgDecoder.h"
#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

zynParameterPtr call(zynParameter* f) {
  return zynParameterPtr(f)->operate_binary("(", zynParameterPtr(new zynTestParameter()));
}

TEST(ParameterLib, LibraryObjectAndHandles) {
  zynParameterPtr lib(new zynParameterLib());
  lib->set_name("std");
  lib->set_desc("the library");
  EXPECT_EQ(subtype_of(lib), PS_LIB);
  EXPECT_EQ(lib->print(0), "(STANDARD FUNCTION LIBRARY)\n");
  EXPECT_EQ(lib->size(), static_cast<int>(zyn_lib_registry().size()));
  // Lookups ignore letter case; a handle describes its own function only.
  for (const char* text : {"sin", "SIN", "sIN"}) {
    zynParameterPtr handle = lib[zynParameterKey(text)];
    ASSERT_EQ(subtype_of(handle), PS_LIBFUNCTION) << text;
    EXPECT_EQ(handle->get_expr(), "sin");
  }
  zynParameterPtr sine = lib[zynParameterKey("sin")];
  EXPECT_EQ(sine->print(0), "(STANDARD FUNCTION) sin\n");
  EXPECT_EQ(sine->get_desc(), "Trigonometric sine.");
  EXPECT_EQ(lib[zynParameterKey("cos")]->get_desc(), "Trigonometric cosine.");
  EXPECT_EQ(lib->get_desc(), "the library");
  EXPECT_EQ(sine->get_name(), "std");
  EXPECT_EQ(subtype_of(sine->operate_binary("+", sine)), PS_ERR_TYPE);
  // A copy of a handle is a library object again.
  zynParameterPtr fresh = sine.copy();
  EXPECT_EQ(subtype_of(fresh), PS_LIB);
  EXPECT_EQ(fresh->size(), lib->size());
  for (const char* text : {"no_such_function", "sin.x", "sin[0]", ""})
    EXPECT_EQ(subtype_of(lib[zynParameterKey(text)]), PS_ERR_NAME) << text;
  // Calls of unregistered names fail too: lookups lower-case the name, calls compare exactly.
  zynParameterLib plain;
  EXPECT_EQ(subtype_of(call(new zynParameterLib(plain, "no_such_function"))), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(call(plain.create_new())), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(call(new zynParameterLib(plain, "SIN"))), PS_ERR_NAME);
}

TEST(ParameterLib, KeysListTheRegisteredNamesInRegistryOrder) {
  zynParameterPtr lib(new zynParameterLib());
  utString names;
  for (const auto& entry : zyn_lib_registry()) names += (names.empty() ? "" : ",") + entry.first;
  for (const char* text : {"_keys", "_KEYS", "_Keys.ignored"}) {
    zynParameterPtr keys = lib[zynParameterKey(text)];
    EXPECT_EQ(subtype_of(keys), PS_LIST) << text;
    EXPECT_EQ(zyn_lib_text(keys), names) << text;
  }
}

// The decoder built-ins read their arguments through.
TEST(ParameterArgDecoder, HandsOutArgumentsInOrderThenFails) {
  zynParameterPtr items[3];
  zynParameterPtr args(new zynParameterTempArray());
  for (zynParameterPtr& item : items) args->add(zynParameterKey(), item = zynParameterPtr(new zynTestParameter()));
  zynParameterArgDecoder decoder(args);
  // A typed argument of another class is null, but consumed.
  EXPECT_EQ(decoder.next_argument_as<zynParameterArray>(), nullptr);
  EXPECT_FALSE(decoder.all_arguments_used());
  // The remaining arguments share the rest without consuming it.
  zynParameterPtr rest = decoder.remaining_arguments();
  ASSERT_EQ(rest->size(), 2);
  EXPECT_EQ(rest[zynParameterKey(1, "")].pointer(), items[2].pointer());
  EXPECT_EQ(decoder.next_argument_as<zynTestParameter>(), items[1].pointer());
  EXPECT_EQ(decoder.next_argument().pointer(), items[2].pointer());
  EXPECT_TRUE(decoder.all_arguments_used());
  EXPECT_EQ(zynParameter::get_subtype(*decoder.next_argument()), PS_ERR_ARGUMENTS);
  EXPECT_EQ(decoder.next_argument_as<zynTestParameter>(), nullptr);
  EXPECT_EQ(decoder.remaining_arguments()->size(), 0);
}

}  // namespace

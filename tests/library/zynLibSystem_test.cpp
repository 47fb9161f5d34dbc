// The system, time, file and sequence built-ins, called from expressions
// evaluated in a host tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace fs = std::filesystem;

namespace {

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

class LibSystem : public testing::Test {
 protected:
  zynParameterPtr eval(const utString& text) { return zyn_test_eval(root, text); }
  zynParameterPtr root = zyn_test_lib_root();
};

TEST_F(LibSystem, HomeReadsTheEnvironment) {
  const char* saved = std::getenv("HOME");
  const utString old = saved ? saved : "";
  setenv("HOME", "/home/zyn test", 1);
  EXPECT_EQ(eval("home()")->get_string(), "/home/zyn test");
  unsetenv("HOME");
  EXPECT_EQ(eval("home()")->get_string(), "");
  if (saved) setenv("HOME", old.c_str(), 1);
  EXPECT_EQ(subtype_of(eval("home(1)")), PS_ERR_ARGUMENTS);
}

TEST_F(LibSystem, TimeIsAnIntegerOfTime) {
  const zynParameterPtr t = eval("time()");
  ASSERT_EQ(subtype_of(t), PS_INT);
  EXPECT_EQ(zynParameterNumeric::ut_dynamic_cast(t.pointer())->get_dim(), zynDimensions(ZYN_DIM_TIME));
  EXPECT_GT(t->get_int(), 1600000000);
  EXPECT_EQ(subtype_of(eval("time(1)")), PS_ERR_ARGUMENTS);
}

TEST_F(LibSystem, UtcTimeOfZeroIsTheEpoch) {
  const zynParameterPtr d = eval("utc_time(0)");
  ASSERT_EQ(zynParameter::get_type(*d), PT_MAP) << d->print(0);
  EXPECT_EQ(d->get_typename(), "DateTime");
  const struct {
    const char* member;
    const char* text;
  } fields[] = {{"year", "1970"}, {"month", "01"}, {"day", "01"},    {"hour", "00"},
                {"minute", "00"}, {"second", "00"}, {"timestamp", "1970-01-01-00-00-00"}};
  for (const auto& f : fields) {
    SCOPED_TRACE(f.member);
    const zynParameterPtr m = (*d)[zynParameterKey(f.member)];
    EXPECT_EQ(subtype_of(m), PS_STRING);
    EXPECT_EQ(m->get_string(), f.text);
  }
  EXPECT_EQ(eval("utc_time(1709647629).timestamp")->get_string(), "2024-03-05-14-07-09");
  // The ends of the 32-bit range still convert.
  EXPECT_EQ(eval("utc_time(-2147483648).timestamp")->get_string(), "1901-12-13-20-45-52");
  EXPECT_EQ(eval("utc_time(2147483647).year")->get_string(), "2038");
  EXPECT_EQ(eval("local_time(time()).timestamp")->get_string().size(), 19u);
  for (const char* text : {"utc_time()", "utc_time('0')", "local_time(1, 2)", "local_time({1})"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(subtype_of(eval(text)), PS_ERR_ARGUMENTS);
  }
}

TEST_F(LibSystem, TimeToStringFormatsHoursMinutesSeconds) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {{"time_to_string(3725)", "1:02:05"},      {"time_to_string(2, 'h')", "2:00:00"},
               {"time_to_string(1, 'M')", "0:01:00"},    {"time_to_string(90, 's')", "0:01:30"},
               {"time_to_string(100, 'h')", "100:00:00"}, {"time_to_string(59.9)", "0:00:59"},
               {"time_to_string(60, 'd', 1)", "0:01:00"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const zynParameterPtr r = eval(c.text);
    EXPECT_EQ(subtype_of(r), PS_STRING);
    EXPECT_EQ(r->get_string(), c.expected);
  }
  // Hours past the int range stop at its end instead of wrapping.
  EXPECT_EQ(eval("time_to_string(1e300)")->get_string().rfind("2147483647:", 0), 0u);
  EXPECT_EQ(subtype_of(eval("time_to_string()")), PS_ERR_ARGUMENTS);
  for (const char* text : {"time_to_string(5, 'd')", "time_to_string('x')", "time_to_string(5, 1)"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(subtype_of(eval(text)), PS_ERR_DATA);
  }
}

// A directory tree for the listings, removed at the end:
//   a.txt  b.dat  sub/  sub/back -> (the top)  sub/c.TXT  sub/deeper/  sub/deeper/d.txt
class LibFiles : public LibSystem {
 protected:
  LibFiles() {
    top = fs::temp_directory_path() / ("zyn_list_" + std::to_string(::getpid()));
    fs::remove_all(top);
    fs::create_directories(top / "sub" / "deeper");
    for (const char* f : {"a.txt", "b.dat", "sub/c.TXT", "sub/deeper/d.txt"}) std::ofstream(top / f) << "x";
    fs::create_directory_symlink(top, top / "sub" / "back");
    root->add("top", zyn_string(top.string()));
  }
  ~LibFiles() override { fs::remove_all(top); }

  std::vector<utString> list(const utString& text) {
    const zynParameterPtr r = eval(text);
    EXPECT_EQ(zynParameter::get_type(*r), PT_ARRAY) << r->print(0);
    std::vector<utString> out;
    for (int i = 0; i < r->size(); ++i) {
      const utString path = (*r)[zynParameterKey(i, utString())]->get_string();
      out.push_back(fs::path(path).lexically_relative(top).string());
    }
    return out;
  }

  fs::path top;
};

TEST_F(LibFiles, ListsByKindExtensionAndDepth) {
  using names = std::vector<utString>;
  EXPECT_EQ(list("list_files('all', top)"), (names{"a.txt", "b.dat", "sub"}));
  EXPECT_EQ(list("list_files('files', top)"), (names{"a.txt", "b.dat"}));
  EXPECT_EQ(list("list_files('dirs', top)"), (names{"sub"}));
  EXPECT_EQ(list("list_files('files+', top, 'txt')"), (names{"a.txt", "sub/c.TXT", "sub/deeper/d.txt"}));
  // The link back to the top is listed but not walked again.
  EXPECT_EQ(list("list_files('dirs+', top)"), (names{"sub", "sub/back", "sub/deeper"}));
  EXPECT_EQ(list("list_files('all+', top, 'dat')"), (names{"b.dat", "sub", "sub/back", "sub/deeper"}));
  EXPECT_TRUE(list("list_files('all', top + '/missing')").empty());
  for (const char* text : {"list_files('bogus', top)", "list_files(top)", "list_files('all', 5)",
                           "list_files('files', top, 'txt', 'x')", "list_files('', top)"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(subtype_of(eval(text)), PS_ERR_ARGUMENTS);
  }
}

TEST_F(LibFiles, ExistenceTestsTellFilesFromDirectories) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"file_exists(top + '/a.txt')", 1}, {"file_exists(top)", 0},
               {"file_exists(top + '/none')", 0},  {"dir_exists(top + '/sub')", 1},
               {"dir_exists(top + '/a.txt')", 0},  {"dir_exists(top + '/sub/back')", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const zynParameterPtr r = eval(c.text);
    EXPECT_EQ(subtype_of(r), PS_BOOL);
    EXPECT_EQ(r->get_int(), c.expected);
  }
  for (const char* text : {"file_exists()", "file_exists(1)", "dir_exists(top, top)"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(subtype_of(eval(text)), PS_ERR_ARGUMENTS);
  }
}

TEST_F(LibSystem, PwdIsTheWorkingDirectory) {
  EXPECT_EQ(eval("pwd()")->get_string(), fs::current_path().string());
  EXPECT_EQ(subtype_of(eval("pwd('x')")), PS_ERR_ARGUMENTS);
}

TEST_F(LibSystem, SequencesCountFromTheirStart) {
  const zynParameterPtr seq = eval("make_sequence(10, 5, 4)");
  ASSERT_EQ(zynParameter::get_type(*seq), PT_MAP) << seq->print(0);
  EXPECT_EQ(seq->get_typename(), "Sequence");
  EXPECT_EQ(subtype_of((*seq)["increment"]), PS_INT);
  root->add("seq", seq);
  for (const char* expected : {"0010", "0015", "0020"}) EXPECT_EQ(eval("next_in_sequence(seq)")->get_string(), expected);
  EXPECT_EQ((*root)["seq.value"]->get_int(), 20);

  root->add("seven", eval("make_sequence(7)"));
  EXPECT_EQ(eval("next_in_sequence(seven, 'ignored')")->get_string(), "7");
  EXPECT_EQ(eval("next_in_sequence(seven)")->get_string(), "8");
  root->add("down", eval("make_sequence(1, -2, 3)"));
  EXPECT_EQ(eval("next_in_sequence(down)")->get_string(), "001");
  EXPECT_EQ(eval("next_in_sequence(down)")->get_string(), "0-1");

  for (const char* text : {"make_sequence()", "make_sequence('1')", "make_sequence(1, 2, 3, 4)",
                           "next_in_sequence()", "next_in_sequence(5)"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(subtype_of(eval(text)), PS_ERR_ARGUMENTS);
  }
}

TEST_F(LibSystem, DamagedSequencesAreRefused) {
  zynParameterPtr partial = eval("make_sequence(1)");
  partial->remove("padding");
  root->add("partial", partial);
  EXPECT_EQ(subtype_of(eval("next_in_sequence(partial)")), PS_ERR_ARGUMENTS);
  // A padding no number needs would only fill memory.
  root->add("wide", eval("make_sequence(1, 1, 2000000000)"));
  EXPECT_EQ(subtype_of(eval("next_in_sequence(wide)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ((*root)["wide.value"]->get_int(), 0);
}

TEST_F(LibSystem, PortMachiningLooksAtTheStrategy) {
  for (const char* strategy : {"port_plunge", "port_area_clear", "port_spiral", "raster", "Port_plunge"}) {
    SCOPED_TRACE(strategy);
    zynParameterPtr op(new zynParameterMap());
    op->add("Strategy", zyn_string(strategy));
    const zynParameterPtr args(new zynParameterTempArray());
    args->add(zynParameterKey(), op);
    const zynParameterPtr r = (*root)["port_machining"]->operate_binary("(", args);
    EXPECT_EQ(subtype_of(r), PS_BOOL);
    EXPECT_EQ(r->get_int(), utString(strategy).compare(0, 5, "port_") == 0 ? 1 : 0);
  }
  EXPECT_EQ(eval("port_machining(5)")->get_int(), 0);
  EXPECT_EQ(subtype_of(eval("port_machining()")), PS_ERR_ARGUMENTS);
}

}  // namespace

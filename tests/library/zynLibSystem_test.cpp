// The system, time, file and sequence built-ins, called from expressions
// evaluated in a host tree.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace fs = std::filesystem;

namespace {

class LibSystem : public testing::Test {
 protected:
  zynParameterPtr eval(const utString& text) const { return zyn_test_eval(root, text); }
  void check(std::initializer_list<zynLibCase> cases) const {
    zyn_check_lib_cases([this](const char* text) { return eval(text); }, cases);
  }
  void refused(zynParameterSubType code, std::initializer_list<const char*> texts) const {
    zyn_check_lib_errors([this](const char* text) { return eval(text); }, code, texts);
  }
  zynParameterPtr root = zyn_test_lib_root();
};

TEST_F(LibSystem, EnvironmentAndTime) {
  const char* saved = std::getenv("HOME");
  const utString old = saved ? saved : "";
  setenv("HOME", "/home/zyn test", 1);
  check({{"home()", PS_STRING, "/home/zyn test"}, {"pwd()", PS_STRING, fs::current_path().c_str()}});
  unsetenv("HOME");
  check({{"home()", PS_STRING, ""}});
  if (saved) setenv("HOME", old.c_str(), 1);
  const zynParameterPtr t = eval("time()");
  ASSERT_EQ(subtype_of(t), PS_INT);
  EXPECT_EQ(zynParameterNumeric::ut_dynamic_cast(t.pointer())->get_dim(), zynDimensions(ZYN_DIM_TIME));
  EXPECT_GT(t->get_int(), 1600000000);
  const zynParameterPtr d = eval("utc_time(0)");
  EXPECT_EQ(d->get_typename(), "DateTime");
  check({
      {"utc_time(0).year", PS_STRING, "1970"}, {"utc_time(0).second", PS_STRING, "00"},
      {"utc_time(0).timestamp", PS_STRING, "1970-01-01-00-00-00"},
      {"utc_time(1709647629).timestamp", PS_STRING, "2024-03-05-14-07-09"},
      // The ends of the 32-bit range still convert.
      {"utc_time(-2147483648).timestamp", PS_STRING, "1901-12-13-20-45-52"},
      {"utc_time(2147483647).year", PS_STRING, "2038"}, {"time_to_string(3725)", PS_STRING, "1:02:05"},
      {"time_to_string(2, 'h')", PS_STRING, "2:00:00"}, {"time_to_string(1, 'M')", PS_STRING, "0:01:00"},
      {"time_to_string(90, 's')", PS_STRING, "0:01:30"}, {"time_to_string(100, 'h')", PS_STRING, "100:00:00"},
      {"time_to_string(59.9)", PS_STRING, "0:00:59"}, {"time_to_string(60, 'd', 1)", PS_STRING, "0:01:00"},
  });
  EXPECT_EQ(eval("local_time(time()).timestamp")->get_string().size(), 19u);
  // Hours past the int range stop at its end instead of wrapping.
  EXPECT_EQ(eval("time_to_string(1e300)")->get_string().rfind("2147483647:", 0), 0u);
  refused(PS_ERR_ARGUMENTS, {"utc_time('0')", "local_time({1})"});
  refused(PS_ERR_DATA, {"time_to_string(5, 'd')", "time_to_string('x')", "time_to_string(5, 1)"});
}

// A directory tree for the listings, removed at the end:
//   a.txt  b.dat  sub/  sub/back -> (the top)  sub/c.TXT  sub/deeper/  sub/deeper/d.txt
TEST_F(LibSystem, FilesAreListedAndTested) {
  const fs::path top = fs::temp_directory_path() / ("zyn_list_" + std::to_string(::getpid()));
  fs::remove_all(top);
  fs::create_directories(top / "sub" / "deeper");
  for (const char* f : {"a.txt", "b.dat", "sub/c.TXT", "sub/deeper/d.txt"}) std::ofstream(top / f) << "x";
  fs::create_directory_symlink(top, top / "sub" / "back");
  // Listed from inside the top, the paths start at ".".
  const fs::path cwd = fs::current_path();
  fs::current_path(top);
  root->add("top", zyn_string("."));
  check({
      {"list_files('all', top)", PS_VECTOR, "./a.txt,./b.dat,./sub"},
      {"list_files('files', top)", PS_VECTOR, "./a.txt,./b.dat"}, {"list_files('dirs', top)", PS_VECTOR, "./sub"},
      {"list_files('files+', top, 'txt')", PS_VECTOR, "./a.txt,./sub/c.TXT,./sub/deeper/d.txt"},
      // The link back to the top is listed but not walked again.
      {"list_files('dirs+', top)", PS_VECTOR, "./sub,./sub/back,./sub/deeper"},
      {"list_files('all+', top, 'dat')", PS_VECTOR, "./b.dat,./sub,./sub/back,./sub/deeper"},
      {"list_files('all', 'missing')", PS_VECTOR, ""}, {"file_exists('a.txt')", PS_BOOL, "1"},
      {"file_exists(top)", PS_BOOL, "0"}, {"file_exists('none')", PS_BOOL, "0"}, {"dir_exists('sub')", PS_BOOL, "1"},
      {"dir_exists('a.txt')", PS_BOOL, "0"}, {"dir_exists('sub/back')", PS_BOOL, "1"},
  });
  refused(PS_ERR_ARGUMENTS, {"list_files('bogus', top)", "list_files(top)", "list_files('all', 5)",
      "list_files('', top)", "file_exists(1)"});
  fs::current_path(cwd);
  fs::remove_all(top);
}

TEST_F(LibSystem, SequencesCountFromTheirStart) {
  const zynParameterPtr seq = eval("make_sequence(10, 5, 4)");
  EXPECT_EQ(seq->get_typename(), "Sequence");
  EXPECT_EQ(subtype_of((*seq)["increment"]), PS_INT);
  root->add("seq", seq);
  root->add("seven", eval("make_sequence(7)"));
  root->add("down", eval("make_sequence(1, -2, 3)"));
  check({{"next_in_sequence(seq)", PS_STRING, "0010"}, {"next_in_sequence(seq)", PS_STRING, "0015"},
         {"next_in_sequence(seq)", PS_STRING, "0020"}, {"seq.value", PS_INT, "20"},
         {"next_in_sequence(seven, 'ignored')", PS_STRING, "7"}, {"next_in_sequence(seven)", PS_STRING, "8"},
         {"next_in_sequence(down)", PS_STRING, "001"}, {"next_in_sequence(down)", PS_STRING, "0-1"}});
  zynParameterPtr partial = eval("make_sequence(1)");
  partial->remove("padding");
  root->add("partial", partial);
  // A padding no number needs would only fill memory.
  root->add("wide", eval("make_sequence(1, 1, 2000000000)"));
  refused(PS_ERR_ARGUMENTS, {"make_sequence('1')", "next_in_sequence(5)", "next_in_sequence(partial)",
      "next_in_sequence(wide)"});
  EXPECT_EQ((*root)["wide.value"]->get_int(), 0);
}

TEST_F(LibSystem, PortMachiningLooksAtTheStrategy) {
  const zynParameterPtr strategy = root->add("op", zyn_map())->add("Strategy", zyn_string(""));
  for (const char* name : {"port_plunge", "port_area_clear", "port_spiral", "raster", "Port_plunge"}) {
    strategy->set_string(name);
    check({{"port_machining(op)", PS_BOOL, utString(name).compare(0, 5, "port_") == 0 ? "1" : "0"}});
  }
  check({{"port_machining(5)", PS_BOOL, "0"}});
}

}  // namespace

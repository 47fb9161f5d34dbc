// Runs the built zynparam tool on the example files and on broken files and
// compares what it prints and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef ZYN_TOOL_PATH

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int rc = -1;
  std::string out;
  std::string err;
};

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class ZynparamTool : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("zynparam_test_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Runs the tool with "args" (already quoted for the shell).
  ToolRun run(const std::string& args) const {
    const fs::path out = m_dir / "stdout.txt";
    const fs::path err = m_dir / "stderr.txt";
    const std::string command = std::string("'") + ZYN_TOOL_PATH + "' " + args + " >'" + out.string() + "' 2>'" +
                                err.string() + "'";
    const int status = std::system(command.c_str());
    ToolRun r;
    r.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    fs::remove(out);
    fs::remove(err);
    return r;
  }

  static std::string example(const std::string& name) {
    return std::string("'") + ZYN_TOOL_SOURCE_DIR + "/examples/" + name + "'";
  }
  static std::string broken() { return std::string("'") + ZYN_TOOL_SOURCE_DIR + "/tests/tools/data/broken.zpar'"; }
  std::string temp(const std::string& name) const { return "'" + (m_dir / name).string() + "'"; }
  fs::path path(const std::string& name) const { return m_dir / name; }

  // Expects a clean failure: status 2, nothing on stdout, one line on stderr.
  static void expect_user_error(const ToolRun& r, const std::string& message) {
    EXPECT_EQ(r.rc, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "zynparam: " + message + "\n");
  }

  fs::path m_dir;
};

TEST_F(ZynparamTool, UntypedFileKeepsEveryEntry) {
  // Saved with type information and loaded again, the list, the numbers,
  // the strings and the reference come back as they were.
  write(path("one.zpar"), "{\"type\" : \"Fixture\", \"version\" : \"3\"}\n"
                          "{\"label\" : \"clamp\", \"w\" : \"4 * 2\", \"r\" : \"&w\", \"m\" : {\"k\" : \"v\"},"
                          " \"l\" : (\"1\", \"w + 1\")}");
  ToolRun r = run("convert " + temp("one.zpar") + " -o " + temp("typed.zpar") + " --typeinfo");
  EXPECT_EQ(r.rc, 0) << r.err;
  r = run("diff " + temp("one.zpar") + " " + temp("typed.zpar"));
  EXPECT_EQ(r.rc, 0) << r.out;
  EXPECT_EQ(r.out, "");
}

TEST_F(ZynparamTool, CheckListsEveryProblemWithItsOrigin) {
  const ToolRun r = run("check " + broken());
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.out,
            "Stepover: expression fails: Syntax error\n"
            "Passes: expression fails: Divide by zero in \"Depth / StepDown\" (column 7)\n"
            "SpindleSpeed: expression fails: Divide by zero in \"1000 / (acos(-1) * Tool.Diameter)\" (column 21)\n"
            "FeedRate: expression fails: Expression/Reference error (FeedRate -> SpindleSpeed: Divide by zero in "
            "\"1000 / (acos(-1) * Tool.Diameter)\" (column 21))\n"
            "Cutter: reference &Nothing does not resolve: Expression/Reference error\n");
}

TEST_F(ZynparamTool, SetReplacesTheFileAndKeepsItsForm) {
  fs::copy_file(std::string(ZYN_TOOL_SOURCE_DIR) + "/examples/strategy-typed.zpar", path("s.zpar"));
  fs::permissions(path("s.zpar"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ToolRun r = run("set " + temp("s.zpar") + " Depth=12 'Tool.Name=EM 8' 'Cutter=&Tool.Holder' Mode=Conventional");
  EXPECT_EQ(r.rc, 0) << r.err;
  r = run("get " + temp("s.zpar") + " Depth Passes Tool.Name Cutter.Length Mode");
  EXPECT_EQ(r.out, "12.0\n2\nEM 8\n65.0\nConventional\n");
  const ToolRun clean = run("check " + temp("s.zpar"));
  EXPECT_EQ(clean.rc, 0);
  EXPECT_EQ(clean.out + clean.err, "");
  EXPECT_NE(slurp(path("s.zpar")).find("\"Depth\" \"R[L]\" \"Total pocket depth\" : \"12.0\""), std::string::npos);
  EXPECT_EQ(fs::status(path("s.zpar")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A failing assignment changes nothing and leaves no temporary file.
  const std::string before = slurp(path("s.zpar"));
  expect_user_error(run("set " + temp("s.zpar") + " Depth=3 Dept=4"),
                    "no parameter \"Dept\" (nearest: Depth, Name, Tool)");
  expect_user_error(run("set " + temp("s.zpar") + " Tool=4"), "Tool holds no single value");
  expect_user_error(run("set " + temp("s.zpar") + " Depth"), "expected KEY=TEXT, got \"Depth\"");
  EXPECT_EQ(slurp(path("s.zpar")), before);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir)) ++files;
  EXPECT_EQ(files, 1);
  // With -o the input stays as it was.
  r = run("set " + temp("s.zpar") + " Depth=40 -o " + temp("out.zpar"));
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(slurp(path("s.zpar")), before);
  EXPECT_EQ(run("get " + temp("out.zpar") + " Depth").out, "40.0\n");
  r = run("set " + temp("s.zpar") + " Depth=40 -o /nonexistent-dir/out.zpar");
  EXPECT_EQ(r.rc, 2);
  EXPECT_EQ(r.err.rfind("zynparam: /nonexistent-dir/out.zpar: cannot write file", 0), 0u) << r.err;
}

// The header of the hand-made files below.
const std::string header = "{\"type\" : \"Fixture\", \"version\" : \"3\", \"time\" : \"1\"}";

// The text with every "time" value replaced by "T".
std::string timeless(std::string text) {
  for (size_t at = text.find("\"time\""); at != std::string::npos; at = text.find("\"time\"", at + 1)) {
    const size_t open = text.find('"', text.find(':', at)) + 1;
    text.replace(open, text.find('"', open) - open, "T");
  }
  return text;
}

TEST_F(ZynparamTool, SetChangesOnlyTheBytesOfTheValuesItSets) {
  const struct {
    std::string file, assignment, expected;
  } cases[] = {
      // Line ends, number texts, descriptions, lock ids and a missing final newline stay.
      {header + "\r\n{\r\n\t\"a\" \"I\" \"desc\" \"0123\" : \"007\",\r\n\t\"b\" \"R\" \"\" : \"4\"\r\n}", "b=5",
       header + "\r\n{\r\n\t\"a\" \"I\" \"desc\" \"0123\" : \"007\",\r\n\t\"b\" \"R\" \"\" : \"5.0\"\r\n}"},
      {header + "{\"x\":\"4\",\"y\":\"x * 2\",\"s\":\"a \\\"q\\\"\"}\n", "s=x' 's=b \"r\"",  // the last text wins
       header + "{\"x\":\"4\",\"y\":\"x * 2\",\"s\":\"b \\\"r\\\"\"}\n"},
      {header + "{\"l\" : (\"1\", , \"x\"), \"r\" \"&\" \"\" : \"F:&l\"}", "r=&l[2]",
       header + "{\"l\" : (\"1\", , \"x\"), \"r\" \"&\" \"\" : \"F:&l[2]\"}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    write(path("f.zpar"), c.file);
    const ToolRun r = run("set " + temp("f.zpar") + " '" + c.assignment + "'");
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(timeless(slurp(path("f.zpar"))), timeless(c.expected));
  }
}

TEST_F(ZynparamTool, SetRefusesWhatWouldLoseOrBreakData) {
  const std::string good = header + "{\"d\" \"R\" \"\" : \"4\", \"m\" : \"word\", \"e\" : \"d * 2\"}";
  const struct {
    std::string file, assignment;
    int rc;
    std::string message;
  } cases[] = {
      {good, "d=abc", 1, "d: \"abc\" fails: unknown name \"abc\" (--force writes it)"},
      {good, "e=d +", 1, "e: \"d +\" fails: Syntax error (--force writes it)"},
      {good, "m=5", 1, "m: the text \"5\" would change the kind of its value (--force writes it)"},
      {header + "{\"d\" : \"1\", \"d\" : \"2\"}", "d=3", 2, "the first of two entries \"d\" in the tree"},
      {header + "{\"d\" : \"1\"} {}", "d=3", 2, "content after the tree"},
      {header + "{\"d\" : \"1\", \"x\" \"\" \"\" : (\"1\")}", "d=3", 2, "the value of \"x\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + c.assignment);
    write(path("f.zpar"), c.file);
    ToolRun r = run("set " + temp("f.zpar") + " '" + c.assignment + "'");
    EXPECT_EQ(r.rc, c.rc);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(slurp(path("f.zpar")), c.file);
    r = run("set " + temp("f.zpar") + " '" + c.assignment + "' --force");
    EXPECT_EQ(r.rc, 0) << r.err;
  }
  // --dry-run prints the changes as diff does and writes nothing.
  write(path("f.zpar"), good);
  const ToolRun r = run("set " + temp("f.zpar") + " d=5 --dry-run");
  EXPECT_EQ(r.out, "~ d: \"4.0\" -> \"5.0\"\n~ e: \"d * 2\" = 8.0 -> \"d * 2\" = 10.0\n");
  EXPECT_EQ(slurp(path("f.zpar")), good);
}

TEST_F(ZynparamTool, SetReplacesFilesSafely) {
  const std::string text = header + "{\"d\" : \"4\"}";
  write(path("f.zpar"), text);
  // A second writer finds the lock and fails at once.
  write(path("f.zpar.lock"), "");
  expect_user_error(run("set " + temp("f.zpar") + " d=5"),
                    path("f.zpar.lock").string() + " exists: another zynparam is writing " + path("f.zpar").string() +
                        " (remove the lock if none is)");
  fs::remove(path("f.zpar.lock"));
  // A symbolic link stays a link to the file replaced.
  fs::create_symlink("f.zpar", path("link.zpar"));
  EXPECT_EQ(run("set " + temp("link.zpar") + " d=6").rc, 0);
  EXPECT_TRUE(fs::is_symlink(path("link.zpar")));
  EXPECT_EQ(run("get " + temp("f.zpar") + " d").out, "6.0\n");
  // Other hard links are not split: refused, or with --force written in place.
  fs::create_hard_link(path("f.zpar"), path("hard.zpar"));
  EXPECT_EQ(run("set " + temp("f.zpar") + " d=7").rc, 2);
  EXPECT_EQ(run("set " + temp("f.zpar") + " d=7 --force").rc, 0);
  EXPECT_EQ(run("get " + temp("hard.zpar") + " d").out, "7.0\n");
  fs::remove(path("hard.zpar"));
  // What is no regular file is refused, but for "-", standard output.
  expect_user_error(run("set " + temp("f.zpar") + " d=8 -o /dev/stdout"), "/dev/stdout: not a regular file");
  EXPECT_EQ(timeless(run("set " + temp("f.zpar") + " d=8 -o -").out), timeless(header + "{\"d\" : \"8.0\"}"));
  // A file without write permission is refused unless forced; its mode stays.
  fs::permissions(path("f.zpar"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(run("set " + temp("f.zpar") + " d=9").rc, 2);
  EXPECT_EQ(run("set " + temp("f.zpar") + " d=9 --force").rc, 0);
  EXPECT_EQ(fs::status(path("f.zpar")).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::group_read);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir)) ++files;
  EXPECT_EQ(files, 2);  // the file and the link: no lock or temporary file is left
}

TEST_F(ZynparamTool, UntypedFilesKeepFormulasAndArraysOfMaps) {
  write(path("u.zpar"), header + "{\"Tools\" : ({\"Name\" : \"EM-10\", \"D\" : \"10\"}, {\"Name\" : \"EM-8\", \"D\" : \"8\"}),"
                                 " \"t\" : \"Tools[1].D / 0\", \"w\" : \"HSK63-ER32\"}");
  ToolRun r = run("get " + temp("u.zpar") + " Tools[1].Name Tools[0].D w t");
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.out, "EM-8\n10.0\nHSK63-ER32\n#ERROR: Divide by zero\n");
  EXPECT_EQ(r.err, "zynparam: t: Divide by zero\n");
  EXPECT_EQ(run("check " + temp("u.zpar")).out, "t: expression fails: Divide by zero\n");
  r = run("eval " + temp("u.zpar") + " 't + 1'");
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.err, "zynparam: expression fails: Divide by zero\n");
  // --evaluate keeps a failing formula as it is and says so.
  r = run("convert " + temp("u.zpar") + " -o " + temp("e.zpar") + " --evaluate --typeinfo");
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.err, "zynparam: t: kept as a formula, it fails: Divide by zero\n");
  EXPECT_NE(slurp(path("e.zpar")).find("\"t\" \"R\" \"\" : \"Tools[1].D / 0\""), std::string::npos);
  EXPECT_EQ(run("get " + temp("e.zpar") + " Tools[1].Name").out, "EM-8\n");
}

TEST_F(ZynparamTool, SavingAgainChangesNothing) {
  for (const std::string& name : {example("tool.zpar"), example("strategy.zpar"), example("strategy-typed.zpar"), broken()}) {
    for (const char* options : {"", " --typeinfo", " --compact --typeinfo"}) {
      SCOPED_TRACE(name + options);
      // The first save settles what an untyped file leaves open ("4" of a real is "4.0").
      ASSERT_EQ(run("convert " + name + " -o " + temp("1.zpar") + options).rc, 0);
      ASSERT_EQ(run("convert " + temp("1.zpar") + " -o " + temp("2.zpar") + options).rc, 0);
      ASSERT_EQ(run("convert " + temp("2.zpar") + " -o " + temp("3.zpar") + options).rc, 0);
      EXPECT_EQ(timeless(slurp(path("3.zpar"))), timeless(slurp(path("2.zpar"))));
    }
  }
  ToolRun r = run("convert " + example("strategy-typed.zpar") + " -o - --typeinfo");
  EXPECT_EQ(timeless(r.out), timeless(slurp(std::string(ZYN_TOOL_SOURCE_DIR) + "/examples/strategy-typed.zpar")));
  // Every typed entry arrives with its kind, description and lock id; a function stays callable.
  const std::string typed = header + "\n{\n\t\"Name\" \"S\" \"Strategy name\" \"" + std::string(31, '0') +
                            "1\" : \"N\",\n\t\"Sq\" \"F\" \"\" : \"argv[0]^2\"\n}";
  write(path("typed.zpar"), typed);
  r = run("convert " + temp("typed.zpar") + " -o - --typeinfo");
  EXPECT_EQ(timeless(r.out.substr(r.out.find("\n{"))), timeless(typed.substr(typed.find("\n{"))));
  EXPECT_EQ(run("eval " + temp("typed.zpar") + " 'Sq(3)'").out, "9\n");
}

TEST_F(ZynparamTool, ConvertWritesTheChosenForm) {
  const ToolRun r = run("convert " + example("tool.zpar") + " -o " + temp("c.zpar") + " --compact --typeinfo");
  EXPECT_EQ(r.rc, 0) << r.err;
  const std::string compact = slurp(path("c.zpar"));
  EXPECT_EQ(compact.find('\n'), std::string::npos);
  EXPECT_NE(compact.find("\"FluteLength\"\"R\"\"\":\"Diameter * 2.5\""), std::string::npos) << compact;
}

TEST_F(ZynparamTool, DiffXmlAndGraph) {
  ToolRun r = run("diff " + example("strategy-typed.zpar") + " " + broken());
  EXPECT_EQ(r.rc, 1);
  EXPECT_NE(r.out.find("~ Depth: \"18.0\" -> \"500.0\"\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("~ Cutter: \"&Tool\" -> \"&Nothing\" = #ERROR: Expression/Reference error\n"),
            std::string::npos);
  r = run("graph " + broken() + " FeedRate");
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(r.out.rfind("digraph zynparam {\n", 0), 0u);
  EXPECT_NE(r.out.find("  \"FeedRate\" -> \"SpindleSpeed\";\n"), std::string::npos);
  EXPECT_NE(r.out.find("\"SpindleSpeed\" [label=\"SpindleSpeed\\nTool.SurfaceSpeed * 1000 / (acos(-1) * "
                       "Tool.Diameter)\\n= #ERROR: Divide by zero\", color=red"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("Depth"), std::string::npos);  // only what FeedRate reads
}

TEST_F(ZynparamTool, UserErrorsGiveOneLineAndStatusTwo) {
  expect_user_error(run("show " + temp("missing.zpar")), "FILE: File does not exist: " + path("missing.zpar").string() +
                                                             " (see zynparam --help)");
  // A byte-order mark is skipped; the line in error is shown with a caret under the column.
  write(path("syntax.zpar"), "\xEF\xBB\xBF{\"type\" : \"Tool\", \"version\" : \"1\"}\n{\n\t\"a\" : \"1\",\n\t\"b\" \"2\" x\n}\n");
  expect_user_error(run("show - < " + temp("syntax.zpar")), "standard input:4:10: syntax error\n\t\"b\" \"2\" x\n\t        ^");
  write(path("short.zpar"), "{\"type\" : \"Tool\", \"version\" : \"1\"}\n{\n  \"a\" : \"1\",\n");
  expect_user_error(run("check " + temp("short.zpar")), path("short.zpar").string() + ":4:1: unexpected end of file");
  write(path("empty.zpar"), "");
  EXPECT_EQ(run("get " + temp("empty.zpar") + " a").rc, 2);
  write(path("junk.zpar"), std::string("\x01\xff{\"\\", 5));
  EXPECT_EQ(run("show " + temp("junk.zpar")).rc, 2);
  expect_user_error(run("get " + example("strategy.zpar") + " Tool.Diametr"),
                    "no parameter \"Tool.Diametr\" (nearest: Tool.Diameter, Tool.Name, Tool.Holder)");
  EXPECT_EQ(run("").rc, 2);
}

TEST_F(ZynparamTool, ScriptsReadJsonFlatOutputAndStandardInput) {
  write(path("f.zpar"), header + "{\"d\" \"R\" \"Depth\" : \"0\", \"p\" : \"round(4 / d; 0)\", \"q\" : \"p + 1\"}");
  write(path("bytes.zpar"), header + "{\"a\" : \"x\xff\"}");  // no UTF-8: replaced in JSON
  write(path("bom.zpar"), "\xEF\xBB\xBF" + header + "{\"a\" : \"1\"}");  // a rewrite keeps the mark
  const std::string f = temp("f.zpar");
  const std::string d = "\"text\": \"0.0\",\n    \"value\": \"0.0\",\n    \"error\": null,\n    \"type\": \"REAL\",\n"
                        "    \"description\": \"Depth\"\n";
  const std::string typed = example("strategy-typed.zpar"), strategy = example("strategy.zpar");
  const struct {
    std::string args, out, err;
    int rc;
  } cases[] = {
      {"show " + typed + " Tool.Holder", "(MAP) \n\tName: (STRING) HSK63-ER32\n\tLength: (REAL) 65.0 [L]\n", "", 0},
      {"get " + typed + " Passes Tool.Type Comment Levels[1]",
       "2\nEndMill\nRoughing with EM-10-4F in 2 passes\n20.0\n", "", 0},
      {"eval " + strategy + " 'sqrt(Depth * 2) + min(Tool.Flutes; 3)'", "9.0\n", "", 0},
      {"xml " + strategy + " Tool.Holder", "<Holder>\n<Name>HSK63-ER32</Name>\n<Length>65.0</Length>\n</Holder>\n", "",
       0},
      {"explain " + strategy + " StepDown",
       "StepDown: min(Tool.FluteLength * 0.8; Tool.Diameter) = 10.0\n  Tool.FluteLength: Diameter * 2.5 = 25.0\n"
       "    Tool.Diameter: 10.0\n  Tool.Diameter: 10.0\n", "", 0},
      {"explain " + broken() + " FeedRate",
       "FeedRate: SpindleSpeed * Tool.Flutes * Tool.ChipLoad = #ERROR: Expression/Reference error\n"
       "  SpindleSpeed: Tool.SurfaceSpeed * 1000 / (acos(-1) * Tool.Diameter) = #ERROR: Divide by zero\n"
       "    Tool.SurfaceSpeed: 150.0\n    Tool.Diameter: 0.0\n  Tool.Flutes: 4\n"
       "error: FeedRate -> SpindleSpeed: Divide by zero in \"1000 / (acos(-1) * Tool.Diameter)\" (column 21)\n", "", 0},
      {"get - d q --json < " + f,
       "{\n  \"d\": {\n    " + d + "  },\n  \"q\": {\n    \"text\": \"p + 1\",\n    \"value\": null,\n"
       "    \"error\": \"Expression/Reference error\",\n    \"type\": \"REAL\"\n  }\n}\n", "", 1},
      {"check " + f + " --json",
       "[\n  {\n    \"key\": \"p\",\n    \"kind\": \"expression\",\n"
       "    \"message\": \"expression fails: Divide by zero in \\\"4 / d\\\" (column 7)\",\n"
       "    \"chain\": [\n      \"p\"\n    ]\n  },\n  {\n    \"key\": \"q\",\n    \"kind\": \"expression\",\n"
       "    \"message\": \"expression fails: Expression/Reference error (q -> p: Divide by zero in \\\"4 / d\\\" (column 7))\",\n"
       "    \"chain\": [\n      \"q\",\n      \"p\"\n    ]\n  }\n]\n", "", 1},
      {"show - a --json < " + temp("bytes.zpar") + " | head -2", "{\n  \"text\": \"x\xEF\xBF\xBD\",\n", "", 0},
      {"set - a=2 < " + temp("bom.zpar") + " | head -c 5", "\xEF\xBB\xBF{\"", "", 0},
      {"show " + f + " --json | head -3", "{\n  \"d\": {\n    \"text\": \"0.0\",\n", "", 0},
      {"show " + f + " --flat",
       "d: \"0.0\"\np: \"round(4 / d; 0)\" = #ERROR: Expression/Reference error\n"
       "q: \"p + 1\" = #ERROR: Expression/Reference error\n", "", 0},
      {"diff " + f + " - --json < " + example("tool.zpar") + " | head -4",
       "[\n  {\n    \"key\": \"d\",\n    \"change\": \"-\",\n", "", 0},
      {"explain " + f + " p --json | tr -d ' \\n'",
       "{\"key\":\"p\",\"text\":\"round(4/d;0)\",\"value\":null,\"error\":\"Dividebyzeroin\\\"4/d\\\"(column7)\","
       "\"type\":\"REAL\",\"reads\":[{\"key\":\"d\",\"text\":\"0.0\",\"value\":\"0.0\",\"error\":null,"
       "\"type\":\"REAL\",\"description\":\"Depth\",\"reads\":[]}],\"chain\":[\"p\"]}", "", 0},
      {"eval " + f + " 'nosuchfn(2) + 1'", "#ERROR: Expression/Reference error\n", "zynparam: expression fails: unknown name \"nosuchfn\"\n", 1},
      {"get " + f + " p", "#ERROR: Expression/Reference error\n", "zynparam: p: Divide by zero in \"4 / d\" (column 7)\n", 1},
      {"shw " + f, "", "zynparam: \"shw\" is no command; did you mean show? (see zynparam --help)\n", 2},
      {"set - d=2 --dry-run < " + f, "~ d: \"0.0\" -> \"2.0\"\n~ p: \"round(4 / d; 0)\" = #ERROR: Expression/Reference error -> "
       "\"round(4 / d; 0)\" = 2.0\n~ q: \"p + 1\" = #ERROR: Expression/Reference error -> \"p + 1\" = 3.0\n", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const ToolRun r = run(c.args);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.rc, c.args.find('|') == std::string::npos ? c.rc : 0);
  }
}

TEST_F(ZynparamTool, BashCompletionOffersCommandsOptionsAndKeys) {
  const std::string tool_dir = fs::path(ZYN_TOOL_PATH).parent_path().string();
  const std::pair<std::string, std::string> cases[] = {
      {"zynparam sh", "show"},
      {"zynparam show --f", "--flat"},
      {"zynparam set " + example("strategy.zpar") + " Tool.Ho", "Tool.Holder.Length= Tool.Holder.Name="},
      {"zynparam show " + example("strategy.zpar") + " Levels", "Levels Levels[0] Levels[1] Levels[2]"},
  };
  for (const auto& [words, expected] : cases) {
    SCOPED_TRACE(words);
    const std::string script = "PATH='" + tool_dir + "':$PATH; . '" + ZYN_TOOL_SOURCE_DIR +
                               "/tools/zynparam.bash-completion'; COMP_WORDS=(" + words +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _zynparam; echo \"${COMPREPLY[*]}\"";
    write(path("complete.sh"), script);
    const std::string command = "bash '" + path("complete.sh").string() + "' > '" + path("out.txt").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(slurp(path("out.txt")), expected + "\n");
  }
}

TEST_F(ZynparamTool, HelpAndVersion) {
  EXPECT_EQ(run("--version").out.rfind("zynparam ", 0), 0u);
  const ToolRun r = run("--help");
  EXPECT_EQ(r.rc, 0);
  EXPECT_NE(r.out.find("  graph "), std::string::npos) << r.out;
}

}  // namespace

#else

TEST(ZynparamTool, NotBuilt) { GTEST_SKIP() << "the tool is not built (ZYN_BUILD_TOOLS is off)"; }

#endif

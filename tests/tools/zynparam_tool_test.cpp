// Runs the built zynparam tool through the shell in a scratch directory that
// holds copies of the example files and of data/broken.zpar, and compares
// what it prints and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#ifdef ZYN_TOOL_PATH

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The text with every "time" value replaced by "T".
std::string timeless(std::string text) {
  for (size_t at = text.find("\"time\""); at != std::string::npos; at = text.find("\"time\"", at + 1)) {
    const size_t open = text.find('"', text.find(':', at)) + 1;
    text.replace(open, text.find('"', open) - open, "T");
  }
  return text;
}

// The header of the hand-made files below.
const std::string header = "{\"type\" : \"Fixture\", \"version\" : \"3\", \"time\" : \"1\"}";

// A shell command line and what it prints (times aside) and exits with. In
// "A || B", B runs only when A fails, to show what A left behind.
struct Step {
  std::string command, out, err;
  int rc;
};

class ZynparamTool : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("zynparam_test_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir / "work");
    for (const std::string name : {"examples/tool.zpar", "examples/strategy.zpar", "examples/strategy-typed.zpar",
                                   "tests/tools/data/broken.zpar"})
      fs::copy_file(ZYN_TOOL_SOURCE_DIR + ("/" + name), m_dir / "work" / fs::path(name).filename());
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Writes each {name, text} into the scratch directory.
  void write(const std::vector<std::pair<std::string, std::string>>& files) const {
    for (const auto& [name, text] : files) std::ofstream(m_dir / "work" / name, std::ios::binary) << text;
  }

  // Runs the commands in order: a command may read what one before it wrote.
  void expect(const std::vector<Step>& runs) const {
    for (const Step& run : runs) {
      SCOPED_TRACE(run.command);
      const std::string command = "cd '" + (m_dir / "work").string() + "' && PATH='" +
                                  fs::path(ZYN_TOOL_PATH).parent_path().string() + "':$PATH && (" + run.command +
                                  ") >../out 2>../err";
      const int status = std::system(command.c_str());
      EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, run.rc);
      EXPECT_EQ(timeless(slurp(m_dir / "out")), timeless(run.out));
      EXPECT_EQ(slurp(m_dir / "err"), run.err);
    }
  }

  fs::path m_dir;
};

TEST_F(ZynparamTool, CommandsPrintWhatTheFileHolds) {
  // Every typed entry arrives with its kind, description and lock id; a function stays callable.
  const std::string typed = "{\n\t\"type\" : \"Fixture\",\n\t\"version\" : \"3\",\n\t\"time\" : \"1\"\n}\n"
                            "{\n\t\"Name\" \"S\" \"Strategy name\" \"" + std::string(31, '0') +
                            "1\" : \"N\",\n\t\"Sq\" \"F\" \"\" : \"argv[0]^2\"\n}";
  write({{"f.zpar", header + "{\"d\" \"R\" \"Depth\" : \"0\", \"p\" : \"round(4 / d; 0)\", \"q\" : \"p + 1\"}"},
         {"bytes.zpar", header + "{\"a\" : \"x\xff\"}"},           // no UTF-8: replaced in JSON
         {"bom.zpar", "\xEF\xBB\xBF" + header + "{\"a\" : \"1\"}"},  // a rewrite keeps the mark
         {"u.zpar", header + "{\"Tools\" : ({\"Name\" : \"EM-10\", \"D\" : \"10\"}, {\"Name\" : \"EM-8\", \"D\" : "
                             "\"8\"}), \"t\" : \"Tools[1].D / 0\", \"w\" : \"HSK63-ER32\", \"r\" : \"&w\", \"m\" : "
                             "{\"k\" : \"v\"}, \"l\" : (\"1\", \"Tools[0].D + 1\")}"},
         {"typed.zpar", typed},
         {"syntax.zpar", "\xEF\xBB\xBF" + header + "\n{\n\t\"a\" : \"1\",\n\t\"b\" \"2\" x\n}\n"},
         {"short.zpar", header + "\n{\n  \"a\" : \"1\",\n"},
         {"empty.zpar", ""},
         {"junk.zpar", std::string("\x01\xff{\"\\", 5)}});
  const std::string d = "\"text\": \"0.0\",\n    \"value\": \"0.0\",\n    \"error\": null,\n    \"type\": \"REAL\",\n"
                        "    \"description\": \"Depth\"\n";
  const auto complete = [](const std::string& words) {
    return "bash -c '. \"" + std::string(ZYN_TOOL_SOURCE_DIR) + "/tools/zynparam.bash-completion\"; COMP_WORDS=(" +
           words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _zynparam; echo \"${COMPREPLY[*]}\"'";
  };
  expect({
      {"zynparam show strategy-typed.zpar Tool.Holder",
       "(MAP) \n\tName: (STRING) HSK63-ER32\n\tLength: (REAL) 65.0 [L]\n", "", 0},
      {"zynparam get strategy-typed.zpar Passes Tool.Type Comment Levels[1]",
       "2\nEndMill\nRoughing with EM-10-4F in 2 passes\n20.0\n", "", 0},
      {"zynparam eval strategy.zpar 'sqrt(Depth * 2) + min(Tool.Flutes; 3)'", "9.0\n", "", 0},
      {"zynparam xml strategy.zpar Tool.Holder",
       "<Holder>\n<Name>HSK63-ER32</Name>\n<Length>65.0</Length>\n</Holder>\n", "", 0},
      {"zynparam explain strategy.zpar StepDown",
       "StepDown: min(Tool.FluteLength * 0.8; Tool.Diameter) = 10.0\n  Tool.FluteLength: Diameter * 2.5 = 25.0\n"
       "    Tool.Diameter: 10.0\n  Tool.Diameter: 10.0\n", "", 0},
      {"zynparam explain broken.zpar FeedRate",
       "FeedRate: SpindleSpeed * Tool.Flutes * Tool.ChipLoad = #ERROR: Expression/Reference error\n"
       "  SpindleSpeed: Tool.SurfaceSpeed * 1000 / (acos(-1) * Tool.Diameter) = #ERROR: Divide by zero\n"
       "    Tool.SurfaceSpeed: 150.0\n    Tool.Diameter: 0.0\n  Tool.Flutes: 4\n"
       "error: FeedRate -> SpindleSpeed: Divide by zero in \"1000 / (acos(-1) * Tool.Diameter)\" (column 21)\n", "", 0},
      {"zynparam check broken.zpar",
       "Stepover: expression fails: Syntax error\n"
       "Passes: expression fails: Divide by zero in \"Depth / StepDown\" (column 7)\n"
       "SpindleSpeed: expression fails: Divide by zero in \"1000 / (acos(-1) * Tool.Diameter)\" (column 21)\n"
       "FeedRate: expression fails: Expression/Reference error (FeedRate -> SpindleSpeed: Divide by zero in "
       "\"1000 / (acos(-1) * Tool.Diameter)\" (column 21))\n"
       "Cutter: reference &Nothing does not resolve: Expression/Reference error\n", "", 1},
      {"zynparam diff strategy-typed.zpar broken.zpar | grep -e '~ Depth' -e '~ Cutter'",
       "~ Depth: \"18.0\" -> \"500.0\"\n~ Cutter: \"&Tool\" -> \"&Nothing\" = #ERROR: Expression/Reference "
       "error\n", "", 0},
      {"zynparam diff f.zpar bom.zpar",
       "- d: \"0.0\"\n- p: \"round(4 / d; 0)\" = #ERROR: Expression/Reference error\n"
       "- q: \"p + 1\" = #ERROR: Expression/Reference error\n+ a: \"1.0\"\n", "", 1},
      {"zynparam graph f.zpar p",  // only what p reads
       "digraph zynparam {\n  rankdir=LR;\n  node [shape=box, fontname=\"Helvetica\", fontsize=10];\n  \"p\" [label=\"p"
       "\\nround(4 / d; 0)\\n= #ERROR: Expression/Reference error\", color=red, style=filled, fillcolor=\"#ffd0d0\"];\n"
       "  \"d\" [label=\"d\\n0.0\"];\n  \"p\" -> \"d\";\n}\n", "", 0},
      {"zynparam get - d q --json < f.zpar",
       "{\n  \"d\": {\n    " + d + "  },\n  \"q\": {\n    \"text\": \"p + 1\",\n    \"value\": null,\n"
       "    \"error\": \"Expression/Reference error\",\n    \"type\": \"REAL\"\n  }\n}\n", "", 1},
      {"zynparam check f.zpar --json",
       "[\n  {\n    \"key\": \"p\",\n    \"kind\": \"expression\",\n"
       "    \"message\": \"expression fails: Divide by zero in \\\"4 / d\\\" (column 7)\",\n"
       "    \"chain\": [\n      \"p\"\n    ]\n  },\n  {\n    \"key\": \"q\",\n    \"kind\": \"expression\",\n"
       "    \"message\": \"expression fails: Expression/Reference error (q -> p: Divide by zero in \\\"4 / d\\\" "
       "(column 7))\",\n    \"chain\": [\n      \"q\",\n      \"p\"\n    ]\n  }\n]\n", "", 1},
      {"zynparam show - a --json < bytes.zpar | head -2", "{\n  \"text\": \"x\xEF\xBF\xBD\",\n", "", 0},
      {"zynparam set - a=2 < bom.zpar | head -c 5", "\xEF\xBB\xBF{\"", "", 0},
      {"zynparam show f.zpar --json | head -3", "{\n  \"d\": {\n    \"text\": \"0.0\",\n", "", 0},
      {"zynparam show f.zpar --flat",
       "d: \"0.0\"\np: \"round(4 / d; 0)\" = #ERROR: Expression/Reference error\n"
       "q: \"p + 1\" = #ERROR: Expression/Reference error\n", "", 0},
      {"zynparam diff f.zpar - --json < tool.zpar | head -4", "[\n  {\n    \"key\": \"d\",\n    \"change\": \"-\",\n",
       "", 0},
      {"zynparam explain f.zpar p --json | tr -d ' \\n'",
       "{\"key\":\"p\",\"text\":\"round(4/d;0)\",\"value\":null,\"error\":\"Dividebyzeroin\\\"4/d\\\"(column7)\","
       "\"type\":\"REAL\",\"reads\":[{\"key\":\"d\",\"text\":\"0.0\",\"value\":\"0.0\",\"error\":null,"
       "\"type\":\"REAL\",\"description\":\"Depth\",\"reads\":[]}],\"chain\":[\"p\"]}", "", 0},
      {"zynparam eval f.zpar 'nosuchfn(2) + 1'", "#ERROR: Expression/Reference error\n",
       "zynparam: expression fails: unknown name \"nosuchfn\"\n", 1},
      {"zynparam get f.zpar p", "#ERROR: Expression/Reference error\n",
       "zynparam: p: Divide by zero in \"4 / d\" (column 7)\n", 1},
      {"zynparam set - d=2 --dry-run < f.zpar", "~ d: \"0.0\" -> \"2.0\"\n~ p: \"round(4 / d; 0)\" = #ERROR: "
       "Expression/Reference error -> \"round(4 / d; 0)\" = 2.0\n~ q: \"p + 1\" = #ERROR: Expression/Reference "
       "error -> \"p + 1\" = 3.0\n", "", 0},
      // An untyped file keeps formulas, references and arrays of maps, saved with type information or not.
      {"zynparam get u.zpar Tools[1].Name Tools[0].D w t", "EM-8\n10.0\nHSK63-ER32\n#ERROR: Divide by zero\n",
       "zynparam: t: Divide by zero\n", 1},
      {"zynparam check u.zpar", "t: expression fails: Divide by zero\n", "", 1},
      {"zynparam eval u.zpar 't + 1'", "#ERROR: Divide by zero\n", "zynparam: expression fails: Divide by zero\n", 1},
      {"zynparam convert u.zpar -o t.zpar --typeinfo && zynparam diff u.zpar t.zpar", "", "", 0},
      // --evaluate keeps a failing formula as it is and says so.
      {"zynparam convert u.zpar -o e.zpar --evaluate --typeinfo || grep -F '\"t\" \"R\"' e.zpar",
       "\t\"t\" \"R\" \"\" : \"Tools[1].D / 0\",\n", "zynparam: t: kept as a formula, it fails: Divide by zero\n", 0},
      {"zynparam convert tool.zpar -o - --compact --typeinfo | wc -l", "0\n", "", 0},
      {"zynparam convert typed.zpar -o - --typeinfo", typed, "", 0},
      {"zynparam convert strategy-typed.zpar -o - --typeinfo", slurp(m_dir / "work/strategy-typed.zpar"), "", 0},
      {"zynparam eval typed.zpar 'Sq(3)'", "9\n", "", 0},
      // Errors of use: one line on stderr and status 2.
      {"zynparam show no.zpar", "", "zynparam: FILE: File does not exist: no.zpar (see zynparam --help)\n", 2},
      // A byte-order mark is skipped; the line in error is shown with a caret under the column.
      {"zynparam show - < syntax.zpar", "",
       "zynparam: standard input:4:10: syntax error\n\t\"b\" \"2\" x\n\t        ^\n", 2},
      {"zynparam check short.zpar", "", "zynparam: short.zpar:4:1: unexpected end of file\n", 2},
      {"zynparam get empty.zpar a", "", "zynparam: empty.zpar:1:1: unexpected end of file\n", 2},
      {"zynparam show junk.zpar", "", "zynparam: junk.zpar:1:1: syntax error\n\x01\xff{\"\\\n^\n", 2},
      {"zynparam get strategy.zpar Tool.Diametr", "",
       "zynparam: no parameter \"Tool.Diametr\" (nearest: Tool.Diameter, Tool.Name, Tool.Holder)\n", 2},
      {"zynparam shw f.zpar", "", "zynparam: \"shw\" is no command; did you mean show? (see zynparam --help)\n", 2},
      {"zynparam", "", "zynparam: A subcommand is required (see zynparam --help)\n", 2},
      {"zynparam --version | head -c 9", "zynparam ", "", 0},
      {"zynparam --help > help.txt && grep -c '^  graph ' help.txt", "1\n", "", 0},
      {complete("zynparam sh"), "show\n", "", 0},
      {complete("zynparam show --f"), "--flat\n", "", 0},
      {complete("zynparam set strategy.zpar Tool.Ho"), "Tool.Holder.Length= Tool.Holder.Name=\n", "", 0},
      {complete("zynparam show strategy.zpar Levels"), "Levels Levels[0] Levels[1] Levels[2]\n", "", 0},
  });
}

TEST_F(ZynparamTool, SetChangesOnlyTheValuesItSetsAndReplacesFilesSafely) {
  write({{"n.zpar", header + "\r\n{\r\n\t\"a\" \"I\" \"desc\" \"0123\" : \"007\",\r\n\t\"b\" \"R\" \"\" : \"4\"\r\n}"},
         {"q.zpar", header + "{\"x\":\"4\",\"y\":\"x * 2\",\"s\":\"a \\\"q\\\"\"}\n"},
         {"r.zpar", header + "{\"l\" : (\"1\", , \"x\"), \"r\" \"&\" \"\" : \"F:&l\"}"},
         {"d.zpar", header + "{\"d\" : \"4\"}"},
         {"d.zpar.lock", ""}});
  expect({
      // Line ends, number texts, descriptions, lock ids and a missing final newline stay.
      {"zynparam set n.zpar b=5 && cat n.zpar",
       header + "\r\n{\r\n\t\"a\" \"I\" \"desc\" \"0123\" : \"007\",\r\n\t\"b\" \"R\" \"\" : \"5.0\"\r\n}", "", 0},
      {"zynparam set q.zpar s=x 's=b \"r\"' && cat q.zpar",  // the last text wins
       header + "{\"x\":\"4\",\"y\":\"x * 2\",\"s\":\"b \\\"r\\\"\"}\n", "", 0},
      {"zynparam set r.zpar 'r=&l[2]' && cat r.zpar",
       header + "{\"l\" : (\"1\", , \"x\"), \"r\" \"&\" \"\" : \"F:&l[2]\"}", "", 0},
      // The file keeps its form and its mode.
      {"cp strategy-typed.zpar s.zpar && chmod 640 s.zpar && zynparam set s.zpar Depth=12 'Tool.Name=EM 8' "
       "'Cutter=&Tool.Holder' Mode=Conventional && cp s.zpar s0.zpar", "", "", 0},
      {"zynparam get s.zpar Depth Passes Tool.Name Cutter.Length Mode", "12.0\n2\nEM 8\n65.0\nConventional\n", "", 0},
      {"zynparam check s.zpar && grep -F '\"R[L]\" \"Total pocket depth\" : \"12.0\"' s.zpar && stat -c %a s.zpar",
       "\t\"Depth\" \"R[L]\" \"Total pocket depth\" : \"12.0\",\n640\n", "", 0},
      // A failing assignment changes nothing; with -o the input stays as it was.
      {"zynparam set s.zpar Depth=3 Dept=4", "", "zynparam: no parameter \"Dept\" (nearest: Depth, Name, Tool)\n", 2},
      {"zynparam set s.zpar Tool=4", "", "zynparam: Tool holds no single value\n", 2},
      {"zynparam set s.zpar Depth", "", "zynparam: expected KEY=TEXT, got \"Depth\"\n", 2},
      {"zynparam set s.zpar Depth=40 -o o.zpar && zynparam get o.zpar Depth && cmp s.zpar s0.zpar", "40.0\n", "", 0},
      {"zynparam set s.zpar Depth=40 -o /nonexistent-dir/out.zpar", "",
       "zynparam: /nonexistent-dir/out.zpar: cannot write file: No such file or directory\n", 2},
      // A second writer finds the lock and fails at once.
      {"zynparam set d.zpar d=5 || rm d.zpar.lock", "",
       "zynparam: d.zpar.lock exists: another zynparam is writing d.zpar (remove the lock if none is)\n", 0},
      // A symbolic link stays a link to the file replaced.
      {"ln -s d.zpar l.zpar && zynparam set l.zpar d=6 && test -L l.zpar && zynparam get d.zpar d", "6.0\n", "", 0},
      // Other hard links are not split: refused, or with --force written in place.
      {"ln d.zpar hard.zpar && zynparam set d.zpar d=7", "",
       "zynparam: d.zpar: has 1 other hard link(s) that a replacement would split (--force writes it in place)\n", 2},
      {"zynparam set d.zpar d=7 --force && zynparam get hard.zpar d && rm hard.zpar", "7.0\n", "", 0},
      // What is no regular file is refused, but for "-", standard output.
      {"zynparam set d.zpar d=8 -o /dev/stdout", "", "zynparam: /dev/stdout: not a regular file\n", 2},
      {"zynparam set d.zpar d=8 -o -", header + "{\"d\" : \"8.0\"}", "", 0},
      // A file without write permission is refused unless forced; its mode stays. No lock is left behind.
      {"chmod 440 d.zpar && zynparam set d.zpar d=9", "",
       "zynparam: d.zpar: no write permission (--force replaces it)\n", 2},
      {"zynparam set d.zpar d=9 --force && stat -c %a d.zpar && find . -name '*.lock'", "440\n", "", 0},
  });
}

TEST_F(ZynparamTool, SetRefusesWhatWouldLoseOrBreakData) {
  const std::string good = header + "{\"d\" \"R\" \"\" : \"4\", \"m\" : \"word\", \"e\" : \"d * 2\"}";
  const std::string lose = "zynparam: g.zpar: not rewritten, it would lose ";
  const struct {
    std::string file, assignment, err;
    int rc;
  } cases[] = {
      {good, "d=abc", "zynparam: d: \"abc\" fails: unknown name \"abc\" (--force writes it)\n", 1},
      {good, "e=d +", "zynparam: e: \"d +\" fails: Syntax error (--force writes it)\n", 1},
      {good, "m=5", "zynparam: m: the text \"5\" would change the kind of its value (--force writes it)\n", 1},
      {header + "{\"d\" : \"1\", \"d\" : \"2\"}", "d=3", lose + "the first of two entries \"d\" in the tree (--force "
       "rewrites it)\n", 2},
      {header + "{\"d\" : \"1\"} {}", "d=3", lose + "content after the tree at byte 63 (--force rewrites it)\n", 2},
      {header + "{\"d\" : \"1\", \"x\" \"\" \"\" : (\"1\")}", "d=3",
       lose + "the value of \"x\" (--force rewrites it)\n", 2},
  };
  for (const auto& c : cases) {
    write({{"g.zpar", c.file}});
    expect({{"zynparam set g.zpar '" + c.assignment + "'", "", c.err, c.rc}});
    EXPECT_EQ(slurp(m_dir / "work/g.zpar"), c.file);
    expect({{"zynparam set g.zpar '" + c.assignment + "' --force", "", "", 0}});
  }
  // --dry-run prints the changes as diff does and writes nothing.
  write({{"g.zpar", good}});
  expect({{"zynparam set g.zpar d=5 --dry-run && zynparam get g.zpar d",
           "~ d: \"4.0\" -> \"5.0\"\n~ e: \"d * 2\" = 8.0 -> \"d * 2\" = 10.0\n4.0\n", "", 0}});
}

TEST_F(ZynparamTool, SavingAgainChangesNothing) {
  for (const std::string name : {"tool.zpar", "strategy.zpar", "strategy-typed.zpar", "broken.zpar"}) {
    for (const std::string options : {"", " --typeinfo", " --compact --typeinfo"}) {
      // The first save settles what an untyped file leaves open ("4" of a real is "4.0").
      expect({{"zynparam convert " + name + " -o 1.zpar" + options + " && zynparam convert 1.zpar -o 2.zpar" +
                   options + " && zynparam convert 2.zpar -o 3.zpar" + options,
               "", "", 0}});
      EXPECT_EQ(timeless(slurp(m_dir / "work/3.zpar")), timeless(slurp(m_dir / "work/2.zpar"))) << name << options;
    }
  }
}

}  // namespace

#else

TEST(ZynparamTool, NotBuilt) { GTEST_SKIP() << "the tool is not built (ZYN_BUILD_TOOLS is off)"; }

#endif

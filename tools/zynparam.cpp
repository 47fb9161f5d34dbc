// zynparam: inspect, check and edit saved parameter files from the command line.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <cctype>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "zynparamFile.h"
#include "zynparamInspect.h"
#include "zynparamJson.h"
#include "zynparamText.h"

#ifndef ZYN_TOOL_VERSION
#define ZYN_TOOL_VERSION "0"
#endif

namespace {

// Edit distance between two keys, ignoring letter case.
size_t key_distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t up = row[j];
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

std::string nearest_keys(const zynParameterPtr& root, const std::string& key) {
  std::vector<std::pair<size_t, utString>> ranked;
  for (const utString& candidate : zyn_tool_keys(root)) ranked.emplace_back(key_distance(key, candidate), candidate);
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string hint;
  for (size_t i = 0; i < ranked.size() && i < 3; ++i) hint += (i ? ", " : "") + ranked[i].second;
  return hint;
}

zynParameterPtr find_key(const zynParameterPtr& root, const std::string& key) {
  const zynParameterPtr p = (*root)[zynParameterKey(key)];
  if (!(p->is_error() && !p->parent())) return p;
  const std::string hint = nearest_keys(root, key);
  throw zynToolError("no parameter \"" + key + "\"" + (hint.empty() ? "" : " (nearest: " + hint + ")"));
}

// What "show" and "eval" print for a value: a scalar's text, else its printed form.
std::string shown_value(const zynParameterPtr& p) {
  const zynParameterType t = zynParameter::get_type(*p);
  if (t == PT_STRING || t == PT_NUMERIC || t == PT_ENUM || t == PT_ERROR) return p->get_string() + "\n";
  return p->print(0);
}

struct zynToolArgs {
  std::string file;
  std::string other;
  std::string key;
  std::string expr;
  std::string out;
  std::vector<std::string> keys;
  bool compact = false;
  bool typeinfo = false;
  bool evaluate = false;
  bool force = false;
  bool dry_run = false;
  bool json = false;
  bool flat = false;
};

// Texts are bytes of the file: what is no UTF-8 becomes U+FFFD rather than failing the document.
std::string json_text(const zynJson& doc) { return doc.dump(2, ' ', false, zynJson::error_handler_t::replace) + "\n"; }

void print_json(const zynJson& doc) { std::cout << json_text(doc); }

// "KEY: "TEXT" = VALUE" of a leaf, the value left out where it is the text.
std::string flat_line(const zynParameterPtr& p) {
  const utString text = zyn_tool_text(p);
  const utString value = zyn_tool_value(p);
  return zyn_tool_key(*p) + ": \"" + text + "\"" + (value == text ? "" : " = " + value) + "\n";
}

int run_show(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  const zynParameterPtr start = a.key.empty() ? f.root : find_key(f.root, a.key);
  if (a.json) {
    print_json(zyn_json_tree(start));
  } else if (a.flat) {
    zynParameterIter walk(start);
    walk.set_leaf_only(1);
    if (zynParameter::get_type(*start) != PT_MAP && zynParameter::get_type(*start) != PT_ARRAY) std::cout << flat_line(start);
    while (++walk) std::cout << flat_line(walk());
  } else {
    std::cout << start->print(0);
  }
  return 0;
}

// Writes the value line of "p"; an error also goes to stderr. Returns 1 for an error.
int print_value(const std::string& what, const zynParameterPtr& p) {
  std::cout << zyn_tool_value(p) << "\n";
  const utString failure = zyn_tool_failure_text(p);
  if (failure.empty()) return 0;
  std::cerr << "zynparam: " << what << ": " << failure << "\n";
  return 1;
}

int run_get(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  std::vector<zynParameterPtr> found;
  for (const std::string& key : a.keys) found.push_back(find_key(f.root, key));
  int rc = 0;
  if (a.json) {
    zynJson doc = zynJson::object();
    for (size_t i = 0; i < found.size(); ++i) {
      doc[a.keys[i]] = zyn_json_leaf(found[i]);
      if (!zyn_tool_failure(found[i]).is_null()) rc = 1;
    }
    print_json(doc);
    return rc;
  }
  for (size_t i = 0; i < found.size(); ++i) rc |= print_value(a.keys[i], found[i]);
  return rc;
}

int run_eval(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  zynEvaluator evaluator(f.root.pointer());
  const zynParameterPtr value = evaluator.evaluate(a.expr);
  if (value->is_error()) {
    std::cout << value->get_string() << "\n";
    std::cerr << "zynparam: expression fails: " << zyn_tool_cause(f.root, a.expr, value) << "\n";
    return 1;
  }
  std::cout << shown_value(value);
  return 0;
}

int run_check(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  // Failed values are listed with their keys; the other losses concern the file.
  std::vector<zynToolProblem> problems;
  for (const std::string& loss : f.losses)
    if (loss.rfind("the value of ", 0) != 0) problems.push_back({"", "loss", "a rewrite would lose " + loss, {}});
  for (zynToolProblem& problem : zyn_tool_problems(f.root, f.failed)) problems.push_back(std::move(problem));
  if (a.json) {
    print_json(zyn_json_problems(problems));
  } else {
    for (const zynToolProblem& p : problems) std::cout << (p.key.empty() ? "file" : p.key) << ": " << p.message << "\n";
  }
  return problems.empty() ? 0 : 1;
}

// A file that did not load completely is not rewritten: what it lost would be gone.
void refuse_losses(const zynToolFile& f, const zynToolArgs& a) {
  if (f.losses.empty() || a.force) return;
  throw zynToolError(a.file + ": not rewritten, it would lose " + f.losses.front() +
                     (f.losses.size() > 1 ? " and " + std::to_string(f.losses.size() - 1) + " more" : "") +
                     " (--force rewrites it)");
}

// The text a save would write for the value of "p"; "old" is the text the
// file holds, whose root type a typed reference keeps.
utString saved_value(const zynParameterPtr& p, const utString& old) {
  if (const zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(p.pointer())) {
    const size_t amp = old.find('&');
    const utString prefix = amp != utString::npos && amp > 0 && old[amp - 1] == ':' ? old.substr(0, amp) : utString();
    return prefix + "&" + zynEvaluator::neutralize(ref->get_ref_string());
  }
  const utString text = p->get_expr();
  return zynParameter::get_type(*p) == PT_NUMERIC || p->is_expr() ? zynEvaluator::neutralize(text) : text;
}

utString unquote(const std::string& quoted) {
  utString out;
  for (size_t i = 1; i + 1 < quoted.size(); ++i) out += quoted[i] == '\\' ? quoted[++i] : quoted[i];
  return out;
}

struct zynToolEdit {
  zynToolSpan span;
  std::string text;
};

// Applies "assignment" to the tree and returns the edit of the file's text.
// A value that fails or changes kind is refused (exit status 1) unless forced.
zynToolEdit edit_one(const zynToolFile& f, const zynToolText& scan, const std::string& assignment, bool force) {
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0) throw zynToolError("expected KEY=TEXT, got \"" + assignment + "\"");
  const std::string key = assignment.substr(0, eq);
  const utString text = assignment.substr(eq + 1);
  const zynParameterPtr p = find_key(f.root, key);
  if (p->is_locked()) throw zynToolError(key + " is locked");
  const bool failed_before = !zyn_tool_failure(p).is_null() || !p->is_valid();
  if (zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(p.pointer())) {
    ref->set_ref_string(!text.empty() && text[0] == '&' ? text.substr(1) : text);
  } else {
    const zynParameterType t = zynParameter::get_type(*p);
    if (t != PT_STRING && t != PT_NUMERIC && t != PT_ENUM) throw zynToolError(key + " holds no single value");
    // The states of an enumeration are the host's; a file knows only the saved one.
    zynParameterEnum* choice = zynParameterEnum::ut_dynamic_cast(p.pointer());
    if (choice && choice->find_index(text) < 0) choice->add_state(text, utString(), utString(), utString());
    p->set_string(text);
  }
  zynToolEdit edit;
  if (!scan.find(zyn_tool_key(*p), edit.span)) throw zynToolError(key + " has no value of its own in the file");
  const zynParameterPtr failure = zyn_tool_failure(p);
  if (!force && !failed_before && !failure.is_null())
    throw zynToolRefusal(key + ": \"" + text + "\" fails: " + zyn_tool_failure_text(p) + " (--force writes it)");
  if (!force && !failed_before && !p->is_valid()) throw zynToolRefusal(key + " does not take \"" + text + "\"");
  edit.text = zynToolText::quote(saved_value(p, unquote(f.text.substr(edit.span.begin, edit.span.end - edit.span.begin))));
  return edit;
}

std::string apply_edits(std::string text, std::vector<zynToolEdit> edits) {
  std::sort(edits.begin(), edits.end(), [](const zynToolEdit& x, const zynToolEdit& y) { return x.span.begin > y.span.begin; });
  for (const zynToolEdit& e : edits) text.replace(e.span.begin, e.span.end - e.span.begin, e.text);
  return text;
}

// Loads the edited text back: it must load as completely as the original,
// and every value set must read back with its text and kind.
void verify_edit(const zynToolFile& before, const std::string& text, const std::vector<std::string>& keys, bool force) {
  const zynToolFile after = zyn_tool_load_text(text, "the edited file");
  if (after.losses.size() > before.losses.size())
    throw zynToolError("the edited file would lose " + after.losses.front() + "; nothing written");
  for (const std::string& key : keys) {
    zynParameterPtr was;
    zynParameterPtr now;
    {
      zynParameterEvalScope scope(before.root);
      was = find_key(before.root, key);
    }
    zynParameterEvalScope scope(after.root);
    now = (*after.root)[zynParameterKey(zyn_tool_key(*was))];
    if (now->is_error() && !now->parent()) throw zynToolError(key + " does not read back; nothing written");
    if (zyn_tool_text(now) != zyn_tool_text(was) && zynParameter::get_subtype(*now) == zynParameter::get_subtype(*was))
      throw zynToolError(key + " reads back as \"" + zyn_tool_text(now) + "\"; nothing written");
    if (!force && zynParameter::get_subtype(*now) != zynParameter::get_subtype(*was))
      throw zynToolRefusal(key + ": the text \"" + zyn_tool_text(was) + "\" would change the kind of its value (--force writes it)");
  }
}

int run_set(const zynToolArgs& a) {
  std::unique_ptr<zynToolOutput> output;
  // Standard input is edited to standard output.
  const std::string target = !a.out.empty() ? a.out : a.file;
  if (!a.dry_run) output = std::make_unique<zynToolOutput>(target, a.force);  // lock first
  const zynToolFile f = zyn_tool_load(a.file);
  refuse_losses(f, a);
  const zynToolText scan(f.text);
  std::vector<zynToolEdit> edits;
  std::vector<std::string> keys;
  {
    zynParameterEvalScope scope(f.root);
    for (const std::string& assignment : a.keys) {
      const zynToolEdit edit = edit_one(f, scan, assignment, a.force);
      // A key set twice takes its last text.
      auto same = std::find_if(edits.begin(), edits.end(), [&](const zynToolEdit& e) { return e.span.begin == edit.span.begin; });
      if (same != edits.end()) *same = edit;
      else edits.push_back(edit);
      keys.push_back(assignment.substr(0, assignment.find('=')));
    }
  }
  zynToolSpan time;
  if (scan.find_time(time)) edits.push_back({time, zynToolText::quote(std::to_string(static_cast<long long>(std::time(nullptr))))});
  const std::string text = apply_edits(f.text, edits);
  verify_edit(f, text, keys, a.force);
  if (a.dry_run) {
    const zynToolFile original = zyn_tool_load_text(f.text, a.file);
    const zynToolFile edited = zyn_tool_load_text(text, a.file);
    zynParameterEvalScope scope(original.root);
    zyn_tool_diff(original.root, edited.root, std::cout);
    return 0;
  }
  output->commit(f.bom + text);
  return 0;
}

int run_xml(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  const utString xml = zynParameter::to_xml(a.key.empty() ? f.root : find_key(f.root, a.key));
  std::cout << xml << (xml.empty() || xml.back() != '\n' ? "\n" : "");
  return 0;
}

int run_convert(const zynToolArgs& a) {
  zynToolOutput output(a.out, a.force);
  const zynToolFile f = zyn_tool_load(a.file);
  refuse_losses(f, a);
  zynParameterEvalScope scope(f.root);
  zynToolSaveOptions options;
  options.compact = a.compact;
  options.typeinfo = a.typeinfo;
  options.evaluate = a.evaluate;
  output.commit(zyn_tool_saved_text(*zynParameterRoot::ut_dynamic_cast(f.root.pointer()), options));
  if (!a.evaluate) return 0;
  // Failing formulas are written as formulas: say which.
  int rc = 0;
  for (zynParameterIter walk(f.root); ++walk;) {
    const zynParameterPtr failure = walk()->is_expr() ? zyn_tool_failure(walk()) : zynParameterPtr();
    if (failure.is_null()) continue;
    std::cerr << "zynparam: " << zyn_tool_key(*walk()) << ": kept as a formula, it fails: " << zyn_tool_message(failure) << "\n";
    rc = 1;
  }
  return rc;
}

int run_diff(const zynToolArgs& a) {
  if (a.file == "-" && a.other == "-") throw zynToolError("standard input can be only one of the two files");
  const zynToolFile first = zyn_tool_load(a.file);
  const zynToolFile second = zyn_tool_load(a.other);
  std::ostringstream out;
  int count = 0;
  {
    zynParameterEvalScope scope(first.root);
    if (a.json) {
      const std::vector<zynToolChange> changes = zyn_tool_changes(first.root, second.root);
      count = static_cast<int>(changes.size());
      out << json_text(zyn_json_diff(changes));
    } else {
      count = zyn_tool_diff(first.root, second.root, out);
    }
  }
  std::cout << out.str();
  return count ? 1 : 0;
}

int run_explain(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  const zynParameterPtr p = find_key(f.root, a.key);
  if (a.json) print_json(zyn_json_explain(p));
  else zyn_tool_explain(p, std::cout);
  return 0;
}

int run_graph(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynParameterEvalScope scope(f.root);
  zyn_tool_graph(a.key.empty() ? f.root : find_key(f.root, a.key), !a.key.empty(), std::cout);
  return 0;
}

CLI::Validator file_or_stdin() {
  return CLI::Validator([](std::string& path) { return path == "-" ? std::string() : CLI::ExistingFile(path); }, "FILE");
}

CLI::App* add_command(CLI::App& app, const std::string& name, const std::string& help, zynToolArgs& a) {
  CLI::App* cmd = app.add_subcommand(name, help);
  cmd->add_option("FILE", a.file, "Saved parameter file (\"-\": standard input)")->required()->check(file_or_stdin());
  return cmd;
}

// Ends the help of "cmd" with examples, one per line.
void examples(CLI::App* cmd, const std::string& lines) { cmd->footer("Examples:\n" + lines); }

using zynToolCommand = int (*)(const zynToolArgs&);

void add_json(CLI::App* cmd, zynToolArgs& a) {
  cmd->add_flag("--json", a.json, "Write one JSON document to standard output (see the README)");
}

// show, get, eval, check and explain: reading a file.
void build_readers(CLI::App& app, zynToolArgs& a, const std::function<void(CLI::App*, zynToolCommand)>& on) {
  CLI::App* show = add_command(app, "show", "Print the tree or a subtree: stored text and evaluated value", a);
  show->add_option("KEY", a.key, "Key of the subtree (such as Tool or Levels[1])");
  add_json(show, a);
  show->add_flag("--flat", a.flat, "One line per leaf: full key, stored text and value")->excludes("--json");
  examples(show, "  zynparam show tool.zpar\n  zynparam show strategy.zpar Tool.Holder --json\n"
                 "  zynparam show strategy.zpar --flat | grep Diameter\n");
  on(show, run_show);
  CLI::App* get = add_command(app, "get", "Print evaluated values, one per line", a);
  get->add_option("KEY", a.keys, "Keys of the parameters")->required();
  add_json(get, a);
  examples(get, "  zynparam get strategy.zpar Passes Tool.Diameter\n"
                "  zynparam get strategy.zpar Depth --json | jq -r .Depth.value\n");
  on(get, run_get);
  CLI::App* eval = add_command(app, "eval", "Evaluate an expression in the scope of the file's root", a);
  eval->add_option("EXPR", a.expr, "Expression, such as \"Depth / StepDown\"")->required();
  examples(eval, "  zynparam eval strategy.zpar 'Depth / StepDown'\n  zynparam eval - 'max(1; 2)' < tool.zpar\n");
  on(eval, run_eval);
  CLI::App* check = add_command(app, "check", "List every problem of the tree; exit status 1 when any", a);
  add_json(check, a);
  examples(check, "  zynparam check strategy.zpar\n  zynparam check strategy.zpar --json | jq -r '.[].key'\n");
  on(check, run_check);
  CLI::App* explain = add_command(app, "explain", "Show why a value is what it is: everything it reads", a);
  explain->add_option("KEY", a.key, "Key of the parameter")->required();
  add_json(explain, a);
  examples(explain, "  zynparam explain strategy.zpar Passes\n  zynparam explain strategy.zpar FeedRate --json\n");
  on(explain, run_explain);
}

// set, xml, convert, diff and graph.
void build_writers(CLI::App& app, zynToolArgs& a, const std::function<void(CLI::App*, zynToolCommand)>& on) {
  CLI::App* set = add_command(app, "set", "Change values; every other byte of the file stays (replaced atomically)", a);
  set->add_option("ASSIGNMENT", a.keys, "KEY=TEXT: the new stored text of KEY")->required();
  set->add_option("-o,--output", a.out, "Write to this file (\"-\": standard output) instead of replacing FILE");
  set->add_flag("--dry-run", a.dry_run, "Print what would change, as diff does, and write nothing");
  set->add_flag("--force", a.force, "Write even a value that fails, a file that did not load completely, "
                                    "a file without write permission or with other hard links");
  examples(set, "  zynparam set strategy.zpar Depth=12 'Tool.Name=EM 8'\n"
                "  zynparam set strategy.zpar Depth=12 --dry-run\n  zynparam set - Depth=12 < in.zpar > out.zpar\n");
  on(set, run_set);
  CLI::App* xml = add_command(app, "xml", "Print the XML export of the tree or a subtree", a);
  xml->add_option("KEY", a.key, "Key of the subtree");
  examples(xml, "  zynparam xml strategy.zpar\n  zynparam xml strategy.zpar Tool.Holder\n");
  on(xml, run_xml);
  CLI::App* convert = add_command(app, "convert", "Save the tree again with other options", a);
  convert->add_option("-o,--output", a.out, "Output file (\"-\": standard output)")->required();
  convert->add_flag("--force", a.force, "Write even when FILE did not load completely");
  convert->add_flag("--compact", a.compact, "No line breaks or indentation");
  convert->add_flag("--typeinfo", a.typeinfo, "Write type, description and lock with every entry");
  convert->add_flag("--evaluate", a.evaluate, "Write evaluated values instead of expressions");
  examples(convert, "  zynparam convert tool.zpar -o typed.zpar --typeinfo\n  zynparam convert tool.zpar -o - --compact\n");
  on(convert, run_convert);
  CLI::App* diff = add_command(app, "diff", "Show what differs between two files, key by key", a);
  diff->add_option("B", a.other, "Second file (\"-\": standard input)")->required()->check(file_or_stdin());
  add_json(diff, a);
  examples(diff, "  zynparam diff old.zpar new.zpar\n  zynparam diff old.zpar new.zpar --json | jq -r '.[].key'\n");
  on(diff, run_diff);
  CLI::App* graph = add_command(app, "graph", "Print the dependency graph as Graphviz DOT", a);
  graph->add_option("KEY", a.key, "Only this parameter and what it reads");
  examples(graph, "  zynparam graph strategy.zpar | dot -Tsvg > graph.svg\n  zynparam graph strategy.zpar FeedRate\n");
  on(graph, run_graph);
}

void build_commands(CLI::App& app, zynToolArgs& a, zynToolCommand& command) {
  auto on = [&command](CLI::App* cmd, zynToolCommand fn) { cmd->callback([&command, fn] { command = fn; }); };
  build_readers(app, a, on);
  build_writers(app, a, on);
}

// "zynparam shw": the message naming the nearest command, as far as one is
// near; "" for a command.
std::string unknown_command(const CLI::App& app, const std::string& word) {
  std::string nearest;
  size_t best = word.size() / 2 + 1;
  for (const CLI::App* cmd : app.get_subcommands([](const CLI::App*) { return true; })) {
    const size_t d = key_distance(word, cmd->get_name());
    if (d == 0) return std::string();
    if (d < best) {
      best = d;
      nearest = cmd->get_name();
    }
  }
  return "\"" + word + "\" is no command" + (nearest.empty() ? "" : "; did you mean " + nearest + "?");
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zynparam: inspect, check and edit saved parameter files", "zynparam"};
  app.set_version_flag("--version", std::string("zynparam ") + ZYN_TOOL_VERSION);
  app.require_subcommand(1);
  zynToolArgs args;
  zynToolCommand command = nullptr;
  build_commands(app, args, command);
  const std::string unknown = argc > 1 && argv[1][0] != '-' ? unknown_command(app, argv[1]) : std::string();
  if (!unknown.empty()) {
    std::cerr << "zynparam: " << unknown << " (see zynparam --help)\n";
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    std::cerr << "zynparam: " << e.what() << " (see zynparam --help)\n";
    return 2;
  }
  try {
    // Every command reads each value at most once while the tree stands
    // still; any change drops what was kept. Commands read every member
    // anyway, so chains longer than the nesting bound are warmed.
    zynEvalMemoScope memo(true);
    return command ? command(args) : 2;
  } catch (const zynToolRefusal& e) {
    std::cerr << "zynparam: " << e.what() << "\n";
    return 1;
  } catch (const zynToolError& e) {
    std::cerr << "zynparam: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "zynparam: " << e.what() << "\n";
  }
  return 2;
}

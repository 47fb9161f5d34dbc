// zynparam: inspect, check and edit saved parameter files from the command line.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "zynparamFile.h"
#include "zynparamInspect.h"

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
};

int run_show(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  std::cout << (a.key.empty() ? f.root : find_key(f.root, a.key))->print(0);
  return 0;
}

int run_get(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  std::vector<zynParameterPtr> found;
  for (const std::string& key : a.keys) found.push_back(find_key(f.root, key));
  for (const zynParameterPtr& p : found) std::cout << zyn_tool_value(p) << "\n";
  return 0;
}

int run_eval(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  zynEvaluator evaluator(f.root.pointer());
  const zynParameterPtr value = evaluator.evaluate(a.expr);
  if (value->is_error()) throw zynToolError("expression fails: " + zyn_tool_message(value));
  std::cout << shown_value(value);
  return 0;
}

int run_check(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  return zyn_tool_check(f.root, f.failed, std::cout) ? 1 : 0;
}

void set_one(const zynParameterPtr& root, const std::string& assignment) {
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0) throw zynToolError("expected KEY=TEXT, got \"" + assignment + "\"");
  const std::string key = assignment.substr(0, eq);
  const utString text = assignment.substr(eq + 1);
  const zynParameterPtr p = find_key(root, key);
  if (p->is_locked()) throw zynToolError(key + " is locked");
  if (zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(p.pointer())) {
    ref->set_ref_string(!text.empty() && text[0] == '&' ? text.substr(1) : text);
    return;
  }
  const zynParameterType t = zynParameter::get_type(*p);
  if (t != PT_STRING && t != PT_NUMERIC && t != PT_ENUM) throw zynToolError(key + " holds no single value");
  // The states of an enumeration are the host's; a file knows only the saved one.
  zynParameterEnum* choice = zynParameterEnum::ut_dynamic_cast(p.pointer());
  if (choice && choice->find_index(text) < 0) choice->add_state(text, utString(), utString(), utString());
  p->set_string(text);
  if (zyn_tool_text(p) != text && !p->is_valid()) throw zynToolError(key + " does not take \"" + text + "\"");
}

int run_set(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  for (const std::string& assignment : a.keys) set_one(f.root, assignment);
  zynToolSaveOptions options;
  options.typeinfo = f.typeinfo;
  options.compact = f.compact;
  zyn_tool_save(*zynParameterRoot::ut_dynamic_cast(f.root.pointer()), a.out.empty() ? a.file : a.out, options);
  return 0;
}

int run_xml(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  const utString xml = zynParameter::to_xml(a.key.empty() ? f.root : find_key(f.root, a.key));
  std::cout << xml << (xml.empty() || xml.back() != '\n' ? "\n" : "");
  return 0;
}

int run_convert(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  zynToolSaveOptions options;
  options.compact = a.compact;
  options.typeinfo = a.typeinfo;
  options.evaluate = a.evaluate;
  zyn_tool_save(*zynParameterRoot::ut_dynamic_cast(f.root.pointer()), a.out, options);
  return 0;
}

int run_diff(const zynToolArgs& a) {
  const zynToolFile first = zyn_tool_load(a.file);
  const zynToolFile second = zyn_tool_load(a.other);
  std::ostringstream out;
  int count = 0;
  {
    zynToolScope scope(first.root);
    count = zyn_tool_diff(first.root, second.root, out);
  }
  std::cout << out.str();
  return count ? 1 : 0;
}

int run_explain(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  zyn_tool_explain(find_key(f.root, a.key), std::cout);
  return 0;
}

int run_graph(const zynToolArgs& a) {
  const zynToolFile f = zyn_tool_load(a.file);
  zynToolScope scope(f.root);
  zyn_tool_graph(a.key.empty() ? f.root : find_key(f.root, a.key), !a.key.empty(), std::cout);
  return 0;
}

CLI::App* add_command(CLI::App& app, const std::string& name, const std::string& help, zynToolArgs& a) {
  CLI::App* cmd = app.add_subcommand(name, help);
  cmd->add_option("FILE", a.file, "Saved parameter file")->required()->check(CLI::ExistingFile);
  return cmd;
}

void build_commands(CLI::App& app, zynToolArgs& a, int (*&command)(const zynToolArgs&)) {
  auto on = [&command](CLI::App* cmd, int (*fn)(const zynToolArgs&)) { cmd->callback([&command, fn] { command = fn; }); };
  CLI::App* show = add_command(app, "show", "Print the tree or a subtree: stored text and evaluated value", a);
  show->add_option("KEY", a.key, "Key of the subtree (such as Tool or Levels[1])");
  on(show, run_show);
  CLI::App* get = add_command(app, "get", "Print evaluated values, one per line", a);
  get->add_option("KEY", a.keys, "Keys of the parameters")->required();
  on(get, run_get);
  CLI::App* eval = add_command(app, "eval", "Evaluate an expression in the scope of the file's root", a);
  eval->add_option("EXPR", a.expr, "Expression, such as \"Depth / StepDown\"")->required();
  on(eval, run_eval);
  on(add_command(app, "check", "List every problem of the tree; exit status 1 when any", a), run_check);
  CLI::App* set = add_command(app, "set", "Change values and save (the file is replaced atomically)", a);
  set->add_option("ASSIGNMENT", a.keys, "KEY=TEXT: the new stored text of KEY")->required();
  set->add_option("-o,--output", a.out, "Write to this file instead of replacing FILE");
  on(set, run_set);
  CLI::App* xml = add_command(app, "xml", "Print the XML export of the tree or a subtree", a);
  xml->add_option("KEY", a.key, "Key of the subtree");
  on(xml, run_xml);
  CLI::App* convert = add_command(app, "convert", "Save the tree again with other options", a);
  convert->add_option("-o,--output", a.out, "Output file")->required();
  convert->add_flag("--compact", a.compact, "No line breaks or indentation");
  convert->add_flag("--typeinfo", a.typeinfo, "Write type, description and lock with every entry");
  convert->add_flag("--evaluate", a.evaluate, "Write evaluated values instead of expressions");
  on(convert, run_convert);
  CLI::App* diff = add_command(app, "diff", "Show what differs between two files, key by key", a);
  diff->add_option("B", a.other, "Second file")->required()->check(CLI::ExistingFile);
  on(diff, run_diff);
  CLI::App* explain = add_command(app, "explain", "Show why a value is what it is: everything it reads", a);
  explain->add_option("KEY", a.key, "Key of the parameter")->required();
  on(explain, run_explain);
  CLI::App* graph = add_command(app, "graph", "Print the dependency graph as Graphviz DOT", a);
  graph->add_option("KEY", a.key, "Only this parameter and what it reads");
  on(graph, run_graph);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zynparam: inspect, check and edit saved parameter files", "zynparam"};
  app.set_version_flag("--version", std::string("zynparam ") + ZYN_TOOL_VERSION);
  app.require_subcommand(1);
  zynToolArgs args;
  int (*command)(const zynToolArgs&) = nullptr;
  build_commands(app, args, command);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    std::cerr << "zynparam: " << e.what() << " (see zynparam --help)\n";
    return 2;
  }
  try {
    return command ? command(args) : 2;
  } catch (const zynToolError& e) {
    std::cerr << "zynparam: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "zynparam: " << e.what() << "\n";
  }
  return 2;
}

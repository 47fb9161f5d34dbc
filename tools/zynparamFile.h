// Reading and writing saved parameter files for the zynparam tool.
//
// A file is loaded into a zynParameterOpenRoot of the root type and version
// its header names, so a file saved without type information loads with
// nothing dropped, whatever its schema.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "zyn/zyn.h"

// A failure the user is told about in one line (exit status 2).
class zynToolError : public std::runtime_error {
 public:
  explicit zynToolError(const std::string& message) : std::runtime_error(message) {}
};

// An edit refused because the value it gives fails or changes kind (exit status 1).
class zynToolRefusal : public std::runtime_error {
 public:
  explicit zynToolRefusal(const std::string& message) : std::runtime_error(message) {}
};

// A loaded file: its root, the keys whose values could not be applied,
// what a rewrite of it would lose and its text.
struct zynToolFile {
  zynParameterPtr root;
  utStringcoSList failed;
  std::vector<std::string> losses;
  std::string text;
  std::string bom;  // the byte-order mark the file began with, if any
};

// Loads "path" ("-": standard input) into a new root. Throws zynToolError for a missing or
// unreadable file, a syntax error (with line and column) or a file that is no
// saved tree.
zynToolFile zyn_tool_load(const std::string& path);
// Loads the saved text "text"; "name" stands for it in messages.
zynToolFile zyn_tool_load_text(const std::string& text, const std::string& name);

// Returns the text of "root" saved with the given options, or throws.
struct zynToolSaveOptions {
  int compact = 0;
  int typeinfo = 0;
  int evaluate = 0;
};
std::string zyn_tool_saved_text(const zynParameterRoot& root, const zynToolSaveOptions& options);

// The file a command writes, replaced as a whole or not at all. The
// constructor follows symbolic links to the file they name, refuses what is
// not a regular file, a file with other hard links or without write
// permission (the last two unless "force"), and takes the lock TARGET.lock
// (created exclusively, so a second writer fails at once). commit() writes
// the lock file, syncs it, renames it over the target and syncs the
// directory; the lock is thus the temporary file, and it is removed on every
// failure and on a signal that ends the process. "-" is standard output.
class zynToolOutput {
 public:
  zynToolOutput(const std::string& path, bool force);
  ~zynToolOutput();
  zynToolOutput(const zynToolOutput&) = delete;
  zynToolOutput& operator=(const zynToolOutput&) = delete;
  void commit(const std::string& data);

 private:
  void write_all(int fd, const std::string& data);
  [[noreturn]] void fail(const std::string& reason);

  std::string m_path;    // as given, for messages
  std::string m_target;  // the file replaced
  std::string m_lock;
  int m_fd = -1;
  bool m_in_place = false;  // other hard links: the content is written into the file itself
  bool m_exists = false;
};

// Returns the parameter at "key", or throws zynToolError naming the nearest
// existing keys.
zynParameterPtr zyn_tool_find(const zynParameterPtr& root, const std::string& key);


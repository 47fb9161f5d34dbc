#include "zynparamFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "zynparamText.h"

namespace {

std::string read_file(const std::string& path) {
  if (path == "-") {
    std::ostringstream text;
    text << std::cin.rdbuf();
    if (std::cin.bad()) throw zynToolError("standard input: cannot read");
    return text.str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw zynToolError(path + ": cannot open file: " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw zynToolError(path + ": cannot read file");
  return text.str();
}

// Line "line" (from 1) of "text" and a caret under column "column" (from 1),
// each on a line of its own; tabs stay so that the caret lines up.
std::string caret_lines(const std::string& text, int line, int column) {
  if (line < 1 || column < 1) return std::string();
  size_t begin = 0;
  for (int i = 1; i < line; ++i) {
    const size_t end = text.find('\n', begin);
    if (end == std::string::npos) return std::string();
    begin = end + 1;
  }
  std::string shown = text.substr(begin, text.find('\n', begin) - begin);
  if (!shown.empty() && shown.back() == '\r') shown.pop_back();
  if (shown.empty() || shown.size() > 200) return std::string();  // a compact file is one long line
  std::string under;
  for (size_t i = 0; i + 1 < static_cast<size_t>(column) && i < shown.size(); ++i) under += shown[i] == '\t' ? '\t' : ' ';
  return "\n" + shown + "\n" + under + "^";
}

std::string load_failure(const std::string& path, zynParameterSerialError e, const zynParameterSerializer& s,
                         const std::string& text) {
  const std::string where = path + ":" + std::to_string(s.get_error_line()) + ":" +
                            std::to_string(s.get_error_column()) + ": ";
  const std::string caret = caret_lines(text, s.get_error_line(), s.get_error_column());
  switch (e) {
    case PSE_SYNTAX:
      return where + "syntax error" + caret;
    case PSE_STREAM:
      return where + "unexpected end of file" + caret;
    default:
      return path + ": not a saved parameter file";
  }
}

}  // namespace

zynToolFile zyn_tool_load_text(const std::string& file_text, const std::string& name) {
  // A byte-order mark some editors put first is no part of the text; a
  // rewrite puts it back.
  const std::string bom = "\xEF\xBB\xBF";
  const bool has_bom = file_text.compare(0, bom.size(), bom) == 0;
  const std::string text = has_bom ? file_text.substr(bom.size()) : file_text;
  // The receiving root takes the root type and version the header names.
  zynParameterSerializer serializer;
  std::istringstream head(text);
  const zynParameterSerialError header_error = serializer.read_header(head);
  if (header_error != PSE_OK) throw zynToolError(load_failure(name, header_error, serializer, text));
  const zynParameterSerialHeader& header = serializer.get_header();
  zynParameterPtr root(new zynParameterOpenRoot(header.root_type, header.version, utString()));
  std::istringstream in(text);
  zynParameterRoot& tree = *zynParameterRoot::ut_dynamic_cast(root.pointer());
  const zynParameterSerialError e = serializer.load(tree, in, 0);
  if (e != PSE_OK && e != PSE_FAILED_PARS) throw zynToolError(load_failure(name, e, serializer, text));
  zynToolFile file;
  file.root = root;
  file.failed = serializer.failed_pars();
  for (const utString& key : file.failed) file.losses.push_back("the value of \"" + key + "\"");
  const zynToolText scan(text);
  file.losses.insert(file.losses.end(), scan.losses().begin(), scan.losses().end());
  file.text = text;
  if (has_bom) file.bom = bom;
  return file;
}

zynToolFile zyn_tool_load(const std::string& path) {
  return zyn_tool_load_text(read_file(path), path == "-" ? "standard input" : path);
}

std::string zyn_tool_saved_text(const zynParameterRoot& root, const zynToolSaveOptions& options) {
  zynParameterSerializer serializer;
  serializer.set_compact_mode(options.compact);
  serializer.set_save_typeinfo(options.typeinfo);
  serializer.set_evaluate(options.evaluate);
  serializer.set_save_inactive(1);
  std::ostringstream out;
  if (serializer.save(root, out) != PSE_OK) throw zynToolError("the tree cannot be saved");
  return out.str();
}

// --- Replacing a file ---------------------------------------------------------------

namespace {

// The lock of the write under way, for the signal handler (which may only
// call async-signal-safe functions).
char g_lock_path[4096];

void remove_lock_and_die(int sig) {
  if (g_lock_path[0]) ::unlink(g_lock_path);
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void guard_signals(const std::string& lock) {
  if (lock.size() >= sizeof g_lock_path) throw zynToolError(lock + ": path too long");
  std::memcpy(g_lock_path, lock.c_str(), lock.size() + 1);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) ::signal(sig, remove_lock_and_die);
  // A file past the size limit is a write error to report, not a reason to die.
  ::signal(SIGXFSZ, SIG_IGN);
}

bool is_special(const std::filesystem::path& path) {
  const std::string text = std::filesystem::absolute(path).lexically_normal().string();
  return text.rfind("/dev/", 0) == 0 || text.rfind("/proc/", 0) == 0;
}

// Follows symbolic links (at most 40, as the kernel does) to the path they name.
std::string follow_links(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at(path);
  std::error_code ec;
  for (int i = 0; i < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++i) {
    // Descriptors and devices ("/dev/stdout", "/proc/self/fd/1") are streams, not files to replace.
    if (is_special(at)) return std::string();
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) break;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return is_special(at) ? std::string() : at.string();
}

std::string directory_of(const std::string& path) {
  const std::string dir = std::filesystem::path(path).parent_path().string();
  return dir.empty() ? "." : dir;
}

}  // namespace

zynToolOutput::zynToolOutput(const std::string& path, bool force) : m_path(path) {
  if (path == "-") return;
  m_target = follow_links(path);
  if (m_target.empty()) throw zynToolError(path + ": not a regular file");
  struct stat st;
  m_exists = ::stat(m_target.c_str(), &st) == 0;
  if (m_exists && !S_ISREG(st.st_mode)) throw zynToolError(path + ": not a regular file");
  if (m_exists && st.st_nlink > 1 && !force)
    throw zynToolError(path + ": has " + std::to_string(st.st_nlink - 1) +
                       " other hard link(s) that a replacement would split (--force writes it in place)");
  if (m_exists && (::access(m_target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) && !force)
    throw zynToolError(path + ": no write permission (--force replaces it)");
  m_in_place = m_exists && st.st_nlink > 1;
  m_lock = m_target + ".lock";
  m_fd = ::open(m_lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (m_fd < 0 && errno == EEXIST)
    throw zynToolError(m_lock + " exists: another zynparam is writing " + path + " (remove the lock if none is)");
  if (m_fd < 0) throw zynToolError(path + ": cannot write file: " + std::strerror(errno));
  guard_signals(m_lock);
  if (!m_exists) return;
  // The new file keeps the owner, group and mode of the one it replaces.
  if (::fchown(m_fd, ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1), st.st_gid) != 0 && ::geteuid() == 0)
    fail(std::strerror(errno));
  ::fchmod(m_fd, st.st_mode & 07777);
}

zynToolOutput::~zynToolOutput() {
  if (m_fd >= 0) ::close(m_fd);
  if (!m_lock.empty()) ::unlink(m_lock.c_str());
  g_lock_path[0] = '\0';
}

void zynToolOutput::fail(const std::string& reason) {
  throw zynToolError(m_path + ": cannot write file: " + reason);
}

void zynToolOutput::write_all(int fd, const std::string& data) {
  for (size_t done = 0; done < data.size();) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(std::strerror(n < 0 ? errno : ENOSPC));
    done += static_cast<size_t>(n);
  }
}

void zynToolOutput::commit(const std::string& data) {
  if (m_path == "-") {
    std::cout << data << std::flush;
    if (!std::cout) throw zynToolError("standard output: cannot write");
    return;
  }
  write_all(m_fd, data);
  if (::fsync(m_fd) != 0) fail(std::strerror(errno));
  if (m_in_place) {
    // The verified copy stays in the lock file until the file itself holds it.
    const int fd = ::open(m_target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) fail(std::strerror(errno));
    try {
      write_all(fd, data);
    } catch (...) {
      ::close(fd);
      throw;
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced) fail(std::strerror(errno));
    return;
  }
  const int rc = ::close(m_fd);
  m_fd = -1;
  if (rc != 0) fail(std::strerror(errno));
  if (std::rename(m_lock.c_str(), m_target.c_str()) != 0) fail(std::strerror(errno));
  m_lock.clear();  // renamed: it is the file now, and another writer may take a new lock
  g_lock_path[0] = '\0';
  const int dir = ::open(directory_of(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

#include "zyn/host/zynFileDir.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "zyn/host/zynCharTypes.h"

namespace fs = std::filesystem;

namespace {

bool wants(const fs::directory_entry& entry, zynFileDirIterType type) {
  std::error_code ec;
  switch (type) {
    case zynFileDirIterFiles:
      return entry.is_regular_file(ec);
    case zynFileDirIterDirs:
      return entry.is_directory(ec);
    default:
      return true;
  }
}

// Matches with one saved star position: on a mismatch the last "*" takes one
// more character. Time is bounded by the product of the lengths.
bool match(const std::wstring& p, const std::wstring& s) {
  size_t pi = 0, si = 0;
  size_t star = std::wstring::npos, star_s = 0;
  while (si < s.size()) {
    if (pi < p.size() && (p[pi] == L'?' || (p[pi] != L'*' && p[pi] == s[si]))) {
      ++pi, ++si;
    } else if (pi < p.size() && p[pi] == L'*') {
      star = pi++;
      star_s = si;
    } else if (star != std::wstring::npos) {
      pi = star + 1;
      si = ++star_s;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

}  // namespace

zynFileDir::zynFileDir() { set_cwd(); }

zynFileDir::zynFileDir(const utString& path, const apIStringEncoding*) : m_path(path) {}

int zynFileDir::is_dir() const {
  std::error_code ec;
  return !m_path.empty() && fs::is_directory(fs::path(m_path), ec);
}

int zynFileDir::is_file() const {
  std::error_code ec;
  return !m_path.empty() && fs::is_regular_file(fs::path(m_path), ec);
}

int zynFileDir::set_cwd() {
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  if (ec) return 0;
  m_path = cwd.string();
  return 1;
}

zynFileDirIter::zynFileDirIter(const zynFileDir& dir, zynFileDirIterType type, const utString& pattern) {
  if (dir.get().empty()) return;
  const std::wstring wide_pattern = zynMultiByteToWideChar::convert(pattern);
  std::vector<fs::path> names;
  std::error_code ec;
  const fs::path base(dir.get());
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path name = it->path().filename();
    if (!wants(*it, type)) continue;
    if (!wide_pattern.empty() && !match(wide_pattern, zynMultiByteToWideChar::convert(name.string()))) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
  m_entries.reserve(names.size());
  for (const fs::path& name : names) m_entries.push_back((base / name).string());
}

int zynFileDirIter::operator++() {
  if (m_next <= m_entries.size()) ++m_next;
  return m_next <= m_entries.size();
}

zynFileDir zynFileDirIter::operator()() const {
  if (m_next == 0 || m_next > m_entries.size()) return zynFileDir(utString());
  return zynFileDir(m_entries[m_next - 1]);
}

int zyn_wildcard_match(const utString& pattern, const utString& name) {
  return match(zynMultiByteToWideChar::convert(pattern), zynMultiByteToWideChar::convert(name));
}

// Files and directories for the file built-ins: a path that can be asked
// whether it names a directory or a file, and an iterator over the entries
// of a directory filtered by kind and by a wildcard pattern. Nothing here
// throws; a path the system cannot read is neither a file nor a directory
// and has no entries.
#pragma once

#include <vector>

#include "zyn/host/utString.h"
#include "zyn/host/zynAppString.h"

// A path in the file system. The path is kept as given; it need not exist.
class ZYN_EXPORT zynFileDir {
 public:
  // The current working directory (empty when it cannot be read).
  zynFileDir();
  // The path "path". File names are UTF-8; "encoding" is accepted for the
  // host framework's sake and not needed.
  explicit zynFileDir(const utString& path, const apIStringEncoding* encoding = nullptr);

  // Returns the path text.
  const utString& get() const { return m_path; }

  // Return non-zero when the path names an existing directory, or an
  // existing regular file; symbolic links are followed.
  int is_dir() const;
  int is_file() const;

  // Makes this the current working directory's path. Returns non-zero on
  // success; on failure the path is left unchanged.
  int set_cwd();

 private:
  utString m_path;
};

// Which entries a zynFileDirIter yields. The numbers follow the kinds of the
// file-listing built-in.
enum zynFileDirIterType : int {
  zynFileDirIterAll = 0,    // files, directories and anything else
  zynFileDirIterFiles = 1,  // regular files (or links to them)
  zynFileDirIterDirs = 2    // directories (or links to them)
};

// Walks the entries of one directory (not recursively) whose names match
// "pattern", in ascending byte order of their names. The entries are read
// when the iterator is made. The iterator starts before the first entry:
//
//   zynFileDirIter it(zynFileDir("/data"), zynFileDirIterFiles, "*.txt");
//   while (++it) use(it().get());   // "/data/a.txt", "/data/b.txt", ...
//
// Patterns: "*" matches any run of characters (none included), "?" exactly
// one character, everything else itself, case-sensitively. An empty pattern
// matches every name.
class ZYN_EXPORT zynFileDirIter {
 public:
  zynFileDirIter(const zynFileDir& dir, zynFileDirIterType type = zynFileDirIterAll, const utString& pattern = "*");

  // Moves to the next entry. Returns non-zero while an entry is current, 0
  // once the entries are exhausted.
  int operator++();

  // Returns the current entry, its path being the directory's path joined
  // with the entry's name; an empty path when no entry is current.
  zynFileDir operator()() const;

 private:
  std::vector<utString> m_entries;
  size_t m_next = 0;  // one past the current entry
};

// Returns non-zero when "name" matches the wildcard "pattern" ("*" and "?"
// over characters, as zynFileDirIter matches). An empty pattern matches only
// an empty name.
ZYN_EXPORT int zyn_wildcard_match(const utString& pattern, const utString& name);

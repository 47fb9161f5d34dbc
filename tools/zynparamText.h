// The saved text of a parameter file as the zynparam tool edits it: where
// each value stands, byte by byte, and what a load of it would not keep.
// "set" replaces the byte ranges of the values it changes and nothing else,
// so descriptions, number texts, line ends, layout and order stay as written.
#pragma once

#include <string>
#include <vector>

#include "zyn/zyn.h"

// A byte range [begin, end) of the text: a quoted value, quotes included.
struct zynToolSpan {
  size_t begin = 0;
  size_t end = 0;
};

// The entries and values of a saved text, read with the grammar of
// zynParameterSerializer.h. Made from a text that the library loaded.
class zynToolText {
 public:
  explicit zynToolText(const std::string& text);

  // Returns 1 and the range of the value of the entry "key" (canonical, as
  // "Tool.Holder.Length" or "Levels[1]"), or 0 when it has no value of its own.
  int find(const utString& key, zynToolSpan& span) const;
  // Returns 1 and the range of the header's "time" value, or 0.
  int find_time(zynToolSpan& span) const { return find_in(0, "time", span); }
  // What a load of the text loses: a key given twice, a header entry the
  // header does not keep, content after the tree. Empty when nothing is lost.
  const std::vector<std::string>& losses() const { return m_losses; }

  // Returns the text of a quoted value that holds "value" (escaped).
  static std::string quote(const utString& value);

 private:
  // One entry (or array slot) of the text; index 0 is the header, 1 the tree.
  struct Node {
    size_t parent;
    utString component;  // canonical name, or "[i]"
    zynToolSpan value;   // empty for containers
  };

  void skip_space();
  int read_quoted(utString& out);
  size_t read_value(size_t node, int depth);
  void read_map(size_t node, int depth);
  void read_array(size_t node, int depth);
  size_t add_node(size_t parent, const utString& component);
  int find_in(size_t parent, const utString& component, zynToolSpan& span) const;
  utString key_of(size_t node) const;

  const std::string& m_text;
  size_t m_at = 0;
  bool m_failed = false;
  std::vector<Node> m_nodes;
  size_t m_header_end = 2;  // the header's entries come first
  std::vector<std::string> m_losses;
};

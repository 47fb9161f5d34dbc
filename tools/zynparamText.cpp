#include "zynparamText.h"

#include <cctype>
#include <unordered_set>

namespace {

// The reader stops here; the library refuses deeper texts before.
constexpr int max_depth = zynParameterSerializer::max_nesting + 1;

bool is_header_entry(const utString& name) { return name == "type" || name == "version" || name == "time"; }

}  // namespace

zynToolText::zynToolText(const std::string& text) : m_text(text) {
  m_nodes.push_back(Node{0, utString(), zynToolSpan()});  // the header
  m_nodes.push_back(Node{1, utString(), zynToolSpan()});  // the tree
  read_value(0, 0);
  m_header_end = m_nodes.size();
  read_value(1, 0);
  skip_space();
  if (!m_failed && m_at < m_text.size()) m_losses.push_back("content after the tree at byte " + std::to_string(m_at));
}

std::string zynToolText::quote(const utString& value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

void zynToolText::skip_space() {
  while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
}

int zynToolText::read_quoted(utString& out) {
  skip_space();
  if (m_at >= m_text.size() || m_text[m_at] != '"') return 0;
  for (++m_at; m_at < m_text.size() && m_text[m_at] != '"'; ++m_at) {
    if (m_text[m_at] == '\\' && ++m_at >= m_text.size()) break;
    out += m_text[m_at];
  }
  return m_at++ < m_text.size();
}

size_t zynToolText::add_node(size_t parent, const utString& component) {
  m_nodes.push_back(Node{parent, component, zynToolSpan()});
  return m_nodes.size() - 1;
}

// value -> map | array | string
size_t zynToolText::read_value(size_t node, int depth) {
  skip_space();
  if (m_failed || m_at >= m_text.size() || depth > max_depth) {
    m_failed = true;
    return node;
  }
  if (m_text[m_at] == '{') {
    read_map(node, depth + 1);
  } else if (m_text[m_at] == '(') {
    read_array(node, depth + 1);
  } else {
    const size_t begin = m_at;
    utString ignored;
    if (!read_quoted(ignored)) m_failed = true;
    m_nodes[node].value = zynToolSpan{begin, m_at};
  }
  return node;
}

// map -> "{" [entry {"," entry}] "}"; entry -> name [type [desc [lock]]] ":" value
void zynToolText::read_map(size_t node, int depth) {
  ++m_at;
  std::unordered_set<utString> names;
  for (skip_space(); !m_failed && m_at < m_text.size() && m_text[m_at] != '}'; skip_space()) {
    utString name;
    if (!read_quoted(name)) break;
    const zynParameterKey key(name);
    const utString component = key.str().empty() ? name : key.str();
    if (!names.insert(component).second) {
      const std::string where = node == 0 ? "the header" : node == 1 ? "the tree" : "\"" + key_of(node) + "\"";
      m_losses.push_back("the first of two entries \"" + name + "\" in " + where);
    }
    if (node == 0 && !is_header_entry(name)) m_losses.push_back("the header entry \"" + name + "\"");
    utString field;  // type, description and lock id, which stay as written
    while (read_quoted(field)) field.clear();
    skip_space();
    if (m_at >= m_text.size() || m_text[m_at] != ':') break;
    ++m_at;
    read_value(add_node(node, component), depth);
    skip_space();
    if (m_at < m_text.size() && m_text[m_at] == ',') ++m_at;
  }
  if (m_at >= m_text.size() || m_text[m_at] != '}') m_failed = true;
  ++m_at;
}

// array -> "(" [slot {"," slot}] ")"
void zynToolText::read_array(size_t node, int depth) {
  ++m_at;
  for (int i = 0;; ++i) {
    skip_space();
    if (m_failed || m_at >= m_text.size() || m_text[m_at] == ')') break;
    if (m_text[m_at] != ',') {
      read_value(add_node(node, "[" + std::to_string(i) + "]"), depth);
      skip_space();
    }
    if (m_at < m_text.size() && m_text[m_at] == ',') ++m_at;
  }
  if (m_at >= m_text.size() || m_text[m_at] != ')') m_failed = true;
  ++m_at;
}

utString zynToolText::key_of(size_t node) const {
  utString key;
  for (; node > 1; node = m_nodes[node].parent) {
    const utString& c = m_nodes[node].component;
    key.insert(0, !key.empty() && key[0] != '[' ? c + "." : c);
  }
  return key;
}

int zynToolText::find_in(size_t parent, const utString& component, zynToolSpan& span) const {
  for (size_t i = 2; i < m_nodes.size(); ++i) {
    if (m_nodes[i].parent != parent || m_nodes[i].component != component || m_nodes[i].value.end == 0) continue;
    span = m_nodes[i].value;
    return 1;
  }
  return 0;
}

// The last value given for a key is the one a load keeps.
int zynToolText::find(const utString& key, zynToolSpan& span) const {
  for (size_t i = m_nodes.size(); i-- > m_header_end;) {
    if (m_nodes[i].value.end == 0 || key_of(i) != key) continue;
    span = m_nodes[i].value;
    return 1;
  }
  return 0;
}

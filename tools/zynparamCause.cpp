// Finds where a failing expression fails: the shortest run of operands that
// fails by itself, or a name that resolves to nothing. The library's error
// value says only what kind of failure ends the evaluation ("Expression/
// Reference error" from a function whose argument divides by zero); this
// re-evaluates the pieces of the text, shortest first, to find the cause.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "zynparamInspect.h"

namespace {

// A token of the text: an operand (a name, number, string or bracket group,
// with a call's or index's brackets) or an operator.
struct zynCauseToken {
  size_t begin = 0;
  size_t end = 0;
  size_t name_end = 0;  // end of the bare name of a call, else "end"
  bool op = false;
};

// Candidate spans grow quadratically with the operands of a segment; the
// evaluations are bounded so that a long text still answers at once.
constexpr size_t kMaxCandidates = 2000;
// Brackets nested deeper are not searched (each level scans its text once).
constexpr int kMaxDepth = 100;

bool is_op_char(char c) { return std::strchr("+-*/^<>=!&|%?~", c) != nullptr && c != '\0'; }

bool is_alpha_op(const utString& word) {
  utString upper = word;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return zynEvaluator::equiv_alpha_ops().count(upper) > 0;
}

size_t skip_string(const utString& text, size_t at, size_t end) {
  const char quote = text[at];
  for (++at; at < end; ++at) {
    if (text[at] == '\\') ++at;
    else if (text[at] == quote) return at + 1;
  }
  return end;
}

size_t matching_close(const utString& text, size_t at, size_t end) {
  int depth = 0;
  for (size_t i = at; i < end;) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      i = skip_string(text, i, end);
      continue;
    }
    if (c == '(' || c == '[' || c == '{') ++depth;
    if ((c == ')' || c == ']' || c == '}') && --depth == 0) return i + 1;
    ++i;
  }
  return std::string::npos;
}

size_t word_end(const utString& text, size_t at, size_t end) {
  const bool number = std::isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.';
  size_t i = at;
  while (i < end) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c)) || is_op_char(c) || std::strchr("()[]{};,\"'", c)) {
      // "1e-3" is one number.
      const bool exponent = number && (c == '-' || c == '+') && i > at && (text[i - 1] == 'e' || text[i - 1] == 'E');
      if (!exponent) break;
    }
    ++i;
  }
  return i;
}

class zynCauseFinder {
 public:
  explicit zynCauseFinder(const utString& text) : m_text(text) {
    level(0, text.size(), 0);
    add_runs();
  }

  // Candidate spans, shortest first; the names of calls carry "name".
  struct Span {
    size_t begin, end;
    bool name;
  };
  // Pieces of a text whose brackets do not pair are no expressions; a text
  // nested too deeply is not searched either.
  bool unbalanced() const { return m_unbalanced; }

  std::vector<Span> spans() const {
    std::vector<Span> out = m_spans;
    std::stable_sort(out.begin(), out.end(), [](const Span& a, const Span& b) { return a.end - a.begin < b.end - b.begin; });
    return out;
  }

 private:
  // Splits [begin, end) into segments at ";" and ",", and notes their runs.
  void level(size_t begin, size_t end, int depth) {
    if (depth > kMaxDepth) {
      m_unbalanced = true;  // not searched: no piece is offered
      return;
    }
    std::vector<zynCauseToken> segment;
    for (size_t i = begin; i < end;) {
      const char c = m_text[i];
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (c == ';' || c == ',') {
        note_runs(segment);
        segment.clear();
        ++i;
      } else if (c == ')' || c == ']' || c == '}') {
        m_unbalanced = true;
        ++i;
      } else if (c == '(' || c == '[' || c == '{') {
        size_t close = matching_close(m_text, i, end);
        if (close == std::string::npos) {
          m_unbalanced = true;
          close = end;
        }
        level(i + 1, close - 1, depth + 1);
        // A call or an index belongs to the operand it follows directly.
        if (!segment.empty() && !segment.back().op && segment.back().end == i) {
          segment.back().end = close;
        } else {
          segment.push_back({i, close, close, false});
        }
        i = close;
      } else if (c == '"' || c == '\'') {
        const size_t close = skip_string(m_text, i, end);
        segment.push_back({i, close, close, false});
        i = close;
      } else if (is_op_char(c)) {
        size_t j = i;
        while (j < end && is_op_char(m_text[j])) ++j;
        segment.push_back({i, j, j, true});
        i = j;
      } else {
        const size_t j = std::max(word_end(m_text, i, end), i + 1);
        if (!segment.empty() && !segment.back().op && segment.back().end == i) {
          segment.back().end = j;  // ".D" of "Tools[1].D"
          segment.back().name_end = j;
        } else {
          segment.push_back({i, j, j, is_alpha_op(m_text.substr(i, j - i))});
        }
        i = j;
      }
    }
    note_runs(segment);
  }

  void note_runs(const std::vector<zynCauseToken>& segment) {
    std::vector<zynCauseToken> operands;
    for (const zynCauseToken& t : segment) {
      if (t.op) continue;
      operands.push_back(t);
      if (t.name_end != t.end) add({t.begin, t.name_end, true});
    }
    if (operands.empty()) return;
    add({operands.front().begin, operands.back().end, false});  // an argument or a bracket's content
    m_segments.push_back(std::move(operands));
  }

  void add(const Span& span) {
    if (m_spans.size() < kMaxCandidates) m_spans.push_back(span);
  }

  // Runs of one operand first, then of two, ... across all segments, so
  // that the bound on their number drops the longest.
  void add_runs() {
    for (size_t count = 1; m_spans.size() < kMaxCandidates; ++count) {
      bool any = false;
      for (const std::vector<zynCauseToken>& operands : m_segments) {
        for (size_t i = 0; i + count <= operands.size(); ++i, any = true)
          add({operands[i].begin, operands[i + count - 1].end, false});
      }
      if (!any) return;
    }
  }

  std::vector<std::vector<zynCauseToken>> m_segments;
  bool m_unbalanced = false;
  const utString& m_text;
  std::vector<Span> m_spans;
};

bool is_plain_name(const utString& text) {
  if (text.empty() || !(std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_')) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; });
}

}  // namespace

utString zyn_tool_cause(const zynParameterPtr& scope, const utString& text, const zynParameterPtr& error) {
  const utString message = zyn_tool_message(error);
  const zynCauseFinder finder(text);
  if (finder.unbalanced()) return message;
  for (const zynCauseFinder::Span& span : finder.spans()) {
    const utString piece = text.substr(span.begin, span.end - span.begin);
    zynEvaluator evaluator(scope.pointer());
    const zynParameterPtr value = evaluator.evaluate(piece);
    // A name of a failing parameter: the chain of keys says where that fails.
    if (!value->is_error() && is_plain_name(piece) && !zyn_tool_failure(value).is_null()) return message;
    if (!value->is_error()) continue;
    const zynParameterSubType kind = zynParameter::get_subtype(*value);
    if (kind == PS_ERR_SYNTAX) continue;  // a piece that is no expression by itself
    if (kind == PS_ERR_NAME && is_plain_name(piece)) return "unknown name \"" + piece + "\"";
    if (span.name) continue;  // a function's name read as a value
    if (is_plain_name(piece) || piece.size() == text.size()) return message;
    return zyn_tool_message(value) + " in \"" + piece + "\" (column " + std::to_string(span.begin + 1) + ")";
  }
  return message;
}

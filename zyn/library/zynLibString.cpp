// Built-ins of the string and path group: length, slice, position, replace,
// ucase, lcase, substring, trim, ltrim, rtrim, tokens, sanitize,
// strip_new_lines, basename, dirname. The text work is done by the toolbox
// routines of zynText.h; results are new strings (tokens: a temporary array
// of strings). length and slice also take vectors and arrays. Their
// rows reach the registry through zyn_lib_string_builtins().
#include <algorithm>

#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/host/zynText.h"
#include "zyn/library/zynLibArgs_internal.h"
#include "zyn/library/zynLibrary_internal.h"
#include "zyn/library/zynParameterNameSanitizer.h"

using namespace zyn_lib_args;

namespace {

const char default_delimiters[] = " \t";
const char default_separator[] = "\\";

// Returns argument "i" when it stands for a scalar (numeric, string or
// enumeration), else null.
zynParameterPtr scalar_arg(const zynParameterPtr& args, int i) {
  zynParameterPtr held;
  return arg_as<zynParameterScalar>(args, i, held) ? held : zynParameterPtr();
}

// Returns argument "i" when it stands for a string, else null.
zynParameterPtr string_arg(const zynParameterPtr& args, int i) {
  zynParameterPtr held;
  return arg_as<zynParameterString>(args, i, held) ? held : zynParameterPtr();
}

// --- Length and slices ---------------------------------------------------------

// length(v) -> |v| for a 3-vector; length(s) -> the number of characters of s.
zynParameterPtr length_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr x = target(arg(args, 0));
  if (zynParameterUtils::is_vector(*x)) {
    const giVector3 v = zynParameterUtils::to_givector3(*x);
    if (!v.is_set()) return bad_arguments();
    return new_number(PS_REAL, v.length());
  }
  if (!zynParameterScalar::ut_dynamic_cast(x.pointer())) return bad_arguments();
  return new_int(zynstring_length(x->get_string()));
}

// slice(x, start, end) -> the bytes (or elements) of x from start up to end.
zynParameterPtr slice_routine(const zynParameterPtr& args) {
  if (args->size() != 3) return bad_arguments();
  zynParameterPtr first_holder;
  zynParameterPtr last_holder;
  const zynParameterNumeric* first = arg_as<zynParameterNumeric>(args, 1, first_holder);
  const zynParameterNumeric* last = arg_as<zynParameterNumeric>(args, 2, last_holder);
  if (!first || !last) return bad_arguments();
  const int start = first->get_int();
  int end = last->get_int();
  if (start < 0 || end < 0 || start > end) return bad_arguments();
  zynParameterPtr x = target(arg(args, 0));
  if (zynParameterScalar::ut_dynamic_cast(x.pointer())) {
    const utString t = x->get_string();
    const int n = static_cast<int>(t.size());
    // A start past the end gives the empty text, as an end past it is cut back.
    end = std::min(end, n);
    if (start >= end) return new_string(utString());
    return new_string(t.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
  }
  // The end is cut back to the size as for texts: the array's own slice
  // would otherwise keep the whole front of the array.
  if (const zynParameterArray* a = zynParameterArray::ut_dynamic_cast(x.pointer()))
    return a->slice(start, std::min(end, a->size()));
  return bad_arguments();
}

// substring(s, start [, length]): positions and lengths out of range are
// corrected, never refused.
zynParameterPtr substring_routine(const zynParameterPtr& args) {
  const int count = args->size();
  if (count != 2 && count != 3) return bad_arguments();
  zynParameterPtr s = scalar_arg(args, 0);
  zynParameterPtr start_holder;
  const zynParameterNumeric* start_arg = arg_as<zynParameterNumeric>(args, 1, start_holder);
  if (s.is_null() || !start_arg) return bad_arguments();
  const utString t = s->get_string();
  const int n = zynstring_length(t);
  int start = start_arg->get_int();
  if (start < 0 || start > n) start = n;
  int length = n - start;
  zynParameterPtr length_holder;
  if (count == 3) {
    const zynParameterNumeric* length_arg = arg_as<zynParameterNumeric>(args, 2, length_holder);
    const int wanted = length_arg ? length_arg->get_int() : -1;
    if (wanted >= 0 && wanted <= n - start) length = wanted;
  }
  return new_string(zynsubstring(t, start, length));
}

// --- Search and replace ----------------------------------------------------------

// position(s, target [, start]) -> the position of target in s; -1 when s or
// target is not a scalar.
zynParameterPtr position_routine(const zynParameterPtr& args) {
  const int count = args->size();
  if (count != 2 && count != 3) return bad_arguments();
  zynParameterPtr s = scalar_arg(args, 0);
  zynParameterPtr wanted = scalar_arg(args, 1);
  if (s.is_null() || wanted.is_null()) return new_int(-1);
  int start = 0;
  if (count == 3) {
    zynParameterPtr holder;
    const zynParameterNumeric* from = arg_as<zynParameterNumeric>(args, 2, holder);
    if (!from) return bad_arguments();
    start = from->get_int();
  }
  return new_int(zynpos(s->get_string(), wanted->get_string(), start));
}

// The size of "text" once every "from" is replaced by "to", found without
// building it.
size_t replaced_size(const utString& text, const utString& from, const utString& to) {
  const size_t count = zyncount_strings(text, from);
  return text.size() - count * from.size() + count * to.size();
}

zynParameterPtr replace_routine(const zynParameterPtr& args) {
  if (args->size() != 3) return bad_arguments();
  zynParameterPtr s = scalar_arg(args, 0);
  zynParameterPtr old_text = scalar_arg(args, 1);
  zynParameterPtr new_text = scalar_arg(args, 2);
  if (s.is_null() || old_text.is_null() || new_text.is_null()) return bad_arguments();
  utString t = s->get_string();
  const utString from = old_text->get_string(), to = new_text->get_string();
  if (replaced_size(t, from, to) > zyn_max_text_size) return bad_arguments();
  zynreplace_all_strings(t, from, to);
  return new_string(t);
}

// --- Case, trimming and cleaning ----------------------------------------------------

using TextEdit = utString& (*)(utString&);

// ucase, lcase, trim, ltrim, rtrim: one scalar, edited by "Edit".
template <TextEdit Edit>
zynParameterPtr edited(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr s = scalar_arg(args, 0);
  if (s.is_null()) return bad_arguments();
  utString t = s->get_string();
  return new_string(Edit(t));
}

zynParameterPtr sanitize_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr s = scalar_arg(args, 0);
  if (s.is_null()) return bad_arguments();
  return new_string(zynParameterNameSanitizer().sanitize(s->get_string()));
}

zynParameterPtr strip_new_lines_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr s = string_arg(args, 0);
  if (s.is_null()) return bad_arguments();
  utString t = s->get_string();
  zyndelete_all(t, '\r');
  zyndelete_all(t, '\n');
  return new_string(t);
}

// tokens(s [, delims]) -> the tokens of s between delimiters (space and tab
// by default), in order.
zynParameterPtr tokens_routine(const zynParameterPtr& args) {
  const int count = args->size();
  if (count != 1 && count != 2) return bad_arguments();
  zynParameterPtr s = string_arg(args, 0);
  zynParameterPtr delims = count == 2 ? string_arg(args, 1) : zynParameterPtr();
  if (s.is_null() || (count == 2 && delims.is_null())) return bad_arguments();
  utStringcoDList tokens;
  zyntokens(s->get_string(), count == 2 ? delims->get_string() : utString(default_delimiters), tokens);
  zynParameterPtr result(new zynParameterTempArray());
  for (const utString& token : tokens) result->add(zynParameterKey(-1, utString()), new_string(token));
  return result;
}

// --- Paths --------------------------------------------------------------------------

using PathPart = utString (*)(const utString&, const utString&);

// basename(path [, sep]) and dirname(path [, sep]); "\" separates by default.
template <PathPart Part>
zynParameterPtr path_part(const zynParameterPtr& args) {
  const int count = args->size();
  if (count != 1 && count != 2) return bad_arguments();
  zynParameterPtr path = string_arg(args, 0);
  if (path.is_null()) return bad_arguments();
  utString separators = default_separator;
  if (count == 2) {
    zynParameterPtr sep = string_arg(args, 1);
    separators = sep.is_null() ? utString() : sep->get_string();
  }
  if (separators.empty()) return bad_arguments();
  return new_string(Part(path->get_string(), separators));
}

constexpr zynLibBuiltin builtins[] = {
    {"length", &length_routine, 0, "Get length of string or vector."},
    {"slice", &slice_routine, 0, "Slice string or vector."},
    {"position", &position_routine, 0, "position(str, target[,start]) : Get position of 'target' in 'str'"},
    {"replace", &replace_routine, 0,
     "position(str, oldsubstr,newsubstr) : Replace all occurrences of oldsubstr with newsubstr."},
    {"ucase", &edited<zynupcase>, 0, "ucase(str) : Returns the uppercase version of the string."},
    {"lcase", &edited<zyndowncase>, 0, "lcase(str) : Returns the lowercase version of the string."},
    {"substring", &substring_routine, 0,
     "substring(str, start, length) : Returns the substring of length characters from start."},
    {"trim", &edited<zyntrim>, 0, "ltrim(str) : Removes leading and trailing spaces from str."},
    {"ltrim", &edited<zynltrim>, 0, "ltrim(str) : Removes leading spaces from the start of str."},
    {"rtrim", &edited<zynrtrim>, 0, "rtrim(str) : Removes trailing spaces from the end of str."},
    {"tokens", &tokens_routine, 0, "tokens(str) : Returns a list of delimited tokens str."},
    {"sanitize", &sanitize_routine, 0, "sanitize(string) : Returns sanitized version of string."},
    {"strip_new_lines", &strip_new_lines_routine, 0,
     "strip_new_lines(string) : Returns a version of the string with carriage returns removed."},
    {"basename", &path_part<zynbasename>, 0, "Strip directory from filepath strings."},
    {"dirname", &path_part<zynpathname>, 0, "Strip non-directory suffix from filepath strings."},
};

}  // namespace

zynLibBuiltinTable zyn_lib_string_builtins() { return zyn_lib_table(builtins); }

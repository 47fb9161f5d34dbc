// Built-ins of the system, time, file and sequence group: make_sequence,
// next_in_sequence, home, time, local_time, utc_time, time_to_string, pwd,
// list_files, file_exists, dir_exists, port_machining. They reach the
// environment, the clock (the C runtime) and the file system (zynFileDir).
// Calendar times are answered as "DateTime" maps of texts cut from
// "%Y-%m-%d-%H-%M-%S"; sequences are "Sequence" maps of three integers that
// next_in_sequence advances in place.
#include "zyn/library/zynLibrary_internal.h"

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>

#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/host/zynFileDir.h"
#include "zyn/host/zynText.h"
#include "zyn/library/zynLibArgs_internal.h"

using namespace zyn_lib_args;

namespace {

bool is_numeric(const zynParameterPtr& p) { return zynParameterNumeric::ut_dynamic_cast(p.pointer()) != nullptr; }
bool is_string(const zynParameterPtr& p) { return zynParameterString::ut_dynamic_cast(p.pointer()) != nullptr; }

// Converts to int, saturating; NaN gives 0. A plain conversion of a value
// out of range is undefined.
int saturate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int>(v);
}

// --- Environment and clock ----------------------------------------------------------

// home() -> the text of the environment variable HOME ("" when unset)
zynParameterPtr home_routine(const zynParameterPtr& args) {
  if (args->size() != 0) return bad_arguments();
  const char* value = std::getenv("HOME");
  return new_string(value ? value : "");
}

// time() -> the calendar time in seconds, an INT of dimension time
zynParameterPtr time_routine(const zynParameterPtr& args) {
  if (args->size() != 0) return bad_arguments();
  zynParameterPtr result = new_number(PS_INT, 0.0, ZYN_DIM_TIME);
  result->set_int(static_cast<int32_t>(std::time(nullptr)));
  return result;
}

using zynTimeConverter = std::tm* (*)(const std::time_t*, std::tm*);

// Member names of a DateTime map and where each is cut from the text.
struct zynDateField {
  const char* name;
  size_t start;
  size_t length;
};
constexpr zynDateField date_fields[] = {{"year", 0, 4},    {"month", 5, 2},  {"day", 8, 2},
                                        {"hour", 11, 2},   {"minute", 14, 2}, {"second", 17, 2}};
constexpr size_t timestamp_length = 19;  // 2024-03-05-14-07-09

// local_time(t) and utc_time(t) -> a DateTime map. A time the runtime cannot
// break down, or whose year does not fit four digits, is "Invalid data"
// rather than a formatted leftover of the buffer.
zynParameterPtr date_time(const zynParameterPtr& args, zynTimeConverter convert) {
  if (args->size() != 1 || !is_numeric(arg(args, 0))) return bad_arguments();
  const std::time_t t = arg(args, 0)->get_int();
  std::tm broken{};
  if (!convert(&t, &broken)) return bad_data();
  char buffer[32];
  if (std::strftime(buffer, sizeof buffer, "%Y-%m-%d-%H-%M-%S", &broken) != timestamp_length) return bad_data();
  const utString stamp(buffer, timestamp_length);
  zynParameterPtr map(new zynParameterMap());
  map->set_typename("DateTime");
  for (const zynDateField& f : date_fields)
    map->add(zynParameterKey(f.name), new_string(stamp.substr(f.start, f.length)));
  map->add(zynParameterKey("timestamp"), new_string(stamp));
  return map;
}

zynParameterPtr local_time_routine(const zynParameterPtr& args) { return date_time(args, &localtime_r); }
zynParameterPtr utc_time_routine(const zynParameterPtr& args) { return date_time(args, &gmtime_r); }

// Returns the factor to seconds of the unit text "h", "m" or "s" (any
// case), or 0 for any other text.
double seconds_per_unit(const utString& unit) {
  if (ut_case_compare(unit, "h") == 0) return 3600.0;
  if (ut_case_compare(unit, "m") == 0) return 60.0;
  if (ut_case_compare(unit, "s") == 0) return 1.0;
  return 0.0;
}

// time_to_string(t [, unit]) -> "h:mm:ss"; hours are not limited to 24.
zynParameterPtr time_to_string_routine(const zynParameterPtr& args) {
  if (args->size() < 1) return bad_arguments();
  if (!is_numeric(arg(args, 0))) return bad_data();
  double s = arg(args, 0)->get_double();
  if (args->size() == 2) {
    if (!is_string(arg(args, 1))) return bad_data();
    const double factor = seconds_per_unit(arg(args, 1)->get_string());
    if (factor == 0.0) return bad_data();
    s *= factor;
  }
  const int hours = saturate(s / 3600.0);
  const int minutes = saturate(std::fmod(s / 60.0, 60.0));
  const int seconds = saturate(std::fmod(s, 60.0));
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", hours, minutes, seconds);
  return new_string(buffer);
}

// --- Files --------------------------------------------------------------------------

// pwd() -> the current working directory
zynParameterPtr pwd_routine(const zynParameterPtr& args) {
  if (args->size() != 0) return bad_arguments();
  zynFileDir dir;
  dir.set_cwd();
  return new_string(dir.get());
}

zynParameterPtr file_exists_routine(const zynParameterPtr& args) {
  if (args->size() != 1 || !is_string(arg(args, 0))) return bad_arguments();
  return new_bool(zynFileDir(arg(args, 0)->get_string()).is_file() ? 1 : 0);
}

zynParameterPtr dir_exists_routine(const zynParameterPtr& args) {
  if (args->size() != 1 || !is_string(arg(args, 0))) return bad_arguments();
  return new_bool(zynFileDir(arg(args, 0)->get_string()).is_dir() ? 1 : 0);
}

// What list_files lists, and how.
struct zynListing {
  zynFileDirIterType kind;
  bool recursive;
  bool by_extension;
  utString extension;
  zynParameterPtr out;
  // Directories already walked, by canonical path: a link back up the tree
  // would otherwise make the walk endless.
  std::set<std::filesystem::path> walked;
};

// Returns false when "dir" was walked before (or cannot be resolved).
bool first_visit(zynListing& listing, const utString& dir) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::canonical(std::filesystem::path(dir), ec);
  return !ec && listing.walked.insert(canonical).second;
}

void list_directory(zynListing& listing, const zynFileDir& dir) {
  zynFileDirIter it(dir, zynFileDirIterAll, "*");
  while (++it) {
    const zynFileDir entry = it();
    if (entry.is_dir()) {
      if (listing.kind != zynFileDirIterFiles) listing.out->add(zynParameterKey(), new_string(entry.get()));
      if (listing.recursive && first_visit(listing, entry.get())) list_directory(listing, entry);
    } else if (entry.is_file() && listing.kind != zynFileDirIterDirs) {
      if (!listing.by_extension || zynCheckFilenameExt(entry.get().c_str(), listing.extension.c_str()))
        listing.out->add(zynParameterKey(), new_string(entry.get()));
    }
  }
}

// Reads the kind text: "all", "files" or "dirs" at its start, "+" at its end
// for recursion. Returns false for any other text.
bool read_kind(const utString& kind, zynListing& listing) {
  if (kind.compare(0, 3, "all") == 0)
    listing.kind = zynFileDirIterAll;
  else if (kind.compare(0, 5, "files") == 0)
    listing.kind = zynFileDirIterFiles;
  else if (kind.compare(0, 4, "dirs") == 0)
    listing.kind = zynFileDirIterDirs;
  else
    return false;
  listing.recursive = kind.back() == '+';
  return true;
}

// list_files(kind, path [, extension]) -> the paths below "path"
zynParameterPtr list_files_routine(const zynParameterPtr& args) {
  const int count = args->size();
  if (count < 2 || count > 3) return bad_arguments();
  for (int i = 0; i < count; ++i)
    if (!is_string(arg(args, i))) return bad_arguments();
  zynListing listing;
  if (!read_kind(arg(args, 0)->get_string(), listing)) return bad_arguments();
  listing.by_extension = count == 3;
  if (listing.by_extension) listing.extension = arg(args, 2)->get_string();
  listing.out = zynParameterPtr(new zynParameterTempArray());
  const zynFileDir start(arg(args, 1)->get_string());
  first_visit(listing, start.get());
  list_directory(listing, start);
  return listing.out;
}

// --- Sequences ----------------------------------------------------------------------

// Wider padding is taken for damaged data: it would only fill memory with zeros.
constexpr int max_padding = 1024;

// make_sequence(start [, increment [, padding]]) -> a new Sequence map
zynParameterPtr make_sequence_routine(const zynParameterPtr& args) {
  const int count = args->size();
  if (count < 1 || count > 3) return bad_arguments();
  for (int i = 0; i < count; ++i)
    if (!is_numeric(arg(args, i))) return bad_arguments();
  const int start = arg(args, 0)->get_int();
  const int increment = count > 1 ? arg(args, 1)->get_int() : 1;
  const int padding = count > 2 ? arg(args, 2)->get_int() : 0;
  zynParameterMap local;
  local.set_typename("Sequence");
  // The first next_in_sequence yields "start".
  local.add(zynParameterKey("value"), new_number(PS_INT, static_cast<double>(start) - increment));
  local.add(zynParameterKey("increment"), new_number(PS_INT, increment));
  local.add(zynParameterKey("padding"), new_number(PS_INT, padding));
  return zynParameterPtr(local.create_object());
}

// next_in_sequence(sequence) -> the next number as text, zero-padded. The
// sequence's "value" advances.
zynParameterPtr next_in_sequence_routine(const zynParameterPtr& args) {
  if (args->size() < 1) return bad_arguments();
  const zynParameterPtr seq = arg(args, 0);
  if (!zynParameterMap::ut_dynamic_cast(seq.pointer())) return bad_arguments();
  const zynParameterPtr value = (*seq)[zynParameterKey("value")];
  const zynParameterPtr increment = (*seq)[zynParameterKey("increment")];
  const zynParameterPtr padding = (*seq)[zynParameterKey("padding")];
  if (value->is_error() || increment->is_error() || padding->is_error()) return bad_arguments();
  const int width = padding->get_int();
  if (width > max_padding) return bad_arguments();
  value->set_double(static_cast<double>(value->get_int()) + increment->get_int());
  utString number = value->get_string();
  const int length = static_cast<int>(number.size());
  if (width > length) number.insert(0, static_cast<size_t>(width - length), '0');
  return new_string(number);
}

// --- Machining ----------------------------------------------------------------------

// port_machining(p) -> 1 when p's "Strategy" is one of the port strategies
zynParameterPtr port_machining_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  const zynParameterPtr strategy = (*arg(args, 0))[zynParameterKey("Strategy")];
  int port = 0;
  if (!strategy->is_error()) {
    const utString s = strategy->get_string();
    port = s == "port_area_clear" || s == "port_plunge" || s == "port_spiral";
  }
  return new_bool(port);
}

constexpr zynLibBuiltin builtins[] = {
    {"make_sequence", &make_sequence_routine, zyn_lib_impure,
     "make_sequence(INT start_value[, INT increment[, INT padding]]) : Create a new sequence object."},
    {"next_in_sequence", &next_in_sequence_routine, zyn_lib_impure,
     "next_in_sequence(OBJECT sequence) : Increment the sequence object."},
    {"home", &home_routine, zyn_lib_impure, "home() : Return the pathname defined in the windows HOME variable."},
    {"time", &time_routine, zyn_lib_impure, "time() : Return the system calendar time in seconds."},
    {"local_time", &local_time_routine, zyn_lib_impure,
     "local_time(int) : Given the system calendar time, return a time object in the system's local time zone."},
    {"utc_time", &utc_time_routine, zyn_lib_impure,
     "utc_time(int) : Given the system calendar time, return a time object in Coordinated Universal Time."},
    {"time_to_string", &time_to_string_routine, 0, "Returns a formatted time string hh:mm:ss from a given int time()"},
    {"pwd", &pwd_routine, zyn_lib_impure, "pwd() : Returns the path of the current working directory."},
    {"list_files", &list_files_routine, zyn_lib_impure,
     "file_list([path]) : Returns a list of the files and directories in path. If path is not supplied use the "
     "current working directory."},
    {"file_exists", &file_exists_routine, zyn_lib_impure,
     "file_list(filepath) : Returns whether the given file exists or not."},
    {"dir_exists", &dir_exists_routine, zyn_lib_impure,
     "dir_exists(dirpath) : Returns whether the given directory exists or not."},
    {"port_machining", &port_machining_routine, zyn_lib_impure, "Return true if it is port machining"},
};

}  // namespace

zynLibBuiltinTable zyn_lib_system_builtins() { return zyn_lib_table(builtins); }

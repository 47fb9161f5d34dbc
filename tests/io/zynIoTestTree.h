// Helpers for the serializer and XML tests: small trees and text helpers.
#pragma once

#include <regex>
#include <sstream>

#include "support/zynTestHelpers.h"
#include "zyn/zyn.h"

// Saves "root" with "s" and returns the text; "rc" receives the result.
inline utString io_save(zynParameterSerializer& s, const zynParameterRoot& root, int* rc = nullptr) {
  std::ostringstream out;
  const int r = s.save(root, out);
  if (rc) *rc = r;
  return out.str();
}

inline int io_load(zynParameterSerializer& s, zynParameterRoot& root, const utString& text, int keep = 0) {
  std::istringstream in(text);
  return s.load(root, in, keep);
}

// The saved text with the time of saving replaced by "T".
inline utString io_timeless(const utString& text) {
  static const std::regex time_value("\"time\"( ?: ?)\"[0-9]+\"");
  return std::regex_replace(text, time_value, "\"time\"$1\"T\"");
}

// The header of a file for a root of "type" and "version", in compact form.
inline utString io_header(const utString& type, int version) {
  return "{\"type\":\"" + type + "\",\"version\":\"" + std::to_string(version) + "\",\"time\":\"0\"}";
}

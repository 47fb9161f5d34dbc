#include "zyn/host/zynProgressBreak.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using BreakPoints = std::vector<std::pair<utString, double>>;

BreakPoints& break_points() {
  static BreakPoints points;
  return points;
}

}  // namespace

void zynProgressBreak::add_debug_break_point(utString name, double percentage) {
  break_points().emplace_back(std::move(name), percentage);
}

void zynProgressBreak::clear_debug_break_points() { break_points().clear(); }

int zynProgressBreak::has_debug_break_point(const utString& name) {
  const BreakPoints& points = break_points();
  return std::any_of(points.begin(), points.end(), [&](const auto& p) { return p.first == name; });
}

int zynProgressBreak::debug_break_due(const utString& name, double percentage) {
  BreakPoints& points = break_points();
  const auto due = std::find_if(points.begin(), points.end(),
                                [&](const auto& p) { return p.first == name && p.second <= percentage; });
  if (due == points.end()) return 0;
  points.erase(due);
  return 1;
}

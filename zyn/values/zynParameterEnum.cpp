#include "zyn/values/zynParameterEnum.h"

#include <array>
#include <bitset>
#include <unordered_map>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynShortText_internal.h"
#include "zyn/host/zynUnitsUtils.h"

ZYN_DEFINE_TYPE(zynParameterEnum, zynParameterScalar)

namespace {

// Legacy state names and the names that replaced them.
const char* const legacy_names[][2] = {
    {"alongcorner", "along_corner"},
    {"automaticcorner", "automatic_corner"},
    {"ballnosed", "ball_nosed"},
    {"bliskblade", "blisk_blade"},
    {"bliskhub", "blisk_hub"},
    {"comboundary", "com_boundary"},
    {"compattern", "com_pattern"},
    {"curveprojection", "curve_projection"},
    {"diag1", "diag_1"},
    {"diag2", "diag_2"},
    {"diag1z", "diag_1_z"},
    {"diag2z", "diag_2_z"},
    {"drilling", "finishing"},
    {"endmill", "end_mill"},
    {"everyz", "every_z"},
    {"fulldiameter", "full_diameter"},
    {"heli2cw", "heli_2_cw"},
    {"helicw", "heli_cw"},
    {"interconstz", "inter_constz"},
    {"lastz", "last_z"},
    {"leadlean", "lead_lean"},
    {"lineprojection", "line_projection"},
    {"multipencilcorner", "multi_pencil_corner"},
    {"offcentretiprad", "off_centre_tip_rad"},
    {"offset3d", "offset_3d"},
    {"offsetareaclear", "offset_area_clear"},
    {"offsetflat", "offset_flat"},
    {"opticonstz", "opti_constz"},
    {"parametricoffset", "parametric_offset"},
    {"pencilcorner", "pencil_corner"},
    {"planeprojection", "plane_projection"},
    {"pointprojection", "point_projection"},
    {"profileareaclear", "profile_area_clear"},
    {"profilecw", "profile_cw"},
    {"rasterareaclear", "raster_area_clear"},
    {"rasterflat", "raster_flat"},
    {"semi", "finishing"},
    {"stitchcorner", "stitch_corner"},
    {"surfacemachine", "surface_machine"},
    {"surfacenormal_arc", "surface_normal_arc"},
    {"surfaceproj", "surface_proj"},
    {"tap2cw", "tap_2_cw"},
    {"taperspherical", "taper_spherical"},
    {"tapertipped", "taper_tipped"},
    {"tippeddisc", "tipped_disc"},
    {"tipradiused", "tip_radiused"},
    {"toolaxis", "tool_axis"},
    {"tubeclear", "port_area_clear"},
    {"tubeplunge", "port_plunge"},
    {"tubespiral", "port_spiral"},
    {"wireframeswarf", "wireframe_swarf"},
    {"zheights", "z_heights"},
};

// The legacy names and, to answer most names without hashing them, the
// first characters the names of each length begin with.
struct zynStateSynonyms {
  static constexpr size_t max_length = 32;
  std::unordered_map<utString, utString> names;
  std::array<std::bitset<256>, max_length> starts;
  bool may_hold(const utString& name) const {
    return !name.empty() && name.size() < max_length && starts[name.size()][static_cast<unsigned char>(name[0])];
  }
};

// Built on first use and kept for the life of the process.
const zynStateSynonyms& synonyms() {
  static const zynStateSynonyms* table = [] {
    auto* t = new zynStateSynonyms();
    for (const auto& pair : legacy_names) {
      const utString name = pair[0];
      t->names.emplace(name, pair[1]);
      if (name.size() < zynStateSynonyms::max_length) t->starts[name.size()].set(static_cast<unsigned char>(name[0]));
    }
    return t;
  }();
  return *table;
}

}  // namespace

// --- Construction -----------------------------------------------------------------

zynParameterEnum::zynParameterEnum() = default;

zynParameterEnum::zynParameterEnum(const utString& states, const utString& value) : zynParameterScalar(value) {
  utString rest = states;
  while (!rest.empty()) {
    utString piece;
    ut_extract_string(rest, "|", piece);  // leaves "rest" at the separator
    m_states.push_back({piece, utString(), utString(), utString()});
    if (!rest.empty()) rest.erase(0, 1);
  }
  if (value.empty()) set_int(0);
  // Building an enumeration is not a change of its value.
  zynParameterUpdateTrack::untrack_parameter(this);
}

// The states are copied directly: adding them one by one would be refused
// when the copy inherits a lock from its source's container.
zynParameterEnum::zynParameterEnum(const zynParameterEnum& other) = default;

zynParameterEnum::~zynParameterEnum() = default;

// --- States -------------------------------------------------------------------------

void zynParameterEnum::add_state(const utString& name, const utString& title, const utString& desc,
                                 const utString& active) {
  if (is_locked()) return;
  zyn_eval_note_change();  // comparisons read states by index
  m_states.push_back({name, title, desc, active});
}

const utString& zynParameterEnum::lookup_state_synonym(const utString& name) {
  const zynStateSynonyms& table = synonyms();
  if (!table.may_hold(name)) return name;
  auto it = table.names.find(name);
  return it == table.names.end() ? name : it->second;
}

int zynParameterEnum::find_exact(const utString& name) const {
  if (name.empty()) return -1;
  int index = 0;
  for (const zynParameterEnumState& state : m_states) {
    if (zyn_same_text(state.name, name)) return index;
    ++index;
  }
  return -1;
}

int zynParameterEnum::find_index(const utString& name) const { return find_exact(lookup_state_synonym(name)); }

const zynParameterEnumState* zynParameterEnum::state_at(int index) const {
  if (index < 0 || index >= num_states()) return nullptr;
  auto it = m_states.begin();
  std::advance(it, index);
  return &*it;
}

utString zynParameterEnum::find_state(int index) const {
  const zynParameterEnumState* state = state_at(index);
  return state ? state->name : utString();
}

utString zynParameterEnum::get_state_title(const utString& name) const {
  const zynParameterEnumState* state = state_at(find_exact(name));
  return state ? state->title : utString();
}

utString zynParameterEnum::get_state_desc(const utString& name) const {
  const zynParameterEnumState* state = state_at(find_exact(name));
  return state ? state->desc : utString();
}

int zynParameterEnum::is_state_active(int index) const {
  const zynParameterEnumState* state = state_at(index);
  if (!state) return 0;
  if (state->active.empty()) return 1;
  zynEvaluator evaluator(this);
  zynParameterPtr value = evaluator.evaluate(state->active);
  return get_type(*value) == PT_NUMERIC && value->get_int() != 0 ? 1 : 0;
}

void zynParameterEnum::strip_active_states() {
  for (zynParameterEnumState& state : m_states) state.active.clear();
}

// --- Value ----------------------------------------------------------------------------

int zynParameterEnum::get_int() const {
  int index = find_index(get_string());
  return index < 0 ? 0 : index;
}

void zynParameterEnum::set_int(int index) {
  if (is_locked()) return;
  set_string(find_state(index));
}

void zynParameterEnum::set_string(const utString& text) {
  if (is_locked()) return;
  int index = 0;
  int end = 0;
  // A state may be named by digits; its name must survive being stored and
  // read back, so an exact name wins over the index reading.
  if (find_exact(text) < 0 && ut_parse(text, index, end) && end < 0 && index >= 0)
    set_value(find_state(index));
  else
    set_value(lookup_state_synonym(text));
  onmodify_callback();
}

void zynParameterEnum::reset() {
  const zynParameterImpl& record = *get_impl();
  if (record.get(zynParameterImpl::DEFAULT_VALUE).empty()) {
    set_string(find_state(0));
    return;
  }
  // Copies: set_string may run host callbacks that change the record.
  const utString& second = record.get(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS);
  utString text = !second.empty() && zynUnitsUtils::get_units() != zynUnitsMetric
                      ? second
                      : record.get(zynParameterImpl::DEFAULT_VALUE);
  set_string(text);
}

int zynParameterEnum::is_valid() const {
  if (!is_expr()) {
    onread_callback();  // as get_string() would, without copying the text
    int index = find_index(get_value());
    return index >= 0 && index < num_states() ? 1 : 0;
  }
  zynParameterPtr value = evaluate();
  return !value->is_error() && find_index(value->get_string()) >= 0 ? 1 : 0;
}

zynParameterPtr zynParameterEnum::evaluate() const {
  if (!is_expr()) return zynParameterPtr(create_new());
  zynParameterPtr value = zynParameterScalar::evaluate();
  zynParameterType t = get_type(*value);
  if (t == PT_ERROR || t == PT_STRING || t == PT_ENUM) return value;
  return zynParameterError::create(PS_ERR_TYPE);
}

utString zynParameterEnum::get_translated_string() const {
  utString text = get_string();
  const zynParameterEnumState* state = state_at(find_index(text));
  if (state && !state->title.empty()) text = state->title;
  return zynNLS_get_translated_message(text.c_str());
}

utString zynParameterEnum::print(int) const {
  utString out = "(ENUM";
  if (!is_valid()) out += " !";
  out += ") ";
  const utString& stored = get_value();
  out += stored;
  utString value = get_string();
  if (value != stored) out += " =" + value;
  return out + "\n";
}

// The inferring loader of zynParameterOpenRoot and the settling of what it
// inferred (see zynParameterOpenRoot.h).
#include "zyn/io/zynParameterOpenRoot.h"

#include <cctype>
#include <deque>
#include <set>
#include <string_view>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameterLoader.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynNumberText.h"
#include "zyn/values/zynParameterEnum.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterString.h"

ZYN_DEFINE_TYPE(zynParameterOpenRoot, zynParameterLibRoot)

namespace {

using Place = zynParameterOpenRoot::Place;

// Tells whether "text" reads as a number ending in a digit: "1.5", "+2",
// "1e3" and "0x1F0" do, "1.", "0x1F", "inf" and " 1" do not.
bool is_number_text(const utString& text) {
  double value = 0.0;
  return zyn_read_number(text, {'.', '.', ZYN_NUMBER_WHOLE, ZYN_OVERFLOW_SATURATE, ZYN_NUMBER_HEX}, value) != 0 &&
         std::isdigit(static_cast<unsigned char>(text.back()));
}

// A plain array whose elements the root replaces in place while it settles
// what it inferred; the public interface only inserts and removes, which
// shifts every following element.
class zynInferArray : public zynParameterArray {
 public:
  ZYN_DECLARE_TYPE(zynInferArray, zynParameterArray)
  void replace_element(int i, const zynParameterPtr& p) {
    // The slot belongs to this array, which is not const.
    zynParameterPtr& slot = const_cast<zynParameterPtr&>(element(i));
    release_child(slot);
    link_par(p);
    slot = p;
  }
};
ZYN_DEFINE_TYPE(zynInferArray, zynParameterArray)

bool is_index_component(const utString& component) { return !component.empty() && component[0] == '['; }

int component_index(const utString& component) {
  int i = -1;
  zyn_read_number(std::string_view(component).substr(1, component.size() - 2),
                  {'.', '.', ZYN_NUMBER_PREFIX, ZYN_OVERFLOW_ERROR}, i);
  return i;
}

// The components of the canonical key text "key": "a.b[2]" gives "a", "b", "[2]".
// Names hold neither "." nor "[", so the text splits without parsing.
std::vector<utString> key_components(const utString& key) {
  std::vector<utString> out;
  for (size_t at = 0; at < key.size();) {
    if (key[at] == '.') {
      ++at;
      continue;
    }
    size_t end = key[at] == '[' ? key.find(']', at) : key.find_first_of(".[", at);
    end = end == utString::npos ? key.size() : end + (key[at] == '[' ? 1 : 0);
    out.push_back(key.substr(at, end - at));
    at = end;
  }
  return out;
}

// Returns the member "component" of "container", or null.
zynParameterPtr child(const zynParameterPtr& container, const utString& component) {
  if (is_index_component(component)) {
    const zynParameterArray* array = zynParameterArray::ut_dynamic_cast(container.pointer());
    const int i = component_index(component);
    return array && i >= 0 && i < array->size() ? array->get_element(i) : zynParameterPtr();
  }
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(container.pointer());
  const zynParameterMapMember* member = map ? map->find_member(component) : nullptr;
  return member ? member->value : zynParameterPtr();
}

// Returns the parameter that a text read from an untyped file stands for:
// "&path" a reference, a number a real, other texts (expressions included)
// a string.
zynParameterPtr infer_par(const utString& text) {
  if (!text.empty() && text[0] == '&') return zynParameterPtr(new zynParameterRef(text.substr(1)));
  if (is_number_text(text)) return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0.0));
  return zynParameterPtr(new zynParameterString());
}

}  // namespace

// A loader that gives every entry the tree lacks a parameter of its own:
// missing containers become maps (or arrays, for index keys), values a
// parameter inferred from their text. It walks keys one component at a
// time from the root, so deep keys cost their length, and it never takes
// a root's pseudo-member ("Name") or a built-in for an entry.
class zynParameterInferLoader : public zynParameterLoader {
 public:
  zynParameterInferLoader(zynParameterOpenRoot& root, int version) : zynParameterLoader(root, version), m_open(root) {}
  // The serializer ends with its loader before the root's updater runs, so
  // the updater and the host see the settled tree.
  ~zynParameterInferLoader() override {
    try {
      m_open.settle_inferred();
    } catch (...) {  // a host function that throws leaves the rest as strings
    }
  }

  int load_par(const zynParameterKey& key, const utString& text) override {
    if (key.empty()) return zynParameterLoader::load_par(key, text);
    const std::vector<utString> path = key_components(key.str());
    const zynParameterPtr container = path.empty() ? zynParameterPtr() : reach_container(path);
    if (container.is_null()) return 1;
    const Place place{container, path.back()};
    zynParameterPtr p = child(container, place.component);
    if (!p.is_null()) {
      m_pending.erase(p.pointer());
      return apply(key, p, text);
    }
    p = infer_par(text);
    if (!place_new(place, p)) return 1;
    if (text.empty()) m_pending.insert(p.pointer());
    if (zynParameter::get_subtype(*p) == PS_STRING && !p->is_ref()) m_open.note_inferred(place);
    return apply(key, p, text);
  }

 private:
  // Applies "text" to "p" as the library's loader does, and refuses a text
  // for a container, whose value would be lost.
  int apply(const zynParameterKey& key, const zynParameterPtr& p, const utString& text) {
    zynParameter& par = *p;
    const bool is_ref_text = !text.empty() && text[0] == '&';
    const zynParameterType type = zynParameter::get_type(par);
    if ((type == PT_MAP || type == PT_ARRAY) && !par.is_ref() && !text.empty()) return 1;
    m_loaded.push_back(key.str());
    if (par.is_ref() && is_ref_text) {
      par.set_string("&" + zynEvaluator::localize(text.substr(1)));
      return 0;
    }
    if (type == PT_ARRAY) return 0;
    add_state(p, text);
    const bool localise = type == PT_NUMERIC || (!text.empty() && text[0] == '=');
    par.set_string(localise ? zynEvaluator::localize(text) : text);
    return 0;
  }

  // An enumeration made from a type code knows no states (they are the
  // host's): the saved one becomes its state.
  static void add_state(const zynParameterPtr& p, const utString& text) {
    zynParameterEnum* e = zynParameterEnum::ut_dynamic_cast(p.pointer());
    if (e && e->num_states() == 0 && !text.empty()) e->add_state(text, utString(), utString(), utString());
  }

  // Adds "p" at "place"; an index past the end of an inferred array first
  // fills the empty slots before it, so positions survive.
  bool place_new(const Place& place, const zynParameterPtr& p) {
    zynParameter& container = *place.container;
    if (!is_index_component(place.component)) {
      return container.add(zynParameterKey(place.component), p).raw() == p.raw();
    }
    if (!zynInferArray::ut_dynamic_cast(&container)) return false;
    const int i = component_index(place.component);
    while (i > container.size()) container.add(zynParameterKey(), zynParameterPtr(new zynParameterString()));
    return i == container.size() && container.add(zynParameterKey(), p).raw() == p.raw();
  }

  // Returns the container of the entry at "path", making the containers
  // that are missing; an entry first seen as an empty text becomes an array
  // when an element of it arrives.
  zynParameterPtr reach_container(const std::vector<utString>& path) {
    zynParameterPtr at(coPrfExternal, &m_root);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
      const Place place{at, path[i]};
      zynParameterPtr next = child(at, path[i]);
      if (!next.is_null() && m_pending.count(next.pointer()) && is_index_component(path[i + 1])) {
        m_pending.erase(next.pointer());
        next = zynParameterPtr(new zynInferArray());
        m_open.replace(place, next);
        m_open.note_array(place);
      } else if (next.is_null()) {
        next = zynParameterPtr(is_index_component(path[i + 1]) ? static_cast<zynParameter*>(new zynInferArray())
                                                               : new zynParameterMap());
        if (!place_new(place, next)) return zynParameterPtr();
        if (is_index_component(path[i + 1])) m_open.note_array(place);
      }
      const zynParameterType t = zynParameter::get_type(*next);
      if ((t != PT_MAP && t != PT_ARRAY) || next->is_ref()) return zynParameterPtr();
      at = next;
    }
    return at;
  }

  void associate(const zynParameterKey& key, const zynUniqueIdPtr& uid) override {
    zynParameterPtr at(coPrfExternal, &m_root);
    for (const utString& component : key_components(key.str())) {
      at = child(at, component);
      if (at.is_null()) return;
    }
    m_open.set_lock(*at, uid);
  }

  zynParameterOpenRoot& m_open;
  // Parameters made from an empty text: an empty string, or an array whose
  // elements follow.
  std::set<const zynParameter*> m_pending;
};

zynParameterOpenRoot::zynParameterOpenRoot(const utString& root_type, int version, const utString& root_name)
    : zynParameterLibRoot(root_type, version, root_name) {}

zynParameterLoader* zynParameterOpenRoot::create_loader(zynPtrClaim, int version) {
  return is_locked() ? nullptr : new zynParameterInferLoader(*this, version);
}

const zynRefToObjectId zynParameterOpenRoot::get_lock_id_imp(const zynParameter& p) const {
  auto found = m_locks.find(&p);
  return found != m_locks.end() ? found->second : zynParameterRoot::get_lock_id_imp(p);
}

zynUniqueIdPtr zynParameterOpenRoot::get_lock_uid(zynParameterPtr, zynRefToObjectId& id) { return id.get_uid(); }

void zynParameterOpenRoot::replace(const Place& place, const zynParameterPtr& p) {
  zynParameter& container = *place.container;
  if (is_index_component(place.component)) {
    const int i = component_index(place.component);
    if (zynInferArray* array = zynInferArray::ut_dynamic_cast(&container)) {
      array->replace_element(i, p);
    } else {
      container.remove(zynParameterKey(i, utString()));
      container.add(zynParameterKey(i, utString()), p);
    }
    return;
  }
  if (zynParameterMap* map = zynParameterMap::ut_dynamic_cast(&container)) {
    map->replace(zynParameterKey(place.component), p);
    return;
  }
  container.remove(zynParameterKey(place.component));
  container.add(zynParameterKey(place.component), p);
}

void zynParameterOpenRoot::settle_inferred() {
  settle_strings();
  for (auto place = m_arrays.rbegin(); place != m_arrays.rend(); ++place) settle_array(*place);  // inner first
  m_inferred.clear();
  m_arrays.clear();
}

// A string whose text reads as a number, or fails after reading other
// members of the tree, is a formula: it becomes a general numeric holding
// the text, and "check" and "get" see its failure. Texts that read strings
// still to settle are evaluated again when those settle, so each text is
// evaluated about once whatever the order of the entries. While settling, a
// formula that gave a number holds that number, so that texts reading it do
// not evaluate its whole chain again; the texts go back at the end.
void zynParameterOpenRoot::settle_strings() {
  std::unordered_map<const zynParameter*, size_t> open;
  std::vector<zynParameterPtr> strings(m_inferred.size());
  std::deque<size_t> work;
  for (size_t i = 0; i < m_inferred.size(); ++i) {
    const zynParameterPtr p = child(m_inferred[i].container, m_inferred[i].component);
    if (p.is_null() || p->is_ref() || zynParameter::get_subtype(*p) != PS_STRING || p->is_expr())
      continue;  // "%[...]" stays
    strings[i] = p;
    open.emplace(p.pointer(), i);
    work.push_back(i);
  }
  std::vector<std::vector<size_t>> waiting(m_inferred.size());
  std::vector<std::pair<zynParameterPtr, utString>> pending;  // formulas holding their number
  while (!work.empty()) {
    const size_t i = work.front();
    work.pop_front();
    const zynParameterPtr p = strings[i];
    if (!open.count(p.pointer())) continue;
    zynEvaluator evaluator(p.pointer());
    const utString text = p->get_expr();
    const zynParameterPtr value = evaluator.evaluate(text);
    zynParameterPtrcoDList read;
    evaluator.get_paramset(read);
    bool reads_tree = false;
    for (const zynParameterPtr& q : read) {
      const zynParameter* member = q.pointer();
      if (!member || member == p.pointer() || !member->parent() || zynParameter::get_type(*member) == PT_FUNCTION)
        continue;
      reads_tree = true;
      auto other = open.find(member);
      if (other != open.end()) waiting[other->second].push_back(i);
    }
    const zynParameterNumeric* number = zynParameterNumeric::ut_dynamic_cast(value.pointer());
    if (!number && !(value->is_error() && reads_tree)) continue;
    zynParameterPtr formula(
        new zynParameterNumeric(PS_REAL, number ? number->get_dim() : zynDimensions(ZYN_DIM_NONE), 0.0));
    if (number) {
      formula->set_double(number->get_double());
      pending.emplace_back(formula, text);
    } else {
      formula->set_string(text);
    }
    replace(m_inferred[i], formula);
    open.erase(p.pointer());
    for (size_t j : waiting[i]) work.push_back(j);
    waiting[i].clear();
  }
  for (const auto& formula : pending) formula.first->set_string(formula.second);
}

void zynParameterOpenRoot::settle_array(const Place& place) {
  // A list of elements of one kind keeps its kind in a file saved with type
  // information; a plain array has no type code.
  const zynParameterPtr array = child(place.container, place.component);
  if (array.is_null() || zynParameter::get_subtype(*array) != PS_ARRAY || array->size() == 0) return;
  const zynParameterArray& elements = *zynParameterArray::ut_dynamic_cast(array.pointer());
  const zynParameterPtr first = elements.get_element(0);
  const zynParameterSubType kind = zynParameter::get_subtype(*first);
  if (kind != PS_REAL && kind != PS_STRING && kind != PS_MAP) return;
  for (int i = 1; i < elements.size(); ++i)
    if (zynParameter::get_subtype(*elements.get_element(i)) != kind) return;
  zynParameterPtr prototype(kind == PS_MAP ? static_cast<zynParameter*>(new zynParameterMap()) : first->create_new());
  if (kind == PS_REAL) prototype->set_string("0.0");
  if (kind == PS_STRING) prototype->set_string(utString());
  zynParameterPtr list(new zynParameterList(prototype));
  for (int i = 0; i < elements.size(); ++i) {
    const zynParameterPtr element = elements.get_element(i);
    zynParameterPtr added = list->add(zynParameterKey(), element);
    if (kind != PS_MAP) {
      added->set_string(zynParameterScalar::ut_dynamic_cast(element.pointer())->get_value());
      continue;
    }
    // A list makes its maps from its element type: the members move over.
    const zynParameterMap& from = *zynParameterMap::ut_dynamic_cast(element.pointer());
    const std::vector<zynParameterMapMember> members(from.members().begin(), from.members().end());
    for (const zynParameterMapMember& member : members) added->add(zynParameterKey(member.name), member.value);
  }
  replace(place, list);
}

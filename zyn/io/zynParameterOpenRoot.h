// zynParameterOpenRoot is the root a host loads a file into when it does not
// know the file's schema. Into a plain root, a file saved without type
// information keeps nothing: every entry names a member the root lacks and
// becomes a failed key. The loader of this root gives every such entry a
// parameter of its own instead:
//   - a missing container becomes a map, or an array for index keys ("a[2]");
//     an array that fills a gap past its end keeps positions with empty strings;
//   - "&path" becomes a reference, a number a real, any other text a string;
//   - when the serializer is done with the loader, strings whose text
//     evaluates to a number (or fails after reading other members, such as
//     "Depth / Pecks" with Pecks 0) become general numerics holding the
//     formula, and arrays whose elements are all reals, all strings or all
//     maps become lists of that kind;
//   - the lock ids a typed file gives are kept (get_lock_id).
// Entries the root already has are loaded as zynParameterLoader loads them,
// so a host may add the members it knows first. A value text given to a map
// or an array is refused (a failed key), as it would be lost. The root
// reaches the built-in functions as zynParameterLibRoot does.
//
// Example:
//   zynParameterOpenRoot tree("Drilling", 1, "");
//   zynParameterSerializer serializer;
//   std::ifstream in(file);
//   if (serializer.load(tree, in, 0) == PSE_OK) std::cout << tree;
#pragma once

#include <unordered_map>
#include <vector>

#include "zyn/library/zynParameterLibRoot.h"

class zynParameterInferLoader;

// A root as zynParameterLibRoot describes it whose loader infers the
// parameters a file needs. The file's root type and version must still be
// the root's (see zynParameterSerializer::load).
class ZYN_EXPORT zynParameterOpenRoot : public zynParameterLibRoot {
 public:
  ZYN_DECLARE_TYPE(zynParameterOpenRoot, zynParameterLibRoot)

  zynParameterOpenRoot(const utString& root_type, int version, const utString& root_name);
  zynParameterOpenRoot(const zynParameterOpenRoot& other) = default;
  zynParameter* create_new() const override { return new zynParameterOpenRoot(*this); }
  // The inferring loader; none for a locked root.
  zynParameterLoader* create_loader(zynPtrClaim claim, int version) override;
  // The lock a file gave "p", else its container's.
  const zynRefToObjectId get_lock_id_imp(const zynParameter& p) const override;

  // Where a member of the tree sits: its container and the one component
  // ("Name", "[2]") that reaches it there.
  struct Place {
    zynParameterPtr container;
    utString component;
  };

 private:
  friend class zynParameterInferLoader;

  // The lock id a file gives is the one kept, not a new one.
  zynUniqueIdPtr get_lock_uid(zynParameterPtr p, zynRefToObjectId& id) override;
  // Records that the loader made a string for an entry from its text.
  void note_inferred(const Place& place) { m_inferred.push_back(place); }
  // Records that the loader made an array for an entry.
  void note_array(const Place& place) { m_arrays.push_back(place); }
  // Records that the lock of "p" is "uid", as a saved file said.
  void set_lock(const zynParameter& p, const zynUniqueIdPtr& uid) { m_locks[&p].become(uid); }
  // Settles what the loader inferred (formulas and lists, see above).
  void settle_inferred();
  // Puts "p" in place of the member at "place".
  void replace(const Place& place, const zynParameterPtr& p);
  void settle_strings();
  void settle_array(const Place& place);

  std::vector<Place> m_inferred;
  std::vector<Place> m_arrays;  // outer arrays first
  // The locks files gave, by parameter; the parameters outlive the root's use of them.
  std::unordered_map<const zynParameter*, zynRefToObjectId> m_locks;
};

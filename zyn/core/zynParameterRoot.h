// zynParameterRoot is the top of a parameter tree: a map with a root type
// (such as "Tool"), a version, a name, an object id and a modified flag.
// Lookups through a root first translate synonym keys, then try the members,
// then a few pseudo-members ("rootpar", "roottype", "name", "id"). Locking a
// root locks its whole tree. Hosts derive from it to build their trees
// (build_tree), widen the synonyms, supply updaters for older saved trees and
// lock ids; the serializer fills a root through its zynParameterLoader.
//
// Example:
//   zynParameterRoot tool("Tool", 3, "T1");
//   tool.add("Diameter", diameter);
//   tool["tool.diameter"];   // the member, through the root type and the case fallback
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "zyn/core/zynParameterMap.h"

class zynParameterLoader;
class zynParameterUpdater;

// How a caller takes a loader; the caller always owns what create_loader returns.
using zynPtrClaim = int;

// A root owns its tree as a map owns its members. Copies are deep, like a
// map's, and take the root's type, version, name, id and flags.
class ZYN_EXPORT zynParameterRoot : public zynParameterMap {
 public:
  ZYN_DECLARE_TYPE(zynParameterRoot, zynParameterMap)

  // An empty root; "root_type" is also its type name.
  zynParameterRoot(const utString& root_type, int version, const utString& root_name);
  // Copies the tree and the root's fields; starts with no registered names.
  zynParameterRoot(const zynParameterRoot& other);
  // Copies the tree, the root's fields and the registered names.
  zynParameterRoot& operator=(const zynParameterRoot& other);
  ~zynParameterRoot() override;

  zynParameter* create_new() const override { return new zynParameterRoot(*this); }
  // Nothing when locked. A root with members resets them as a map does; an
  // empty root builds its tree (build_tree) and resets each registered name.
  void reset() override;
  // Always 0: names are sought from any parameter up to and including the root.
  int get_precedence() const override { return 0; }
  // Records "name" among the registered names (in order).
  void set_onmodify_param_name(const utString& name) override;
  // Returns "(ROOT: type:name" (" !" invalid, " #" locked) ") \n" and the
  // active members; references marked nofollow are left out.
  utString print(int depth) const override;
  const zynRefToObjectId& get_ref_id() const override { return m_id; }
  // Returns the member reached by the translated key, else the pseudo-member
  // it names, else "Invalid name".
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Returns 1 when the root's own lock flag is set and no zynParameterNoLock
  // guard lives; activity and ancestors do not count.
  int is_locked() const override;

  // Returns a new loader over this root ("version" is kept by the loader),
  // or null when the root is locked. The caller deletes the loader.
  virtual zynParameterLoader* create_loader(zynPtrClaim claim, int version);
  // Returns the updater that migrates trees of older versions; none here.
  virtual zynParameterUpdater* get_updater() { return nullptr; }
  virtual int get_modified() const { return m_modified; }
  virtual void set_modified(int modified) { m_modified = modified; }

  // Returns "text" with its synonyms translated ("name[2]" gives "Name[2]");
  // a "[" without "]" gives the text unchanged. The result lives in a
  // buffer that the next call overwrites, or is "text" itself: copy it.
  const utString& translate_key(const utString& text) const;
  // Returns the nearest root strictly above "p", or null.
  static const zynParameterRoot* get_root(const zynParameter* p);

  int created() const { return m_created; }
  int version() const { return m_version; }
  const zynRefToObjectId& get_id() const { return m_id; }
  void set_id(const zynRefToObjectId& id) { m_id.become(id); }
  const utString& get_root_type() const { return m_root_type; }
  const utString& get_root_name() const { return m_root_name; }
  void set_root_name(const utString& name) { m_root_name = name; }
  // The names recorded by set_onmodify_param_name, in order.
  const utStringcoSList& get_registered_names() const { return m_registered; }

 protected:
  zynParameterSubType subtype() const override { return PS_ROOT; }
  // Returns the root's id, whatever the parameter asking.
  const zynRefToObjectId get_lock_id_imp(const zynParameter&) const override { return m_id; }

  // Returns the translation of "text": "id", "root_type" and "name" become
  // "ID", "RootType" and "Name"; any other text is returned as it is.
  virtual const utString& lookup_key_synonym(const utString& text) const;
  // Returns the pseudo-member named by "key" (first component in any case):
  // the root type or "rootpar" give the root itself (or, with a rest, the
  // root's lookup of it), "roottype", "name" and "id" new strings of the root
  // type, the root name and the id's hexadecimal text. "Invalid name" otherwise.
  virtual zynParameterPtr lookup_method(const zynParameterKey& key) const;
  // Builds the members of an empty root; derived roots do it here.
  virtual void build_tree(zynParameter*) {}

  // Fills "table" with, for the key text of every parameter of the tree, the
  // key texts of the parameters its activity (its own condition and its
  // ancestors') reads.
  static void build_active_expr_pars_table(const zynParameterRoot& root, utStringutStringSetcoTable& table);
  // When "table" is empty, fills it with the inverse of the table above: for
  // each key, the keys of the parameters whose activity it can change.
  static void build_par_dependency_table(const zynParameterRoot& root, utStringutStringSetcoTable& table);

 private:
  friend class zynParameterSerializer;

  // Returns the unique id that stands for the lock of "p" read as "id";
  // here a new unique id.
  virtual zynUniqueIdPtr get_lock_uid(zynParameterPtr p, zynRefToObjectId& id);

  zynParameterPtr root_lookup(const zynParameterKey& key, bool writable) const;
  zynParameterPtr walk(const zynParameterKey& key, bool writable) const;

  // Members recently found by key, each with the change generation of the
  // process it was found under. While nothing anywhere has changed, the
  // same key finds the same member, so it is answered without walking the
  // tree (a root whose lookup_key_synonym changes its answers calls
  // zyn_eval_note_change()). Only members held below this root are kept:
  // they live until a container on their way unlinks them, which changes
  // the generation first.
  struct FoundMember {
    zynParameterKeyImplPtr key;
    uint64_t generation = 0;
    zynParameter* member = nullptr;
    bool writable = false;
    bool external = false;
  };
  static constexpr size_t found_slots = 16;
  mutable std::unique_ptr<FoundMember[]> m_found;

  int32_t m_created = 0;
  int32_t m_version;
  zynRefToObjectId m_id;
  utString m_root_type;
  utString m_root_name;
  int32_t m_modified = 0;
  utStringcoSList m_registered;
  // Depth of nested pseudo-member lookups ("tool.tool.x"), bounded.
  mutable int m_method_depth = 0;
};

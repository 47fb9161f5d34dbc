// zynParameterMap is the named container of the store: it maps member names
// to parameters, and dotted key paths ("tool.diameter") are resolved through
// it one component at a time. Members keep the order in which they were
// added, so printing, copying, "_keys" and saved files follow it and saved
// trees diff cleanly. Lookups try the exact name first and then, through a
// lower-case index, the name in any letter case. zynParameterRoot (the top of
// a tree) derives from it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "zyn/core/zynParameter.h"

// One member of a map: the name it is stored under and the parameter.
struct ZYN_EXPORT zynParameterMapMember {
  utString name;
  zynParameterPtr value;
};
using zynParameterMapMembers = std::vector<zynParameterMapMember>;

// A map owns its members through zynParameterPtr and is their parent while
// they are members. Copies (copy constructor, create_new, operator=) are
// deep: each member is copied with zynParameterPtr::copy. A map is "fixed"
// by default: copying values into it or resetting it keeps its set of members.
class ZYN_EXPORT zynParameterMap : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterMap, zynParameter)

  zynParameterMap();
  // A map of another subtype: PS_DICT makes a dictionary.
  explicit zynParameterMap(zynParameterSubType subtype);
  zynParameterMap(const zynParameterMap& other);
  // Replaces the members by deep copies of "other"'s and takes its flags and
  // subtype, then shares its descriptive record.
  zynParameterMap& operator=(const zynParameterMap& other);
  // Clears the parent links of the members; members held elsewhere survive.
  ~zynParameterMap() override;

  zynParameter* create_new() const override { return new zynParameterMap(*this); }
  // Nothing when locked. A map that is not fixed drops its members; a fixed
  // one resets each member.
  void reset() override;
  // Returns 0 when an active member is invalid (data parameters and broken
  // references excepted).
  int is_valid() const override;
  // The type name is kept in the shared descriptive record.
  const utString& get_typename() const override;
  void set_typename(const utString& name) override;
  zynParameterOnModify set_onmodify_callback(zynParameterOnModify fn) override;
  zynParameterOnRead set_onread_callback(zynParameterOnRead fn) override;
  // Returns "(MAP" (" !" when invalid) ") \n" and one line per active member.
  utString print(int depth) const override;
  // Copies into the members that both maps have (exact names; stored errors
  // count as missing). A source member that is a map not fixed replaces ours
  // by a copy (not while this map is locked); other members copy their
  // values. Other members are left alone.
  void copy_value_from(const zynParameter& source) override;
  // "==" and "!=" give "Type error" (maps are not compared in expressions);
  // "." and "[" reach members.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& other) const override;
  int size() const override { return static_cast<int>(m_members.size()); }
  // Returns the member reached by "key", or "Invalid name" when the key is
  // not a name, a step is missing or reaches an error. "_keys" gives a new
  // list of the member names. Nothing is created.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Adds "p" under the first component of "key" and names it so. Returns
  // "p"; or the member already there (an existing member is never replaced,
  // except an error or a reference); "Unknown error" when locked; "Invalid
  // name" for a key that is not a name, "Invalid arguments" for this map or
  // an ancestor. An error is stored like any member and lookups then treat
  // it as missing; a shared error value (or null) is stored, and returned,
  // as a new private copy.
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p) override;
  // Takes the member named by the first component of "key" out and returns
  // it. "Unknown error" when locked, "Invalid name" when there is none.
  // Later members move up: the cost grows with the members after it.
  zynParameterPtr remove(const zynParameterKey& key) override;
  // Puts "p" in the place of the member named (in that exact case) by the
  // first component of "key", keeping its position; adds "p" at the end when
  // there is none. Returns "p" as stored, or the errors of add.
  zynParameterPtr replace(const zynParameterKey& key, zynParameterPtr p);
  // Drops every member; nothing when locked.
  void remove_all() override;

  // Returns a new copy of this map; unless the copy-active-expression flag is
  // set, the copy and everything below it lose their activity conditions
  // (without touching the records they shared with this map's members).
  zynParameter* create_object() const;
  int is_fixed() const { return m_fixed; }
  void not_fixed() { m_fixed = 0; }
  // Makes copy_value_from from this map carry activity conditions along.
  void set_copy_active_expr_on() { m_copy_active_expr = 1; }
  int get_copy_active_expr() const { return m_copy_active_expr; }

  // The members, in the order they were added. Adding or removing members
  // moves them: hold positions, not references, across changes.
  const zynParameterMapMembers& members() const { return m_members; }
  // Returns the member stored under "name", or else the one whose name
  // differs only in case (the last added of those), or null.
  const zynParameterMapMember* find_member(const utString& name) const;

 protected:
  zynParameterSubType subtype() const override { return m_subtype; }
  zynParameterType type() const override { return PT_MAP; }
  utString get_xml_typename() const override { return "map"; }
  // Returns 1 when the base comparison holds and every member has an equal
  // counterpart in "other".
  int is_equal(const zynParameter& other) const override;
  // Clears the parent link of every member that still points here.
  virtual void unlink_all();

  // Returns the printed lines of the active members at "depth" + 1; with
  // "skip_nofollow", references marked not to be followed are left out.
  utString print_members(int depth, bool skip_nofollow) const;
  // The lookup behind both operator[].
  zynParameterPtr lookup(const zynParameterKey& key, bool writable) const;

 private:
  // One slot of the open-addressing index over the members, which is keyed
  // by the case-folded name: the exact name and the name in another case
  // are found on the same probe sequence.
  struct Slot {
    uint32_t hash;   // of the case-folded name
    uint32_t entry;  // member position + 1 (0: free), with the bit below
  };
  // Marks, among members whose names differ only in case, the one that a
  // lookup in another case finds: the one stored last.
  static constexpr uint32_t case_choice = 0x80000000u;

  int equivalent(const zynParameter& other) const;
  zynParameterPtr keys_list() const;
  // Returns the position of the member stored under "name", else (unless
  // "exact") of the one chosen among those whose names differ only in case; -1 without.
  long locate(std::string_view name, bool exact) const;
  long locate(std::string_view name, uint32_t hash, bool exact) const;
  // Stores "p" under "name": in place of an entry of that exact name, else at the end.
  void store(const utString& name, const zynParameterPtr& p);
  // Takes the member at "at" out of the members and the index.
  void erase(size_t at);
  void clear_members(zynParameterMapMembers& out);
  // Adds the slot of the member at "at", growing the index when it fills.
  void index_member(size_t at, uint32_t hash);
  // Puts "slot" in the first free slot of its probe sequence.
  void place(Slot slot);
  // Makes the member at "at" the one found for its name in another case.
  void choose_case(size_t at, uint32_t hash);
  // Clears "p"'s parent link when it still points at this map.
  void release(const zynParameterPtr& p);
  void assign_members(const zynParameterMap& other);

  zynParameterMapMembers m_members;
  std::vector<Slot> m_slots;  // a power of two in size, at most three quarters used
  int32_t m_fixed = 1;
  int32_t m_copy_active_expr = 0;
  zynParameterSubType m_subtype = PS_MAP;
};

// Entity identities: random 128-bit unique ids written as 32 hexadecimal
// digits, the session's table of canonical ids, and references to objects
// by id (used by references, roots and data parameters).
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "zyn/host/utString.h"

class ZYN_EXPORT zynUniqueId {
 public:
  // An invalid id.
  zynUniqueId() = default;

  // Returns a new valid id of 128 random bits.
  static zynUniqueId create();

  // Parses "hex" (32 hexadecimal digits, either case). Returns non-zero on
  // success; otherwise the id becomes invalid.
  int become(const char* hex);

  // Returns the 32 lower-case hexadecimal digits, or "" when invalid.
  utString hex_string() const;
  int is_valid() const { return m_valid; }

  bool operator==(const zynUniqueId& o) const { return m_valid == o.m_valid && m_hi == o.m_hi && m_lo == o.m_lo; }
  bool operator!=(const zynUniqueId& o) const { return !(*this == o); }
  size_t hash() const { return static_cast<size_t>(m_hi ^ (m_lo * 0x9e3779b97f4a7c15ULL)); }

 private:
  uint64_t m_hi = 0;
  uint64_t m_lo = 0;
  int m_valid = 0;
};

// A shared handle on a unique id; identity of the handle does not matter,
// only the id it holds.
class ZYN_EXPORT zynUniqueIdPtr {
 public:
  zynUniqueIdPtr() = default;
  explicit zynUniqueIdPtr(const zynUniqueId& id) : m_id(std::make_shared<zynUniqueId>(id)) {}
  const zynUniqueId* get_uid() const { return m_id.get(); }
  int is_valid() const { return m_id && m_id->is_valid(); }

 private:
  std::shared_ptr<zynUniqueId> m_id;
};

// The process's table of entity identities, so that equal ids share one entry.
class ZYN_EXPORT zynUniqueIdTable {
 public:
  static zynUniqueIdTable& session_entities();

  int member(const zynUniqueId& id) const;
  void add(const zynUniqueId& id);
  // Returns the canonical entry for "id", or an empty handle when absent.
  zynUniqueIdPtr find(const zynUniqueId& id) const;

 private:
  struct Hash {
    size_t operator()(const zynUniqueId& id) const { return id.hash(); }
  };
  std::unordered_map<zynUniqueId, zynUniqueIdPtr, Hash> m_entries;
};

// A reference to an object by its unique id; empty (invalid) by default.
class ZYN_EXPORT zynRefToObjectId {
 public:
  zynRefToObjectId() = default;

  void become(const zynUniqueIdPtr& id) { m_uid = id; }
  void become(const zynRefToObjectId& other) { m_uid = other.m_uid; }
  void set_invalid() { m_uid = zynUniqueIdPtr(); }
  int is_valid() const { return m_uid.is_valid(); }
  const zynUniqueIdPtr& get_uid() const { return m_uid; }

  // Returns 1 when both refer to the same id, or both are invalid.
  int is_equal(const zynRefToObjectId& other) const;

  // Returns the shared empty reference.
  static const zynRefToObjectId& empty();

 private:
  zynUniqueIdPtr m_uid;
};

// Hashing and comparison of references by the id they hold (all invalid
// references are one), for sets of referenced objects.
struct ZYN_EXPORT zynRefToObjectIdHash {
  size_t operator()(const zynRefToObjectId& r) const { return r.is_valid() ? r.get_uid().get_uid()->hash() : 0; }
};
struct ZYN_EXPORT zynRefToObjectIdSame {
  bool operator()(const zynRefToObjectId& a, const zynRefToObjectId& b) const { return a.is_equal(b) != 0; }
};
using zynRefToObjectIdcoSet = std::unordered_set<zynRefToObjectId, zynRefToObjectIdHash, zynRefToObjectIdSame>;

#include "zyn/host/zynUniqueId.h"

#include <array>
#include <random>

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Seeds from eight words of the device (256 bits) rather than one, so that
// two processes draw the same stream of ids with no real chance.
std::mt19937_64 seeded_generator() {
  std::random_device device;
  std::array<std::random_device::result_type, 8> words{};
  for (auto& word : words) word = device();
  std::seed_seq seed(words.begin(), words.end());
  return std::mt19937_64(seed);
}

std::mt19937_64& generator() {
  static std::mt19937_64 gen = seeded_generator();
  return gen;
}

}  // namespace

zynUniqueId zynUniqueId::create() {
  zynUniqueId id;
  id.m_hi = generator()();
  id.m_lo = generator()();
  id.m_valid = 1;
  return id;
}

int zynUniqueId::become(const char* hex) {
  *this = zynUniqueId();
  if (!hex) return 0;
  uint64_t parts[2] = {0, 0};
  int n = 0;
  for (; hex[n] != '\0'; ++n) {
    int d = n < 32 ? hex_digit(hex[n]) : -1;
    if (d < 0) return 0;
    parts[n / 16] = (parts[n / 16] << 4) | static_cast<uint64_t>(d);
  }
  if (n != 32) return 0;
  m_hi = parts[0];
  m_lo = parts[1];
  m_valid = 1;
  return 1;
}

utString zynUniqueId::hex_string() const {
  if (!m_valid) return utString();
  static const char digits[] = "0123456789abcdef";
  utString out(32, '0');
  for (int i = 0; i < 16; ++i) {
    out[15 - i] = digits[(m_hi >> (4 * i)) & 0xf];
    out[31 - i] = digits[(m_lo >> (4 * i)) & 0xf];
  }
  return out;
}

zynUniqueIdTable& zynUniqueIdTable::session_entities() {
  static zynUniqueIdTable* table = new zynUniqueIdTable();  // lives until unload
  return *table;
}

int zynUniqueIdTable::member(const zynUniqueId& id) const { return m_entries.count(id) ? 1 : 0; }

void zynUniqueIdTable::add(const zynUniqueId& id) {
  if (id.is_valid() && !m_entries.count(id)) m_entries.emplace(id, zynUniqueIdPtr(id));
}

zynUniqueIdPtr zynUniqueIdTable::find(const zynUniqueId& id) const {
  auto it = m_entries.find(id);
  return it == m_entries.end() ? zynUniqueIdPtr() : it->second;
}

int zynRefToObjectId::is_equal(const zynRefToObjectId& other) const {
  if (!is_valid() || !other.is_valid()) return is_valid() == other.is_valid();
  return *m_uid.get_uid() == *other.m_uid.get_uid();
}

const zynRefToObjectId& zynRefToObjectId::empty() {
  static const zynRefToObjectId none;
  return none;
}

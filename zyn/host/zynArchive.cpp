#include "zyn/host/zynArchive.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

namespace {

constexpr int max_length_digits = 19;  // fits a 64-bit length

}  // namespace

zynArchive::zynArchive() : m_own(std::make_unique<std::stringstream>()), m_stream(m_own.get()) {}

zynArchive::zynArchive(std::iostream& stream) : m_stream(&stream) {}

zynArchive& zynArchive::operator<<(const char* text) {
  if (!text) text = "";
  write(text, std::strlen(text));
  return *this;
}

zynArchive& zynArchive::operator<<(const utString& text) {
  write(text.data(), text.size());
  return *this;
}

void zynArchive::write(const char* data, size_t length) {
  if (!m_good) return;
  *m_stream << std::to_string(length) << '\n';  // the stream's locale must not group digits
  m_stream->write(data, static_cast<std::streamsize>(length));
  m_stream->flush();
  if (!*m_stream) m_good = 0;
}

zynArchive& zynArchive::operator>>(utString& text) {
  text.clear();
  if (!m_good) return *this;
  // The length is parsed by hand: stream extraction of a number would skip
  // white space and accept a sign.
  unsigned long long length = 0;
  int digits = 0;
  int c = m_stream->get();
  for (; c >= '0' && c <= '9' && digits < max_length_digits; c = m_stream->get(), ++digits)
    length = length * 10 + static_cast<unsigned>(c - '0');
  if (digits == 0 || c != '\n') {
    m_good = 0;
    return *this;
  }
  // A corrupt length must not allocate more than the stream holds.
  char buf[4096];
  while (length > 0) {
    const size_t want = static_cast<size_t>(std::min<unsigned long long>(length, sizeof buf));
    m_stream->read(buf, static_cast<std::streamsize>(want));
    const size_t got = static_cast<size_t>(m_stream->gcount());
    text.append(buf, got);
    if (got < want) {
      text.clear();
      m_good = 0;
      return *this;
    }
    length -= got;
  }
  return *this;
}

// An archive that carries whole texts: the serializer writes a saved tree as
// one string and reads it back as one string. Each string is stored as its
// byte length in decimal, a line feed and the bytes:
//
//   record -> length '\n' bytes          e.g. "5\nhello"
//
// so any bytes, line breaks and null characters included, come back
// unchanged. The archive works over a caller's stream or its own buffer.
#pragma once

#include <iosfwd>
#include <memory>
#include <sstream>

#include "zyn/host/utString.h"

class ZYN_EXPORT zynArchive {
 public:
  // An archive over its own in-memory buffer: what is written can be read.
  zynArchive();
  // An archive over "stream", which must outlive it.
  explicit zynArchive(std::iostream& stream);
  zynArchive(const zynArchive&) = delete;
  zynArchive& operator=(const zynArchive&) = delete;

  // Write the text (null gives "") as one record.
  zynArchive& operator<<(const char* text);
  zynArchive& operator<<(const utString& text);

  // Reads one record into "text". On a missing, malformed or cut record
  // "text" becomes "" and the archive fails; a failed archive reads nothing.
  zynArchive& operator>>(utString& text);

  // Returns non-zero while no read or write has failed.
  int good() const { return m_good; }

  // Returns the in-memory buffer's contents ("" over a caller's stream).
  utString buffer() const { return m_own ? m_own->str() : utString(); }

 private:
  void write(const char* data, size_t length);

  std::unique_ptr<std::stringstream> m_own;
  std::iostream* m_stream;
  int m_good = 1;
};

// The archive type named by the serializer's archive interface.
using CArchive = zynArchive;

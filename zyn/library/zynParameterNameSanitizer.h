// zynParameterNameSanitizer turns arbitrary text (titles typed by users,
// file names, entity names) into names that key syntax accepts, so that the
// text can serve as a member name of a map. The built-ins map_key and
// sanitize call it.
//
// Example:
//   zynParameterNameSanitizer().map_key("3 axis/finish");  // "_3_axis_finish"
//   zynParameterNameSanitizer().sanitize("Café au lait");    // "Cafe_au_lait"
#pragma once

#include "zyn/host/utString.h"

// Stateless: one object serves any number of texts.
class ZYN_EXPORT zynParameterNameSanitizer {
 public:
  zynParameterNameSanitizer() = default;

  // Returns "text" made of name characters only, visiting it character by
  // character: ASCII letters, digits and "_" are kept; tab, space and "." become
  // "_"; the accented Latin letters (U+00C0 to U+00FF, "×" and "÷" among
  // them) are transliterated ("É" to "E", "ß" to "s", "×" to "x", "÷" to
  // "_"); everything else is dropped. Texts are UTF-8, but a stray byte from
  // 192 to 255 (a Latin-1 text) is transliterated as the character of that
  // code, so both encodings give the same name.
  utString sanitize(const utString& text) const;

  // Returns sanitize("text") after every "/" and "\" has become "_", with a
  // "_" in front when the result would begin with a digit (a leading digit
  // would make a key an index).
  utString map_key(const utString& text) const;
};

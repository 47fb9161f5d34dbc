// Helpers shared by the array kinds: reading the index of a key component
// and reaching an element of any sequence by position.
#pragma once

#include "zyn/collections/zynParameterArray.h"

// Reads "text" as a decimal index. Blanks around the digits are allowed (an
// index key keeps the blanks written inside its brackets); anything else
// after the number, or no number at all, makes it fail. Returns true and
// stores the value in "index" on success.
bool zyn_parse_index(const utString& text, int& index);

// Returns element "i" of "p": directly for the array kinds, through the const
// operator[] with an index key for any other parameter. Out-of-range
// positions give "Invalid name".
zynParameterPtr zyn_element_at(const zynParameter& p, int i);

// Returns the position of the first of the ","-separated "names" that is not
// empty and equals "name" ignoring letter case, among the first "limit"
// names; -1 when there is none.
int zyn_find_access_name(const utString& names, const utString& name, int limit);

// Returns how many names the ","-separated text "names" holds; 0 when empty.
int zyn_count_access_names(const utString& names);

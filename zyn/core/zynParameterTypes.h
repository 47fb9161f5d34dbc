// The kind enumerations shared by every parameter class, the key parser and
// the serializer. Their numeric values are part of the interface: saved
// files and hosts rely on them.
#pragma once

#include <cstdint>

// The coarse kind of a parameter (and of a key's first component).
enum zynParameterType : int32_t {
  PT_ERROR = 0,     // an error value; a reference without target
  PT_MAP = 1,       // maps and roots; a key's member name
  PT_ARRAY = 2,     // arrays, vectors, lists; a key's index
  PT_STRING = 3,    // strings
  PT_NUMERIC = 4,   // numbers of every subtype
  PT_ENUM = 5,      // enumerations
  PT_FUNCTION = 6,  // functions, member functions, the library
  PT_DATA = 7       // host entity data
};

// The exact kind of a parameter. 0 to 9 are the error codes.
enum zynParameterSubType : int32_t {
  PS_ERR_UNKNOWN = 0,          // "Unknown error"
  PS_ERR_SYNTAX = 1,           // "Syntax error"
  PS_ERR_REFERENCE = 2,        // "Expression/Reference error"
  PS_ERR_NAME = 3,             // "Invalid name"
  PS_ERR_DOMAIN = 4,           // "Domain error"
  PS_ERR_DIVIDE_BY_ZERO = 5,   // "Divide by zero"
  PS_ERR_DIMENSIONS = 6,       // "Incompatible dimensions"
  PS_ERR_TYPE = 7,             // "Type error"
  PS_ERR_ARGUMENTS = 8,        // "Invalid arguments"
  PS_ERR_DATA = 9,             // "Invalid data"
  PS_MAP = 10,                 // a map
  PS_ROOT = 11,                // the root of a tree
  PS_DICT = 12,                // a dictionary map
  PS_VECTOR = 13,              // vectors and temporary arrays
  PS_LIST = 14,                // a list
  PS_ARRAY = 15,               // a plain array
  PS_SHAREDLIST = 16,          // a list of parameters owned elsewhere
  PS_STRING = 17,              // a string
  PS_DATA = 18,                // host entity data
  PS_NUMERIC = 19,             // a general dimensioned number
  PS_REAL = 20,                // a real number
  PS_INT = 21,                 // an integer
  PS_BOOL = 22,                // a boolean
  PS_ANGLE = 23,               // an angle
  PS_ENUM = 24,                // an enumeration
  PS_FUNCTION = 25,            // a function defined by an expression
  PS_LIBFUNCTION = 26,         // a library object bound to one built-in
  PS_LIB = 27,                 // the library object
  PS_MEMBERFUNCTION = 28       // a native function supplied by a host
};

// How a host measures a real or angle value; 0 is the default, other values
// belong to the host.
enum zynParameterMeasureMode : int32_t { PM_DEFAULT = 0 };

// How a value changes when a tree is mirrored (see zynParameterUtils).
enum zynParameterMirrorMode : int32_t {
  PMM_NONE = 0,        // unchanged (X/Y/Z vectors are reflected)
  PMM_NEGATE = 1,      // v becomes -v
  PMM_ADD_180 = 2,     // v becomes v + 180, wrapped into 360 (270 gives 90)
  PMM_SUBTRACT_180 = 3,  // v becomes v - 180
  PMM_SUPPLEMENT = 4,  // v becomes 180 - v
  PMM_SWAP_SIDE = 5,   // the text "left" becomes "right" and back, any letter case
  PMM_KEEP = 6,        // unchanged
  PMM_SWAP_END = 7,    // v and its sibling "End" exchange values, each negated
  PMM_ARBITRARY = 8    // the text becomes "arbitary"; the sibling "Normal" is set once
};

// zynParameterVector is an array of fixed length whose components can also be
// addressed by name: a point or direction (X, Y, Z), a colour (R, G, B), a
// plane triple, up to ten ordinal places, or names given as text. It refuses
// insertion and removal, is assigned as a whole from expression text such as
// a braced list, and resets to its default text in the current unit system.
//
// Example:
//   zynParameterVector v(3, prototype);   // three clones of "prototype"
//   v.set_access_type(PVA_XYZ);
//   v[zynParameterKey("y")];             // the component at position 1
#pragma once

#include <cstdint>

#include "zyn/collections/zynParameterArray.h"

// Which set of component names a vector uses.
enum zynParameterVectorAccessType : int32_t {
  PVA_NONE = 0,     // no names
  PVA_XYZ = 1,      // "X,Y,Z": a point or direction
  PVA_ORDINAL = 2,  // "First,Second,...,Tenth"
  PVA_NAMED = 3,    // names given as text
  PVA_PLANES = 4,   // "XY,YZ,ZX"
  PVA_RGB = 5       // "R,G,B": a colour
};

// A vector owns its components and is their parent, as an array is. Copies
// are deep and keep the access type and names. The subtype is PS_VECTOR.
class ZYN_EXPORT zynParameterVector : public zynParameterArray {
 public:
  ZYN_DECLARE_TYPE(zynParameterVector, zynParameterArray)

  // A vector of "n" clones of "prototype" (none when "n" is not positive);
  // the prototype itself is not kept.
  zynParameterVector(int n, zynParameterPtr prototype);
  // A deep copy with the same access type and names; the keys list is rebuilt on demand.
  zynParameterVector(const zynParameterVector& other);
  // Assigns the components from "other" (copy_value_from), shares its record
  // and takes its access type and names.
  zynParameterVector& operator=(const zynParameterVector& other);
  ~zynParameterVector() override;

  zynParameter* create_new() const override;
  // Applies the default text of the current unit system through set_string
  // when a default is set; otherwise resets every component.
  void reset() override;
  // Evaluates "text" in the scope of this vector; when the result is an array
  // of this vector's (non-zero) length, component i takes its element i
  // through copy_value_from. Any other result, or a lock, changes nothing.
  void set_string(const utString& text) override;
  // Stores the default texts, unevaluated, in the shared record; the second
  // only when it differs from the first.
  void set_defaults(const utString& metric, const utString& imperial) override;
  // Copies element-wise from an array of the same length whose elements are
  // all of the class of the first component (entities pass for references).
  // Roots copied into reference components become references by id.
  // Anything else leaves the vector unchanged.
  void copy_value_from(const zynParameter& other) override;
  // Component access by index or by name (ignoring letter case), and the
  // member "_keys": a list of the names as strings, the same list each time.
  // Unknown names give "Invalid name".
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Both refuse with "Type error": a vector's length is fixed.
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p) override;
  zynParameterPtr remove(const zynParameterKey& key) override;
  // Does nothing: the components stay.
  void remove_all() override {}

  zynParameterVectorAccessType access_type() const { return m_access_type; }
  // Stores "t" and installs its names (types 3 and unknown values keep the names).
  void set_access_type(zynParameterVectorAccessType t);
  // Sets type 3 with "names" (separated by ",") as they are.
  void set_access_type(const utString& names);
  const utString& get_access_names() const { return m_access_names; }

 protected:
  // An empty vector without names.
  zynParameterVector();
  // Copies the zynParameter part, the access type and names; no elements.
  zynParameterVector(const zynParameterVector& other, zynBaseOnly);

  zynParameterSubType subtype() const override { return PS_VECTOR; }

  // Returns the keys list, building it from the access names on first use
  // (at most size() of them). The same list is returned until it is dropped.
  zynParameterPtr get_keys() const;

  zynParameterVectorAccessType m_access_type = PVA_NONE;
  utString m_access_names;
  // The names as a list of strings; null until first requested.
  mutable zynParameterPtr m_keys;

 private:
  // Returns the index key for a name key that matches an access name, else "key".
  zynParameterKey apply_accessors(const zynParameterKey& key) const;
  // Returns 1 for the member "_keys" of a vector that has names.
  int is_keys(const zynParameterKey& key) const;
};

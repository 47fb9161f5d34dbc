// zynParameterLoader applies saved values to a tree: the serializer (and a
// host) hands it each key with its value text, and each new parameter that
// a saved file declares. Roots make loaders (zynParameterRoot::create_loader);
// hosts derive from both to take part in loading.
#pragma once

#include "zyn/core/zynParameterRoot.h"

// A loader works on one root, which must outlive it, and records the key
// texts whose values it applied.
class ZYN_EXPORT zynParameterLoader {
 public:
  // A loader over "root"; "version" (the saved tree's version) is kept for
  // derived loaders.
  zynParameterLoader(zynParameterRoot& root, int version);
  zynParameterLoader(const zynParameterLoader&) = delete;
  zynParameterLoader& operator=(const zynParameterLoader&) = delete;
  virtual ~zynParameterLoader();

  // Applies "text" to the parameter at "key" and returns 0, or returns 1 when
  // the root has no such parameter (the key and text are then recorded as
  // unrecognised). A reference takes a text "&path" as its new reference
  // text; data parameters and scalars take the text (numbers and "=..."
  // expressions in the neutral form are localised); arrays are only noted.
  // A parameter without group takes its container's group and, as label,
  // the key's last component.
  virtual int load_par(const zynParameterKey& key, const utString& text);
  // What load_par does once it has found "par" at the key whose text is
  // "key" and whose last component is "last". The serializer, walking the
  // containers as it reads, calls it in place of load_par on loaders of this
  // very class.
  int load_found(zynParameter& par, const utString& key, const utString& last, const utString& text);
  // Adds "p" to the root at "key" (translated), in the container named by
  // the key's parent. Returns 0 when "p" was handed to a container, 1 (and
  // drops "p") for an empty key or a missing container.
  virtual int define_par(const zynParameterKey& key, zynParameterPtr p);
  // Tells that the lock of the parameter at "key" is "uid"; nothing here.
  virtual void associate(const zynParameterKey& key, const zynUniqueIdPtr& uid);

  // The key texts of the values applied, in order.
  const utStringcoSList& loaded_pars() const { return m_loaded; }
  zynParameterRoot& root() const { return m_root; }
  int version() const { return m_version; }

 protected:
  // The serializer keeps the keys that a loader of this class applied for
  // it (apply_found) and takes over the ones it recorded itself.
  friend class zynParameterSerializer;
  // load_found without the record: returns 0 when the key is to be recorded.
  int apply_found(zynParameter& par, const utString& key, const utString& last, const utString& text);
  zynParameterRoot& m_root;
  int m_version;
  utStringcoSList m_loaded;
};

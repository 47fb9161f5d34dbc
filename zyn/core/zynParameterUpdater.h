// Migration of loaded trees from older versions. A host root whose layout
// changes between versions hands out a zynParameterUpdater (its get_updater);
// after a tree saved by an older version is loaded, the serializer calls
// update with the file's version, and the updater runs one simple step per
// version until the tree reaches the root's version. Keys of the file that
// the root did not recognise are collected in a process-wide table, so that
// steps (or the host) can carry their values over to renamed parameters.
#pragma once

#include <list>

#include "zyn/core/zynParameterKey.h"
#include "zyn/core/zynParameterRoot.h"
#include "zyn/host/utString.h"

// One migration step: moves "root" on from "version" and raises "version"
// (usually by one). "names" are the keys the loader recognised.
using zynParameterSimpleUpdater = void (*)(int& version, zynParameterRoot& root, const utStringcoSList& names);
// The steps of an updater in version order: entry i migrates from version i.
using zynParameterSimpleUpdatercoSList = std::list<zynParameterSimpleUpdater>;

// Base of host updaters. The base update does nothing; a host overrides it,
// usually by calling apply_update with its list of steps. Not copyable.
class ZYN_EXPORT zynParameterUpdater {
 public:
  virtual ~zynParameterUpdater() = default;
  zynParameterUpdater(const zynParameterUpdater&) = delete;
  zynParameterUpdater& operator=(const zynParameterUpdater&) = delete;

  // Brings "root", loaded from a tree of "version", up to the root's own
  // version. "names" are the keys that were loaded. Does nothing here.
  virtual void update(int version, zynParameterRoot& root, const utStringcoSList& names);

  // Records that the loaded key "key" with value text "value" had no place
  // in the tree; a later value for the same key replaces the earlier one.
  static void add_unrecognised_par(const utString& key, const utString& value);
  // Empties the table; the serializer does so when it starts loading.
  static void clear_unrecognised_pars();
  // Returns the table of unrecognised keys (key text to value text).
  static const utStringutStringcoTable& get_unrecognised_pars();

 protected:
  zynParameterUpdater() = default;

  // Runs the steps of "steps" on "root", starting with entry "version" (so
  // version 1 starts with the second entry), with a working copy of
  // "version" that each step raises. Stops as soon as the working version
  // equals the root's version, or when the steps run out. Nothing happens
  // when "version" already is the root's version, "steps" is null, or no
  // step exists for "version" (a negative version starts with the first).
  void apply_update(int version, zynParameterRoot& root, const zynParameterSimpleUpdatercoSList* steps,
                    const utStringcoSList& names);
};

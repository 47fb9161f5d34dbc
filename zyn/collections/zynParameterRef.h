// zynParameterRef stands for another parameter. It keeps the text of the
// reference and resolves it through the expression evaluator on every use,
// then behaves as its target: it reports the target's type and subtype, reads
// and writes values through to it and forwards indexing, membership,
// operators and container operations to it.
//
// Reference texts:
//   a.b             a key path, evaluated from the reference's own place
//   id:HEX          the entity or root with that unique id
//   excl:HEX:a.b    the member a.b inside the entity or root HEX
//   WORD:TEXT       handed to the host's entity(WORD, TEXT) function
//
// Example:
//   zynParameterPtr r(new zynParameterRef("tool.diameter"));
//   map->add("d", r);
//   r->get_double();   // the value of tool.diameter
#pragma once

#include <cstdint>

#include "zyn/core/zynParameter.h"

// A reference to a parameter by path or by entity id. It owns its target only
// from one resolution to the next: the raw pointer handed out by get_ref
// stays valid until the reference is resolved again. Copies share nothing
// with the source except the descriptive record; they resolve on their own.
class ZYN_EXPORT zynParameterRef : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterRef, zynParameter)

  // A reference with the text "text" (see set_ref_string), any target type.
  explicit zynParameterRef(const utString& text);
  // Copies every setting; the copy has no target until it is first used.
  zynParameterRef(const zynParameterRef& other);
  zynParameterRef& operator=(const zynParameterRef& other);
  ~zynParameterRef() override;

  // --- The reference itself ---------------------------------------------------
  // Parses "text" into scheme, path and object id and fires the modify
  // callback. Ignored while the reference is locked. An id that does not
  // parse as a unique id leaves the object id invalid.
  void set_ref_string(const utString& text);
  // Returns the reference text: PATH, id:HEX, excl:HEX:PATH or WORD:PATH,
  // HEX in the lower-case form the unique-id service writes.
  utString get_ref_string() const;

  // Restricts the target to parameters of type "type"; PT_ERROR allows any.
  void set_ref_type(zynParameterType type) { m_ref_type = type; }
  zynParameterType get_ref_type() const { return m_ref_type; }
  // Restricts the target to roots of "root_type" ("*" for any root) and sets
  // the reference type to PT_MAP.
  void set_ref_root_type(const utString& root_type);
  const utString& get_ref_root_type() const { return m_root_type; }

  // Walkers and printing do not descend through a reference marked nofollow.
  void set_nofollow(int on) { m_nofollow = on ? 1 : 0; }
  int nofollow() const { return m_nofollow; }

  // Turns the reference into an id reference to the root it currently
  // reaches, so that it keeps finding that root wherever it moves. Nothing
  // happens when locked or when the target is not a root.
  void lock_ref_to_id();

  // --- Overrides ----------------------------------------------------------------
  zynParameter* create_new() const override { return new zynParameterRef(*this); }
  // Makes the object id invalid; the text is otherwise kept.
  void reset() override;
  // Returns 1 for a valid object id; else 0 without target or with an error
  // target; else the target's validity.
  int is_valid() const override;
  // Returns the target's answer; 1 while the reference has no target.
  int is_error() const override;
  zynParameterOnModify set_onmodify_callback(zynParameterOnModify fn) override;
  // Returns "(REF", " !" when invalid, ") ", the reference text, then the
  // target's print after " = ", or " = (NULL REFERENCE!)\n" without target,
  // or just "\n" when nofollow. Past depth 50, or when the reference is met
  // again inside its own print, " = (RECURSIVE REFERENCE!)\n" ends the line.
  utString print(int depth) const override;

  // Values are read from and written to the target. Without a target the
  // getters answer as the "Expression/Reference error" value does (0, 0.0,
  // its "#ERROR: ..." text) and the setters do nothing; setters also leave
  // an error target alone.
  int get_int() const override;
  double get_double() const override;
  utString get_string() const override;
  void set_int(int value) override;
  void set_double(double value) override;
  // A text beginning with "&" re-points the reference at the rest of the
  // text; any other text is written into the target.
  void set_string(const utString& text) override;

  // Returns the stored id for an id reference, the root's id when the target
  // is a root, the empty id for an excl reference with a path, else the
  // stored (possibly invalid) id.
  const zynRefToObjectId& get_ref_id() const override;
  // Makes this an id reference to "id" and fires the modify callback; a
  // locked reference accepts only its current id.
  void set_ref_from_id(const zynRefToObjectId& id) override;
  // From another reference: copies scheme, path, object id and nofollow
  // (not the type restrictions), unless locked. From anything else: writes
  // the source's expression text into the target.
  void copy_value_from(const zynParameter& source) override;

  int is_expr() const override;
  utString get_expr() const override;
  // Operators apply to the target; without a target "Expression/Reference error".
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& other) const override;
  zynParameterPtr operate_prefix(const utString& op) const override;
  zynParameterPtr operate_postfix(const utString& op) const override;
  // Returns 0 without target or with an error target, else the target's size.
  int size() const override;
  // The key "_ref" yields a new string holding the reference text; any other
  // key is looked up in the target ("Expression/Reference error" without one).
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Container operations act on the target.
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p) override;
  zynParameterPtr remove(const zynParameterKey& key) override;
  void remove_all() override;

  // Resolves the reference and returns the target, following references in
  // turn to a parameter that is not a reference. The target is an error
  // value when the text is empty or does not evaluate ("Expression/Reference
  // error"), when it reaches the reference itself or one of its ancestors
  // (same), or when it has the wrong type or root type ("Type error").
  // Returns null while the reference is already being resolved: it has met
  // itself again, and every caller treats that as no target.
  const zynParameter* get_ref() const override;
  zynParameter* get_ref() override;

 protected:
  // The target's subtype and type; PS_ERR_REFERENCE and PT_ERROR without one.
  zynParameterSubType subtype() const override;
  zynParameterType type() const override;
  zynParameterPtr evaluate() const override;
  // Returns 1 when both resolve to the same parameter, else compares the targets.
  int is_equal(const zynParameter& other) const override;
  const zynRefToObjectId get_lock_id_imp(const zynParameter& p) const override;

 private:
  // Returns the expression that finds the target, empty when there is none.
  utString build_expression() const;
  // Evaluates the expression and applies the checks; stores the target.
  const zynParameter* resolve_target() const;
  zynParameterPtr find_target() const;
  // Returns the target held for the duration of one forwarded call, or a
  // null pointer when there is none.
  zynParameterPtr held_target() const;

  utString m_scheme;                // "id", "excl", another word, or empty
  utString m_path;                  // the path; for "id" the id text as given
  zynRefToObjectId m_id;            // invalid for plain paths
  zynParameterType m_ref_type = PT_ERROR;
  utString m_root_type;
  mutable zynParameterPtr m_target;  // the last resolution's result
  mutable int32_t m_busy = 0;        // 1 while resolving
  int32_t m_nofollow = 0;

  // Bookkeeping that keeps nested resolutions and forwarded calls finite:
  // the resolution pass that produced m_target, and whether a forwarded call
  // through this reference is under way.
  mutable uint64_t m_pass = 0;
  mutable int32_t m_forwarding = 0;
};

// zynParameter is the base of every value in the parameter store: numbers,
// strings, enumerations, containers, references, functions, errors and host
// data. It carries what all kinds share: a shared descriptive record (name,
// description, label, group, activity condition), a lock, the link to the
// container that holds it, host callbacks, and the cached activity state with
// the dependency lists that keep it current. Kinds override the virtual
// operations below; the base answers "Type error" for what a kind does not
// support. Parameters are held through zynParameterPtr (zynParameterPtr.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "zyn/core/zynParameterKey.h"
#include "zyn/core/zynParameterPtr.h"
#include "zyn/core/zynParameterTypes.h"
#include "zyn/host/utString.h"
#include "zyn/host/utTypeID.h"
#include "zyn/host/zynContainers.h"
#include "zyn/host/zynUniqueId.h"
#include "zyn/values/zynUnits.h"

class zynParameter;


// The shared descriptive record of a parameter. Copies of a parameter share
// one record, so renaming a copy renames its source too. Most parameters
// carry a name and nothing else, so the record keeps the name inline and
// every other field only once it is set.
class ZYN_EXPORT zynParameterImpl {
 public:
  // The texts besides the name; unset ones read as "".
  enum Field : uint8_t {
    ACTIVE_EXPR,
    GROUP_NAME,
    LABEL,
    DESC,
    TYPENAME,
    DEFAULT_VALUE,
    DEFAULT_VALUE_SECOND_UNITS,  // only when it differs from the first
  };

  zynParameterImpl() = default;
  zynParameterImpl(const zynParameterImpl& other);
  zynParameterImpl& operator=(const zynParameterImpl& other);
  zynParameterImpl(zynParameterImpl&&) noexcept = default;
  zynParameterImpl& operator=(zynParameterImpl&&) noexcept = default;
  ~zynParameterImpl();

  const utString& name() const { return m_name; }
  void set_name(const utString& name) { m_name = name; }
  // Returns the text of "field", or a shared empty text when it is unset.
  const utString& get(Field field) const;
  // Stores "text"; an unset field stays unset when "text" is empty.
  void set(Field field, const utString& text);
  zynParameterMirrorMode mirror_mode() const;
  void set_mirror_mode(zynParameterMirrorMode mode);

  // The empty text that unset fields read as.
  static const utString& empty_text();

 private:
  struct Extra;
  utString m_name;
  std::unique_ptr<Extra> m_extra;  // null while only the name is set
};
using zynParameterImplPtr = std::shared_ptr<zynParameterImpl>;

// Host callbacks.
using zynParameterOnModify = void (*)(zynParameter*);
using zynParameterOnRead = void (*)(const zynParameter*);
using zynParameterMirrorCallback = zynParameterMirrorMode (*)(const zynParameter*);

// Declares the run-time type members of a parameter class. Use in the public
// section of every class, naming its direct base; define the identity with
// ZYN_DEFINE_TYPE in the .cpp.
#define ZYN_DECLARE_TYPE(Class, BaseClass)                                                    \
  static const utTypeID& ut_static_type();                                            \
  const utTypeID& ut_dynamic_type() const override { return ut_static_type(); }       \
  int ut_is_kind_of(const utTypeID& t) const override {                               \
    return &t == &ut_static_type() || BaseClass::ut_is_kind_of(t);                    \
  }                                                                                   \
  static Class* ut_dynamic_cast(zynParameter* p) {                                    \
    return p && p->ut_is_kind_of(ut_static_type()) ? static_cast<Class*>(p) : nullptr; \
  }                                                                                   \
  static const Class* ut_dynamic_cast(const zynParameter* p) {                        \
    return p && p->ut_is_kind_of(ut_static_type()) ? static_cast<const Class*>(p)     \
                                                   : nullptr;                         \
  }

// Defines the identity declared by ZYN_DECLARE_TYPE; the identity is made
// when the library loads, named by the class's name as text.
#define ZYN_DEFINE_TYPE(Class, BaseClass)                                        \
  const utTypeID& Class::ut_static_type() {                                      \
    static const utTypeID id(utTypeMake, #Class, &BaseClass::ut_static_type()); \
    return id;                                                                   \
  }                                                                              \
  static const utTypeID& zyn_type_id_of_##Class = Class::ut_static_type();

// Per-parameter activity bookkeeping, allocated only for parameters that take
// part in activity tracking.
struct ZYN_EXPORT zynParameterActivityLinks {
  zynParameterPtrcoDList dependencies;  // what our activity condition reads
  zynParameterPtrcoDList dependents;    // whose activity conditions read us (external)
};

class ZYN_EXPORT zynParameter {
 public:
  // A new parameter has no parent, no callbacks, no lock and no record of
  // its own until a text of the record is set. A copy shares the source's
  // record, takes its lock flag and callbacks and borrows its parent link
  // (see parent()); assignment shares the record and copies the callbacks,
  // never the lock or the parent.
  zynParameter();
  zynParameter(const zynParameter& other);
  zynParameter& operator=(const zynParameter& other);
  virtual ~zynParameter();

  // --- Run-time type scheme -------------------------------------------------
  static const utTypeID& ut_static_type();
  virtual const utTypeID& ut_dynamic_type() const { return ut_static_type(); }
  // Returns 1 when this object is of the class of "t" or derives from it.
  virtual int ut_is_kind_of(const utTypeID& t) const { return &t == &ut_static_type(); }
  static zynParameter* ut_dynamic_cast(zynParameter* p) { return p; }
  static const zynParameter* ut_dynamic_cast(const zynParameter* p) { return p; }

  // --- Virtual interface, in slot order ------------------------------------
  // Each operation below says what the base answers; the kinds named after
  // "Kinds:" override it (scalars are numerics, strings and enumerations;
  // containers are maps, roots, arrays, vectors and lists). A reference
  // forwards nearly every operation to its target, and an error value
  // answers most of them as an error.

  // Returns a new heap copy of the same concrete class, made by its copy
  // constructor: the copy shares the descriptive record and keeps the
  // source's container as a borrowed parent until a container adopts it.
  // The caller owns the result (hold it in a zynParameterPtr at once).
  virtual zynParameter* create_new() const = 0;

  // Restores the default value. The base does nothing. Kinds: scalars take
  // their default text (the second unit system's when that system is in
  // use), containers empty themselves (a fixed map resets each member
  // instead), a reference resets its target. Locked parameters stay as they are.
  virtual void reset() {}

  // Returns 1 when the value can be read: for a scalar, when its text
  // evaluates (a formula may fail); for a container, when every
  // active member is valid. The base, with nothing to evaluate, answers 1.
  // Errors answer 0.
  virtual int is_valid() const { return 1; }

  // Returns 0 when the parent is inactive, else the (cached) activity condition.
  // The condition is evaluated in the parent's scope; a result that is not a
  // number counts as inactive. An error value answers 0.
  virtual int is_active() const;

  // The activity condition alone (evaluated once until it is invalidated):
  // what the base is_active() answers once the container is known active.
  int own_activity() const {
    if (!m_active_valid) update_active();
    return m_active_value;
  }

  // Returns 1 for an error value (zynParameterError) and for a reference
  // whose target is one. Every failing operation of the library returns an
  // error value rather than throwing; test results with this.
  virtual int is_error() const { return 0; }

  // Returns the type name a map or root carries (the root type of a root).
  // The base answers the static text "Invalid typename"; set_typename does
  // nothing but in maps.
  virtual const utString& get_typename() const;
  virtual void set_typename(const utString&) {}

  // Returns the scope precedence used by lookups (resolve): the parent's
  // precedence, 0 without parent. Roots answer their own.
  virtual int get_precedence() const;

  // Passes "name" up to the root, which records it as the name of the last
  // modified parameter. Without a root the name is dropped.
  virtual void set_onmodify_param_name(const utString& name);

  // Sets the modify callback and returns the previous one. The base refuses:
  // it clears the callback and returns null. Kinds: scalars, maps and
  // references store "fn" and return the old callback.
  virtual zynParameterOnModify set_onmodify_callback(zynParameterOnModify fn);

  // Sets the read callback, called before each read of the value, and
  // returns the previous one. The base clears it and returns null; scalars
  // and maps store it. Once any read callback exists every read evaluates
  // instead of reusing a kept value.
  virtual zynParameterOnRead set_onread_callback(zynParameterOnRead fn);

  // Returns the printed form; "depth" is the indentation used by containers.
  // The base answers "(UNKNOWN)\n"; every kind that can be saved prints itself.
  virtual utString print(int depth) const;

  // Returns the value as an integer, a real or a text. The base answers 0,
  // 0.0 and "#ERROR: Parameter cannot be represented by a string". Numerics
  // evaluate their formula (0 when it fails: check is_valid()); strings and
  // enumerations answer their text and state; a reference reads its target.
  virtual int get_int() const { return 0; }
  virtual double get_double() const { return 0.0; }
  virtual utString get_string() const;

  // Returns the host entity a reference or root designates; the base, and
  // every kind that designates nothing, answers a shared empty id.
  virtual const zynRefToObjectId& get_ref_id() const;

  // Returns the value converted into "units". The flag's sense differs by
  // kind: the base sets it to true and returns get_double() unconverted
  // ("ok"), while a numeric sets it to true only when the conversion failed
  // (either side without units, or of other dimensions: "failed") and
  // otherwise to false. Test the flag of a numeric as "failed".
  virtual double get_double_in_units(zynUnits units, bool& ok) const;

  // Returns the value for display: an enumeration's state through the
  // translation service, any other kind get_string().
  virtual utString get_translated_string() const { return get_string(); }

  // Store a new value. The base ignores them (a container has no value of
  // its own). Scalars store the value's text unless they are locked, then
  // record the change and fire the modify callback; set_string takes a
  // formula as well as a literal. A reference writes to its target.
  virtual void set_int(int) {}
  virtual void set_double(double) {}
  virtual void set_string(const utString&) {}

  // Points a reference at the host entity "id"; other kinds ignore it.
  virtual void set_ref_from_id(const zynRefToObjectId&) {}

  // Stores "value" given in "units", converted into the parameter's own.
  // Same flag rule as get_double_in_units: the base only sets it to true
  // ("ok"); a numeric sets it to true when the conversion failed and then
  // leaves its value alone.
  virtual void set_double_in_units(double value, zynUnits units, bool& ok);

  // Stores the default texts of the two unit systems (the second only when
  // it differs); reset() restores them. The base ignores them.
  virtual void set_defaults(const utString&, const utString&) {}

  // Copies the value (not the record) of "source": set_string(source.get_expr()).
  // Containers copy member by member; a numeric of integer or boolean
  // subtype reads the source's text by its own rule.
  virtual void copy_value_from(const zynParameter& source);

  // Returns 1 when a lock applies to this parameter (its own while active, or an ancestor's).
  // Setters of a locked parameter do nothing. A root answers its own flag
  // alone, and zynParameterNoLock lifts every lock while it lives.
  virtual int is_locked() const;

  // Returns 1 when the value lies in the range (or there is no range).
  // Only numerics have a range; the base answers 1.
  virtual int check_range() const { return 1; }

  // Returns 1 when the value is a formula rather than a literal, and its
  // text. The base answers 0 and "". Scalars answer their stored text;
  // get_expr() is what saving writes.
  virtual int is_expr() const { return 0; }
  virtual utString get_expr() const { return utString(); }

  // Applies binary "op" with "other" as right operand. The base knows "==",
  // "!=", "[" (numeric index or string key) and "." (string key); any other
  // operator answers "Type error", an invalid index "Invalid arguments".
  // Numerics add arithmetic and comparisons (with dimension checks:
  // "Incompatible dimensions", "Divide by zero"), strings concatenation and
  // comparison, containers element-wise operations, functions calls ("(").
  // The result is a new parameter or a shared error value.
  virtual zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& other) const;

  // Applies prefix ("-", "!") or postfix operator "op". The base answers
  // "Type error"; numerics and arrays implement them.
  virtual zynParameterPtr operate_prefix(const utString& op) const;
  virtual zynParameterPtr operate_postfix(const utString& op) const;

  // Returns the number of members or elements; 0 for a scalar.
  virtual int size() const { return 0; }

  // Returns the member reached by "key" (a name, an index or a whole path),
  // or an error: "Invalid name" for a missing member, "Type error" when this
  // kind has no members (the base). The non-const form may create what a
  // writable path needs (a list grows at index -1). Containers, references
  // and functions override both.
  virtual const zynParameterPtr operator[](const zynParameterKey& key) const;
  virtual zynParameterPtr operator[](const zynParameterKey& key);

  // Adds "p" under "key" and returns the member now held there (an existing
  // member of a map's name is returned unchanged). The base releases "p" and
  // returns "Type error"; a locked or fixed container refuses with an error.
  virtual zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p);

  // Removes the member at "key" and returns it, or an error ("Type error"
  // in the base, "Invalid name" for a missing member).
  virtual zynParameterPtr remove(const zynParameterKey& key);

  // Removes every member of a container; the base does nothing.
  virtual void remove_all() {}

  // Returns what this parameter stands for: a reference's target, else itself.
  virtual const zynParameter* get_ref() const { return this; }
  virtual zynParameter* get_ref() { return this; }

 protected:
  // The kind's subtype and type, read through get_subtype() and get_type().
  virtual zynParameterSubType subtype() const = 0;
  virtual zynParameterType type() const = 0;

  // Returns the type attribute of the XML export ("" in the base).
  virtual utString get_xml_typename() const { return utString(); }

  // Evaluates the expression of this parameter in its own scope. Returns
  // "Expression/Reference error" when reached again while running, "Type
  // error" without expression.
  // Numerics, strings and enumerations evaluate their own text; a reference
  // evaluates its target.
  virtual zynParameterPtr evaluate() const;

  // Returns 1 when both have the same activity and size. Called by
  // operator== only for two parameters of the same type; kinds compare
  // their values or members.
  virtual int is_equal(const zynParameter& other) const;

  // Returns the id of the host entity whose lock governs "p": the parent's
  // answer, an empty id without parent. Roots and references answer theirs.
  virtual const zynRefToObjectId get_lock_id_imp(const zynParameter& p) const;

 public:
  // --- Non-virtual members --------------------------------------------------
  // Returns 1 when both are of the same type and is_equal holds.
  int operator==(const zynParameter& other) const;
  int operator!=(const zynParameter& other) const { return !(*this == other); }

  const utString& get_name() const { return m_impl ? m_impl->name() : zynParameterImpl::empty_text(); }
  const utString& get_desc() const { return field(zynParameterImpl::DESC); }
  const utString& get_label() const { return field(zynParameterImpl::LABEL); }
  const utString& get_group_name() const { return field(zynParameterImpl::GROUP_NAME); }
  const utString& get_active_expr() const { return field(zynParameterImpl::ACTIVE_EXPR); }
  // The setters write the shared record, so every copy sharing it sees the
  // change. The name and description are stored as given; the label, group
  // and activity condition as zynEvaluator::localize() writes them, with
  // the host's decimal point (nlsUtils::m_decimal_point) in numbers.
  // set_active() also makes the activity be evaluated again when next read.
  void set_name(const utString& name);
  void set_desc(const utString& desc);
  void set_label(const utString& label);
  void set_group_name(const utString& group);
  void set_active(const utString& expr);
  // Replaces the shared record; the activity is recomputed on next use.
  void set_impl(zynParameterImplPtr impl);
  const zynParameterImplPtr& get_impl() const;

  // Returns the container holding this parameter, or null. A copy keeps its
  // source's container until it is adopted, but never past that container's life.
  // Inline: every climb to the root (locks, activity, callbacks) asks it at each step.
  const zynParameter* parent() const { return m_parent_borrowed ? borrowed_parent() : m_parent; }
  zynParameter* parent() { return const_cast<zynParameter*>(static_cast<const zynParameter*>(this)->parent()); }
  // Returns 1 when "p" is this parameter or one of its ancestors.
  int is_descendent(const zynParameter* p) const;
  // Returns 1 when this parameter is "ancestor" or is held below it by
  // containers that adopted it (no copy's borrowed link on the way): it then
  // lives until it or a container on the way is unlinked.
  int is_held_below(const zynParameter* ancestor) const;
  int is_ref() const { return get_ref() != this; }

  // Sets or clears this parameter's own lock flag; is_locked() combines it
  // with the activity and the ancestors' locks.
  void lock(int on) { m_lock = on ? 1 : 0; }
  int get_lock_flag() const { return m_lock; }
  // Returns the id of the host entity whose lock governs this parameter.
  const zynRefToObjectId get_lock_id() const { return get_lock_id_imp(*this); }

  zynParameterMeasureMode get_measure_mode() const { return m_measure_mode; }
  // Stores "m" only when it is non-zero and this is a real or an angle.
  void set_measure_mode(zynParameterMeasureMode m);
  // How mirroring about a plane treats this value (kept in the shared
  // record). A mirror callback, when set, decides instead of the stored mode.
  zynParameterMirrorMode get_mirror_mode() const;
  void set_mirror_mode(zynParameterMirrorMode m);
  void set_mirror_mode_callback(zynParameterMirrorCallback fn);

  // Returns the dotted path of "par" through its ancestors; with "relative"
  // non-zero the path stops at the innermost root.
  static utString get_name(const zynParameter& par, int relative);
  // Return the kind of "p": a reference reports its target's (PT_ERROR
  // without one), an error value PT_ERROR with the error's number as subtype.
  static zynParameterType get_type(const zynParameter& p) { return p.type(); }
  static zynParameterSubType get_subtype(const zynParameter& p) { return p.subtype(); }
  // Returns p->evaluate(); used by the evaluator and the function library.
  static zynParameterPtr evaluate(const zynParameter& p) { return p.evaluate(); }

  // XML-like export for reports (zyn/io/zynParameterXml.h): the element
  // name, the element content and the whole element "<name>value</name>"
  // ("" when the name is empty). No markup is escaped.
  static utString to_xml(const zynParameterPtr& p);
  static utString xml_name(const zynParameterPtr& p);
  static utString xml_value(const zynParameterPtr& p);

  // The parameters whose activity conditions this one reads, and those that read it.
  const zynParameterPtrcoDList& get_dependencies() const;
  const zynParameterPtrcoDList& get_dependents() const;
  // Marks the activity of every dependent as stale.
  void invalidate_dependents() const;

  // Reference counting used by zynParameterPtr. The count is atomic, but a
  // parameter tree as a whole is not safe to change from two threads.
  void add_reference() const { m_refs.fetch_add(1, std::memory_order_relaxed); }
  int release_reference() const { return m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1; }
  int reference_count() const { return m_refs.load(std::memory_order_relaxed); }

 protected:
  // Sets "child"'s parent link to this container.
  void link_par(zynParameterPtr child);
  // Clears "child"'s parent link.
  void unlink_par(zynParameterPtr child);
  // Runs the modify notifications: invalidates the activity of dependents
  // and calls the nearest modify callback (zynParameterNotify::modified).
  // Setters record the change with zynParameterUpdateTrack themselves.
  void onmodify_callback();
  // Calls the nearest read callback. Until some parameter of the process
  // has been given one there is none to find, and reads skip the climb.
  void onread_callback() const {
    if (s_read_callbacks_set) call_onread_callback();
  }
  // Install "fn" as this parameter's read (modify) callback and return the previous one.
  zynParameterOnRead exchange_onread_callback(zynParameterOnRead fn);
  zynParameterOnModify exchange_onmodify_callback(zynParameterOnModify fn);
  // The container of a copy, while that container lives.
  const zynParameter* borrowed_parent() const;

  // Returns the record, creating it on first use (most parameters never need one of their own).
  zynParameterImpl& impl() const;
  zynParameterImpl& mutable_impl() { return impl(); }
  // Returns a text of the record without creating one.
  const utString& field(zynParameterImpl::Field f) const {
    return m_impl ? m_impl->get(f) : zynParameterImpl::empty_text();
  }

  // Scoped lookup of "key": here, then in ancestors of lower or equal precedence.
  zynParameterPtr resolve(const zynParameterKey& key) const;
  void invalidate_active() const { m_active_valid = 0; }
  // Whether this parameter's own evaluation is under way (a read now is a cycle).
  bool evaluating() const { return m_eval_guard != 0; }

 private:
  friend class zynParameterNotify;
  friend class zynEvaluator;

  // What few parameters need: host callbacks, the token that tells copies
  // whether this container still lives, a copy's borrowed parent link and
  // the activity links. Made on first use.
  struct Side {
    zynParameterOnModify onmodify = nullptr;
    zynParameterOnRead onread = nullptr;
    zynParameterMirrorCallback mirror_callback = nullptr;
    std::shared_ptr<char> life;
    std::weak_ptr<char> borrowed_parent;
    zynParameterActivityLinks links;
  };

  Side& side() const;
  void copy_callbacks(const zynParameter& other);
  void update_active() const;
  void call_onread_callback() const;
  zynParameterActivityLinks& links() const;
  void add_callback(const zynParameter* dependent) const;
  void remove_callback(const zynParameter* dependent) const;
  void remove_dependency(const zynParameter* dependency) const;
  void teardown_callbacks();
  std::shared_ptr<char> life_token() const;

  mutable zynParameterImplPtr m_impl;
  zynParameter* m_parent = nullptr;
  mutable std::unique_ptr<Side> m_side;
  mutable std::atomic<int> m_refs{0};
  mutable int32_t m_active_value = 1;
  zynParameterMeasureMode m_measure_mode = PM_DEFAULT;
  uint8_t m_lock = 0;
  mutable uint8_t m_eval_guard = 0;
  mutable uint8_t m_active_valid = 0;
  // Set when the parent link was inherited by copying: the link then holds
  // only while that container lives.
  bool m_parent_borrowed = false;
  // Set for good once any read callback has been installed.
  static bool s_read_callbacks_set;
  // Set once any parameter is given a modify callback: until then a change
  // has no callback to look for above it.
  static bool s_modify_callbacks_set;
};

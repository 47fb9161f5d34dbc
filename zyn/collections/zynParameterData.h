// zynParameterData stands for a piece of host data attached to an entity. It
// stores only which entity (an object id) and what kind of data (a type text
// the host understands); the content is fetched on demand through functions
// the host supplies, so it never lives in the parameter store. Copying one
// data parameter into another tells the host, through the parameter proxy,
// so that it can copy the data behind them.
#pragma once

#include "zyn/core/zynParameter.h"

// A handle on host data. Copies carry the same id and type and so stand for
// the same data.
class ZYN_EXPORT zynParameterData : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterData, zynParameter)

  // Data of kind "data_type" belonging to the enclosing root's entity.
  explicit zynParameterData(const utString& data_type);
  zynParameterData(const zynParameterData& other);
  ~zynParameterData() override;

  zynParameter* create_new() const override { return new zynParameterData(*this); }
  // Returns 1 when the base test holds and get_data_par yields data.
  int is_valid() const override;
  // Returns "(DATA", " !" when invalid, ") ", the hexadecimal id of get_id,
  // " type:", the data type and "\n".
  utString print(int depth) const override;
  // Data cannot be written as text: does nothing.
  void set_string(const utString& text) override;
  // From an active data parameter: takes its type and object id and tells
  // the host through zynParameterProxy, with the copy reason, this parameter
  // and the source. Nothing while locked or from an inactive source; from
  // anything that is not data, the base behaviour (which writes nothing).
  void copy_value_from(const zynParameter& source) override;
  // Returns the size of what get_data_par yields.
  int size() const override;

  // Returns the data itself, evaluated in this parameter's scope as
  // entdata('HEX','TYPE') when get_id is valid, else zyndata('TYPE'). The
  // host supplies both functions; they answer a parameter of type PT_DATA,
  // which is returned. An error answer (a missing function included) gives
  // "Invalid data", any other answer "Type error".
  virtual zynParameterPtr get_data_par() const;

  // Returns the object id when it is valid, else the id of the nearest
  // enclosing root, else the shared empty id.
  const zynRefToObjectId& get_id() const;
  void set_id(const zynRefToObjectId& id) { m_id.become(id); }
  const utString& get_data_type() const { return m_data_type; }

 protected:
  zynParameterSubType subtype() const override { return PS_DATA; }
  zynParameterType type() const override { return PT_DATA; }
  utString get_xml_typename() const override { return "data"; }
  // Returns 1 when "other" (followed through references) is data with an
  // equal object id and data type.
  int is_equal(const zynParameter& other) const override;

 private:
  zynRefToObjectId m_id;  // invalid: the data belongs to the enclosing root's entity
  utString m_data_type;
};

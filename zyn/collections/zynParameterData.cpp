#include "zyn/collections/zynParameterData.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterProxy.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator.h"

ZYN_DEFINE_TYPE(zynParameterData, zynParameter)

namespace {

// A host function may answer with another data parameter whose size or
// validity asks the host again; past this depth the data is "Invalid data".
constexpr int max_fetch_depth = 32;
int g_fetching = 0;

}  // namespace

zynParameterData::zynParameterData(const utString& data_type) : m_data_type(data_type) {}

zynParameterData::zynParameterData(const zynParameterData& other)
    : zynParameter(other), m_id(other.m_id), m_data_type(other.m_data_type) {}

zynParameterData::~zynParameterData() = default;

const zynRefToObjectId& zynParameterData::get_id() const {
  if (m_id.is_valid()) return m_id;
  for (const zynParameter* up = parent(); up; up = up->parent())
    if (zyn_is_root(*up)) return up->get_ref_id();
  return zynRefToObjectId::empty();
}

zynParameterPtr zynParameterData::get_data_par() const {
  if (g_fetching >= max_fetch_depth) return zynParameterError::create(PS_ERR_DATA);
  const zynRefToObjectId& id = get_id();
  utString text = id.is_valid()
                      ? "entdata('" + id.get_uid().get_uid()->hex_string() + "','" + m_data_type + "')"
                      : "zyndata('" + m_data_type + "')";
  ++g_fetching;
  zynEvaluator evaluator(this);
  zynParameterPtr data = evaluator.evaluate(text);
  --g_fetching;
  zynParameterType t = get_type(*data);
  if (t == PT_DATA) return data;
  return zynParameterError::create(t == PT_ERROR ? PS_ERR_DATA : PS_ERR_TYPE);
}

int zynParameterData::is_valid() const {
  return zynParameter::is_valid() && get_type(*get_data_par()) == PT_DATA;
}

int zynParameterData::size() const { return get_data_par()->size(); }

void zynParameterData::set_string(const utString&) {}

int zynParameterData::is_equal(const zynParameter& other) const {
  const zynParameterData* data = ut_dynamic_cast(other.get_ref());
  return data && m_id.is_equal(data->m_id) && m_data_type == data->m_data_type;
}

utString zynParameterData::print(int) const {
  utString out = "(DATA";
  if (!is_valid()) out += " !";
  const zynRefToObjectId& id = get_id();
  out += ") ";
  if (id.is_valid()) out += id.get_uid().get_uid()->hex_string();
  return out + " type:" + m_data_type + "\n";
}

void zynParameterData::copy_value_from(const zynParameter& source) {
  if (&source == this) return;
  if (get_type(source) != PT_DATA) {
    zynParameter::copy_value_from(source);
    return;
  }
  if (is_locked()) return;
  const zynParameterData* from = ut_dynamic_cast(source.get_ref());
  if (!from || from == this || !source.is_active()) return;
  m_data_type = from->m_data_type;
  m_id.become(from->m_id);
  // The host holds the data itself and copies it on this notice.
  zynParameterProxyCD notice(coCallCopy, this, &source);
  zynParameterProxy::singleton().send_call(notice);
}

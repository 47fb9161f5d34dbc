#include "zyn/core/zynParameterProxy.h"

namespace {

// The proxy lives until unload unless the host deletes it earlier.
std::unique_ptr<zynParameterProxy>& instance() {
  static std::unique_ptr<zynParameterProxy> proxy;
  return proxy;
}

}  // namespace

zynParameterProxy& zynParameterProxy::singleton() {
  std::unique_ptr<zynParameterProxy>& proxy = instance();
  if (!proxy) proxy = std::make_unique<zynParameterProxy>(Key{});
  return *proxy;
}

void zynParameterProxy::delete_singleton() { instance().reset(); }

void zynParameterProxy::send_call(zynParameterProxyCD& data) {
  coCBData* base = &data;
  m_sender.send(data.reason(), base);
}

// The broadcast through which the host learns that a parameter took its
// value from another one. Entity data parameters copy host data that the
// host may need to duplicate or re-register; when one copies its value it
// sends a zynParameterProxyCD through the process-wide zynParameterProxy,
// whose call list the host subscribes to.
//
// Example (host side):
//   void on_copy(coCallReason reason, void* data, void*) {
//     auto* cd = static_cast<zynParameterProxyCD*>(static_cast<coCBData*>(data));
//     duplicate(cd->parameter(), cd->parameter_from());
//   }
//   zynParameterProxy::singleton().call_list().add(on_copy);
#pragma once

#include <memory>

#include "zyn/host/zynCallList.h"

class zynParameter;

// The data of one broadcast: why it is sent, the parameter concerned and the
// parameter it took its value from. Neither parameter is owned; both live at
// least for the length of the broadcast.
class ZYN_EXPORT zynParameterProxyCD : public coCBData {
 public:
  zynParameterProxyCD(const coCallReason& reason, const zynParameter* parameter, const zynParameter* from)
      : m_reason(reason), m_parameter(parameter), m_from(from) {}

  const coCallReason& reason() const { return m_reason; }
  const zynParameter* parameter() const { return m_parameter; }
  const zynParameter* parameter_from() const { return m_from; }

 private:
  coCallReason m_reason;
  const zynParameter* m_parameter;
  const zynParameter* m_from;
};

// The process-wide sender of parameter broadcasts. Copies of entity data are
// sent with the reason coCallCopy. Not copyable.
class ZYN_EXPORT zynParameterProxy {
 public:
  // Returns the proxy, creating it on first use.
  static zynParameterProxy& singleton();
  // Destroys the proxy and with it every subscription; the next singleton()
  // makes a fresh one. References to the old proxy dangle afterwards.
  static void delete_singleton();

  zynParameterProxy(const zynParameterProxy&) = delete;
  zynParameterProxy& operator=(const zynParameterProxy&) = delete;

  // Applies the call list with "data"'s reason and "data" itself (passed as
  // the address of its coCBData part) while the sender is enabled.
  void send_call(zynParameterProxyCD& data);

  // The subscriptions; hosts add and remove their functions here.
  coCallList& call_list() { return m_sender.call_list(); }
  // The sender, whose switch stops broadcasts while it is off.
  coSender& sender() { return m_sender; }

 private:
  struct Key {};

 public:
  // Only singleton() can name the key, so no other proxy is ever made.
  explicit zynParameterProxy(Key) {}
  ~zynParameterProxy() = default;

 private:
  coSender m_sender;
};

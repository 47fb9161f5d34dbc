#include "zyn/core/zynParameterProxy.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestParameter.h"

namespace {

std::vector<void*> g_clients;

void subscriber(coCallReason reason, void* data, void* client) {
  auto* cd = dynamic_cast<zynParameterProxyCD*>(static_cast<coCBData*>(data));
  ASSERT_NE(cd, nullptr);
  EXPECT_EQ(cd->reason(), reason);
  g_clients.push_back(client);
}

TEST(ParameterProxy, BroadcastsInOrderUntilDisabledOrDeleted) {
  zynTestParameter to, from;
  int first = 1, second = 2;
  zynParameterProxy& proxy = zynParameterProxy::singleton();
  proxy.call_list().add(subscriber, &first);
  proxy.call_list().add(subscriber, &second);
  zynParameterProxyCD data(coCallCopy, &to, &from);
  EXPECT_EQ(data.parameter(), &to);
  EXPECT_EQ(data.parameter_from(), &from);
  proxy.send_call(data);
  EXPECT_EQ(g_clients, (std::vector<void*>{&first, &second}));
  proxy.sender().set_enabled(0);
  proxy.send_call(data);
  EXPECT_EQ(g_clients.size(), 2u);
  // A fresh proxy starts without the old subscriptions.
  zynParameterProxy::delete_singleton();
  zynParameterProxy::singleton().send_call(data);
  EXPECT_EQ(g_clients.size(), 2u);
  EXPECT_EQ(zynParameterProxy::singleton().call_list().size(), 0);
  zynParameterProxy::delete_singleton();
}

}  // namespace

#include "zyn/core/zynParameterProxy.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestParameter.h"

namespace {

struct Seen {
  coCallReason reason;
  const zynParameter* parameter;
  const zynParameter* from;
  void* client;
};
std::vector<Seen> g_seen;

void subscriber(coCallReason reason, void* data, void* client) {
  auto* cd = dynamic_cast<zynParameterProxyCD*>(static_cast<coCBData*>(data));
  ASSERT_NE(cd, nullptr);
  EXPECT_EQ(cd->reason(), reason);
  g_seen.push_back({reason, cd->parameter(), cd->parameter_from(), client});
}

class ProxyTest : public ::testing::Test {
 protected:
  void SetUp() override { g_seen.clear(); }
  void TearDown() override { zynParameterProxy::delete_singleton(); }
};

TEST_F(ProxyTest, BroadcastReachesEverySubscriberInOrder) {
  zynTestParameter to, from;
  int first = 1, second = 2;
  zynParameterProxy& proxy = zynParameterProxy::singleton();
  EXPECT_EQ(&proxy, &zynParameterProxy::singleton());
  proxy.call_list().add(subscriber, &first);
  proxy.call_list().add(subscriber, &second);
  zynParameterProxyCD data(coCallCopy, &to, &from);
  proxy.send_call(data);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].client, &first);
  EXPECT_EQ(g_seen[1].client, &second);
  EXPECT_EQ(g_seen[1].reason, coCallCopy);
  EXPECT_EQ(g_seen[1].parameter, &to);
  EXPECT_EQ(g_seen[1].from, &from);
}

TEST_F(ProxyTest, DisabledSenderAndDeletedSingletonSendNothing) {
  zynTestParameter p;
  zynParameterProxy::singleton().call_list().add(subscriber);
  zynParameterProxyCD data(coCallCopy, &p, &p);
  zynParameterProxy::singleton().sender().set_enabled(0);
  zynParameterProxy::singleton().send_call(data);
  EXPECT_TRUE(g_seen.empty());
  zynParameterProxy::singleton().sender().set_enabled(1);
  zynParameterProxy::singleton().send_call(data);
  EXPECT_EQ(g_seen.size(), 1u);
  // A fresh proxy starts without the old subscriptions.
  zynParameterProxy::delete_singleton();
  zynParameterProxy::singleton().send_call(data);
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(zynParameterProxy::singleton().call_list().size(), 0);
}

}  // namespace

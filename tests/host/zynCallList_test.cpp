#include "zyn/host/zynCallList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Log {
  std::string text;
  coCallList* list = nullptr;
};

void record(coCallReason reason, void* data, void* client) {
  static_cast<Log*>(client)->text += std::to_string(reason) + static_cast<const char*>(data);
}

void record_and_unsubscribe(coCallReason reason, void* data, void* client) {
  Log* log = static_cast<Log*>(client);
  log->text += "!";
  log->list->remove(record_and_unsubscribe, client);
  log->list->remove(record, client);
  (void)reason, (void)data;
}

}  // namespace

TEST(CallList, AppliesInOrderAndSurvivesChangesDuringApply) {
  coCallList list;
  Log log;
  log.list = &list;
  list.add(record, &log);
  list.add(record_and_unsubscribe, &log);
  list.add(record, &log);
  list.add(nullptr, &log);
  EXPECT_EQ(list.size(), 3);
  char data[] = "d";
  list.apply(coCallCopy, data);
  EXPECT_EQ(log.text, "1d!1d");  // the snapshot still calls the removed subscriber
  log.text.clear();
  list.apply(coCallModify, data);
  EXPECT_EQ(log.text, "2d");
  list.sender_clear();
  EXPECT_EQ(list.size(), 0);
}

#include "sim/fault_list.h"

#include <gtest/gtest.h>

namespace zr78::sim {
namespace {

TEST(FaultListTest, Items) {
  struct Case {
    const char* list;
    FaultConfig expected;
  };
  auto make = [](auto change) {
    FaultConfig f;
    change(f);
    return f;
  };
  const Case cases[] = {
      {"loss=0.05,corrupt=0.01,delay-ms=0..300,seed=7", make([](FaultConfig& f) {
         f.lossRate = 0.05;
         f.corruptRate = 0.01;
         f.delayMs = 0;
         f.delayMaxMs = 300;
         f.seed = 7;
       })},
      {"delay-ms=40", make([](FaultConfig& f) {
         f.delayMs = 40;
         f.delayMaxMs = 40;
       })},
      {"duplicate=1", make([](FaultConfig& f) { f.duplicateRate = 1; })},
      {"stall", make([](FaultConfig& f) { f.stall = true; })},
      {"silent,loss=0", make([](FaultConfig& f) { f.silent = true; })},
      {"ignore-writes=148,drop-reads=1600..1677,no-echo=0..3", make([](FaultConfig& f) {
         f.ignoreWrites = {148, 148};
         f.dropReads = {1600, 1677};
         f.noEcho = {0, 3};
       })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    std::string error;
    const auto f = parseFaultList(c.list, error);
    ASSERT_TRUE(f) << error;
    EXPECT_EQ(f->lossRate, c.expected.lossRate);
    EXPECT_EQ(f->corruptRate, c.expected.corruptRate);
    EXPECT_EQ(f->duplicateRate, c.expected.duplicateRate);
    EXPECT_EQ(f->delayMs, c.expected.delayMs);
    EXPECT_EQ(f->delayMaxMs, c.expected.delayMaxMs);
    EXPECT_EQ(f->seed, c.expected.seed);
    EXPECT_EQ(f->silent, c.expected.silent);
    EXPECT_EQ(f->stall, c.expected.stall);
    EXPECT_EQ(f->ignoreWrites.first, c.expected.ignoreWrites.first);
    EXPECT_EQ(f->ignoreWrites.last, c.expected.ignoreWrites.last);
    EXPECT_EQ(f->dropReads.first, c.expected.dropReads.first);
    EXPECT_EQ(f->dropReads.last, c.expected.dropReads.last);
    EXPECT_EQ(f->noEcho.first, c.expected.noEcho.first);
    EXPECT_EQ(f->noEcho.last, c.expected.noEcho.last);
  }
}

TEST(FaultListTest, MistakesAreRefusedWithAMessage) {
  for (const char* list : {"", "loss", "loss=", "loss=1.5", "loss=-0.1", "loss=0.05x", "delay-ms=300..0",
                           "delay-ms=..5", "delay-ms=99999999", "seed=-1", "stall=1", "wobble=3",
                           "loss=0.1,,seed=2", "ignore-writes", "ignore-writes=1678", "drop-reads=-1",
                           "drop-reads=9..3", "drop-reads=3..x"}) {
    std::string error;
    EXPECT_FALSE(parseFaultList(list, error)) << list;
    EXPECT_NE(error.find("--sim-faults"), std::string::npos) << list << ": " << error;
  }
}

TEST(FaultListTest, HelpNamesEveryItem) {
  const std::string help = faultListHelp();
  for (const char* item : {"loss=P", "corrupt=P", "duplicate=P", "delay-ms=N[..M]", "seed=N", "silent", "stall",
                           "ignore-writes=A[..B]", "drop-reads=A[..B]", "no-echo=A[..B]"})
    EXPECT_NE(help.find(item), std::string::npos) << item;
}

}  // namespace
}  // namespace zr78::sim

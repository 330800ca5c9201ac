// The channel side end to end: what the user sets in the window reaches the
// virtual amplifier, running on its link model (1 ms per report), so every
// edit waits for its echo like on the real cable.
#include "channel_fixture.h"
#include "channels/gain_word.h"
#include "eq/eq_model.h"

namespace zr78::test {
namespace {

class ChannelEndToEndTest : public ChannelFixture {
 protected:
  void SetUp() override {
    ChannelFixture::SetUp();
    sim::SimConfig c = amp().config();
    c.reportIntervalUs = 1000;
    amp().setConfig(c);
  }
  bool amplifierHolds(const std::vector<std::pair<int, int32_t>>& expected) {
    return waitUntil([&] {
      for (const auto& [address, value] : expected)
        if (amp().reg(address) != value || table().dirty(address)) return false;
      return true;
    });
  }
};

TEST_F(ChannelEndToEndTest, GainDelayPhaseAndRoleReachTheAmplifier) {
  deviceValues({{50, 0}, {51, 0}, {52, 0}, {53, 0}, {54, 0}, {55, 0}, {56, 0}, {57, 0}});
  ChannelPanel& p = panel();
  type(p.gainBox(1), "-12");
  type(p.delayBox(2), "2");
  click(p.phaseButton(3));
  unlockRoles();
  chooseRole(4, 20);  // C-Woofer: 37 Hz high-pass, 400 Hz low-pass
  using namespace EqParamIndex;
  const int32_t phase180 = encodeGainWord(decodeGainWord(reg(29)).gainDb, true);
  EXPECT_TRUE(amplifierHolds({{27, 588},
                              {75, 2000},
                              {29, phase180},
                              {54, 20},
                              {*eqRegisterAddress(4, kHighPassFrequency), encodeFrequency(37)},
                              {*eqRegisterAddress(4, kLowPassFrequency), 400},
                              {*eqRegisterAddress(4, kHighPassCode), 14},
                              {*eqRegisterAddress(4, kLowPassCode), 15}}));
}

TEST_F(ChannelEndToEndTest, ARouteSetInTheMixerIsOnTheAmplifierWhenItCloses) {
  deviceConfiguration(0x24);
  deviceValue(1234, 3);
  WhenModal<RoutingDialog> inside([&](RoutingDialog& d) {
    type(d.levelBox(6, 2), "64");
    click(d.routeSwitch(6, 2));
    d.close();
  });
  click(window().topButton(kButtonMixer));
  ASSERT_TRUE(waitUntil([&] { return inside.ran() && QApplication::activeModalWidget() == nullptr; }));
  EXPECT_TRUE(amplifierHolds({{routeRegister(6, 2), (64 << 8) | 1}}));
}

}  // namespace
}  // namespace zr78::test

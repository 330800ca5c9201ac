#include "app/screenshot_scene.h"

#include <QDialog>
#include <QFileInfo>
#include <array>
#include <cstdio>

#include "app/application.h"
#include "app/channel_panel.h"
#include "app/filter_import_dialog.h"
#include "app/filter_text_menu.h"
#include "app/link_editor.h"
#include "app/main_window.h"
#include "app/routing_dialog.h"
#include "channels/delay_word.h"
#include "channels/gain_word.h"
#include "channels/route_word.h"
#include "controls/image_button.h"
#include "controls/window_messages.h"
#include "sync/link_session.h"

namespace zr78 {

namespace {

// An eight-channel install: tweeters and mid-woofers in front, full range at
// the rear, a centre and the subwoofer; the driver sits on the left.
struct ChannelSetting {
  int role;
  int gainDb;
  bool phase180;
  double delayMs;
  bool muted;
};
constexpr std::array<ChannelSetting, kChannelCount> kInstall = {{
    {1, -6, false, 1.5, false},    // FL-Tweeter
    {7, -6, false, 0.0, false},    // FR-Tweeter
    {5, -3, false, 1.2, false},    // FL-M & WF
    {11, -3, false, 0.0, false},   // FR-M & WF
    {15, -10, false, 0.4, false},  // RL-Full
    {18, -10, false, 0.0, true},   // RR-Full
    {21, -8, false, 0.6, false},   // C-Full
    {24, 0, true, 2.5, false},     // Subwoofer
}};

// Tweeters linked left with right, mid-woofers likewise.
constexpr LinkEditor::Groups kGroups = {1, 1, 3, 3, 0, 0, 0, 0};

constexpr int32_t kHiLevelInput = 3;

}  // namespace

ScreenshotScene::ScreenshotScene(Application& app, std::string name)
    : app_(app), name_(std::move(name)) {}

ScreenshotScene::~ScreenshotScene() = default;

void ScreenshotScene::prepare() {
  if (name_.empty()) return;
  MainWindow& window = *app_.window();
  RegisterTable& table = app_.session()->table;
  const auto set = [&](int address, int32_t value) {
    table.setRegister(address, value);
    postMessage(&window, MSG_DEVICE_NOTIFY, 0, address);
  };
  for (int c = 0; c < kChannelCount; ++c) {
    const ChannelSetting& s = kInstall[static_cast<size_t>(c)];
    set(speakerRoleRegister(c), s.role);
    set(channelGainRegister(c), encodeGainWord(s.gainDb, s.phase180));
    set(delayRegister(c), encodeDelayWord(delaySamplesFromMilliseconds(s.delayMs)));
    set(muteRegister(c), s.muted ? 1 : 0);
  }
  ChannelPanel& panel = *window.channelPanel();
  // Roles editable, as while an installer works on them.
  panel.lockButton()->setState(ButtonState::kPressed);
  sendMessage(&panel, ChannelPanel::kLockId, 0, 0);
  app_.groups().setGroups(kGroups);
  for (int head : {0, 2}) panel.linkButton(head)->setState(ButtonState::kPressed);
  sendMessage(&panel, ChannelPanel::kChannelSelectId, 0, 0);

  if (name_ == "mixer") {
    set(kInputSourceRegister, kHiLevelInput);
    // Four inputs to eight outputs: the front pairs, the rear, a summed centre and sub.
    const struct {
      int output, input, level;
    } routes[] = {{0, 0, 100}, {1, 1, 100}, {2, 0, 100}, {3, 1, 100}, {4, 2, 90},
                  {5, 3, 90},  {6, 0, 50},  {6, 1, 50},  {7, 0, 75},  {7, 1, 75}};
    for (int o = 0; o < kRouteOutputs; ++o)
      for (int i = 0; i < kRouteInputs; ++i) set(routeRegister(o, i), encodeRouteWord(0, false));
    for (const auto& r : routes) set(routeRegister(r.output, r.input), encodeRouteWord(r.level, true));
  }
}

void ScreenshotScene::open() {
  MainWindow& window = *app_.window();
  const Language language = app_.language().get();
  if (name_ == "links") {
    dialog_ = std::make_unique<LinkEditor>(app_.groups().groups(), 1, window.scale().min, language,
                                           &window);
  } else if (name_ == "mixer") {
    dialog_ = std::make_unique<RoutingDialog>(app_.session()->table, language,
                                              RoutingDialog::kDefaultRows, window.scale().min, &window);
  } else if (name_ == "import") {
    const QString path = QString::fromStdString(app_.options().screenshotFilters);
    const FilterImportPlan plan =
        planFilterImport(path, app_.session()->table.image(), 0, language);
    if (plan.mapping)
      dialog_ = std::make_unique<FilterImportDialog>(*plan.mapping, QFileInfo(path).fileName(), language,
                                                     window.scale().min, &window);
    else
      std::fprintf(stderr, "zr78: %s\n", qPrintable(plan.refusal));
  }
  if (dialog_) dialog_->show();
}

QWidget* ScreenshotScene::target() const {
  if (dialog_) return dialog_.get();
  return app_.window();
}

}  // namespace zr78

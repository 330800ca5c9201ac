#include "app/application.h"

#include <cstdio>
#include <filesystem>

#include "app/main_window.h"
#include "app/ui_message_box.h"
#include "hid/hidapi_device.h"
#include "sync/link_session.h"
#include "presets/ini_file.h"
#include "sim/sim_state.h"
#include "sim/virtual_amplifier.h"
#include "text/shared_texts.h"

namespace zr78 {

Application::Application(AppOptions options)
    : options_(std::move(options)),
      folders_(options_.folders ? *options_.folders : Folders::forRunningProgram()),
      instance_(options_.instanceName) {
  if (options_.simulate && options_.statePath.empty())
    options_.statePath = sim::defaultStatePath().string();
}

Application::~Application() {
  events_.beginStopping();
  if (session_) session_->worker.stopLink();
  window_.reset();
  session_.reset();
  if (!amplifier_ || options_.statePath.empty()) return;
  const std::filesystem::path path(options_.statePath);
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  if (!amplifier_->saveState(options_.statePath))
    std::fprintf(stderr, "zr78: cannot save the virtual amplifier's state to %s\n",
                 options_.statePath.c_str());
}

std::optional<int> Application::start() {
  const uint32_t locale = options_.localeId ? *options_.localeId : systemLocaleId();
  language_.set(chooseStartupLanguage(readLanguage(folders_), locale));
  translations_.use(language_.get());

  if (!instance_.claim()) {
    UiMessageBox(nullptr).showMessage(std::string(sharedText(kTextProgramRunning, language_.get())), {},
                                      MessageButtons::Ok);
    return 0;
  }

  openDevice();
  HidDevice& device = amplifier_ ? amplifier_->hidDevice() : static_cast<HidDevice&>(*hid_);
  const LinkTiming timing = options_.fastLink ? LinkTiming::fast() : LinkTiming::usb();
  session_ = std::make_unique<LinkSession>(device, events_, timing, folders_, language_);
  if (!options_.channelLockName.empty())
    session_->link.setChannelLockName(options_.channelLockName);
  else if (amplifier_)
    session_->link.setChannelLockName(sim::simulatorLockName(options_.statePath));

  const MainWindowParts parts{session_->table, session_->state, session_->worker, events_,
                              language_,       groups_,         translations_};
  window_ = std::make_unique<MainWindow>(parts, options_.mixerTiming);
  instance_.setOnRaise([this] { bringForward(); });
  window_->initDialog();
  if (options_.size != QSize(kDesignWidth, kDesignHeight)) window_->resize(options_.size);
  window_->show();
  return std::nullopt;
}

void Application::openDevice() {
  if (!options_.simulate) {
    hid_ = std::make_unique<HidapiDevice>();
    return;
  }
  amplifier_ = std::make_unique<sim::VirtualAmplifier>();
  std::error_code ec;
  if (std::filesystem::exists(options_.statePath, ec) && !amplifier_->loadState(options_.statePath))
    std::fprintf(stderr,
                 "zr78: the virtual amplifier's state file %s is damaged; starting from defaults\n",
                 options_.statePath.c_str());
}

// A second start asked: restore the window and bring it to the front.
void Application::bringForward() {
  if (!window_ || window_->shutDown()) return;
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  window_->raise();
}

}  // namespace zr78

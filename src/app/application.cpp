#include "app/application.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/dialog_style.h"
#include "app/main_window.h"
#include "app/settings_window.h"
#include "app/ui_message_box.h"
#include "device/amplifier.h"
#include "sync/link_session.h"
#include "presets/ini_file.h"
#include "text/shared_texts.h"

namespace zr78 {

Application::Application(AppOptions options)
    : options_(std::move(options)),
      folders_(options_.folders ? *options_.folders : Folders::forRunningProgram()),
      instance_(options_.instanceName) {}

Application::~Application() {
  events_.beginStopping();
  if (session_ && !session_->worker.stopLink()) {
    // The worker is held inside the device (a write that never returns) past
    // the bounded stop: keep the virtual amplifier's memory and end the
    // process here, without destroying what that thread still uses.
    if (amplifier_) {
      if (const std::string failed = amplifier_->saveState(); !failed.empty())
        std::fprintf(stderr, "zr78: %s\n", failed.c_str());
    }
    std::fflush(nullptr);
    std::_Exit(0);
  }
  window_.reset();
  session_.reset();
  if (!amplifier_) return;
  if (const std::string failed = amplifier_->saveState(); !failed.empty())
    std::fprintf(stderr, "zr78: %s\n", failed.c_str());
}

std::optional<int> Application::start() {
  // Every dialog, message box and menu of the program wears the skin's look.
  applyDialogLook();
  const uint32_t locale = options_.localeId ? *options_.localeId : systemLocaleId();
  language_.set(chooseStartupLanguage(readLanguage(folders_), locale));
  translations_.use(language_.get());

  if (!instance_.claim()) {
    UiMessageBox(nullptr).showMessage(std::string(sharedText(kTextProgramRunning, language_.get())), {},
                                      MessageButtons::Ok);
    return 0;
  }

  amplifier_ = std::make_unique<Amplifier>(
      AmplifierChoice{options_.simulate, pathFromUtf8(options_.statePath)}, folders_, options_.simFaults);
  if (!amplifier_->warning().empty()) std::fprintf(stderr, "zr78: %s\n", amplifier_->warning().c_str());
  const LinkTiming timing = options_.fastLink ? LinkTiming::fast() : LinkTiming::usb();
  session_ = std::make_unique<LinkSession>(amplifier_->device(), events_, timing, folders_, language_);
  const std::string lockName =
      options_.channelLockName.empty() ? amplifier_->channelLockName() : options_.channelLockName;
  if (!lockName.empty()) session_->link.setChannelLockName(lockName);

  const MainWindowParts parts{session_->table, session_->state, session_->worker, events_,
                              language_,       groups_,         translations_};
  window_ = std::make_unique<MainWindow>(parts, options_.mixerTiming);
  // The "system" button: the settings window with the device memories, the
  // language, the noise gate and the tunings on the PC.
  installSettingsWindow(*window_, {session_->table, session_->state, session_->worker, language_, folders_});
  instance_.setOnRaise([this] { bringForward(); });
  window_->initDialog();
  if (options_.size != QSize(kDesignWidth, kDesignHeight)) window_->resize(options_.size);
  window_->show();
  return std::nullopt;
}

sim::VirtualAmplifier* Application::amplifier() {
  return amplifier_ ? amplifier_->virtualAmplifier() : nullptr;
}

// A second start asked: restore the window and bring it to the front.
void Application::bringForward() {
  if (!window_ || window_->shutDown()) return;
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  window_->raise();
}

}  // namespace zr78

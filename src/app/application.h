// Application: the program's objects, built once at start and handed to whoever
// uses them (no globals): the language index, the folders, Qt's
// translations, the single-instance guard, the device (the real amplifier or
// the virtual one), the UI's link events, the link session, the link groups
// and the main window.
#pragma once

#include <memory>
#include <optional>

#include "app/app_options.h"
#include "app/qt_translations.h"
#include "app/single_instance.h"
#include "app/ui_link_events.h"
#include "channels/link_groups.h"
#include "presets/folders.h"
#include "text/language.h"

namespace zr78 {

class MainWindow;
class Amplifier;
struct LinkSession;
namespace sim {
class VirtualAmplifier;
}

class Application {
 public:
  explicit Application(AppOptions options);
  ~Application();  // stops the link, keeps the virtual amplifier's memory
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Language, single instance, device, link and window, in that order.
  // Returns the exit code when the program must end now (a second start:
  // the first comes forward, "The Program is Running!", 0); otherwise the
  // window is shown and the event loop may run.
  std::optional<int> start();

  MainWindow* window() { return window_.get(); }
  LinkSession* session() { return session_.get(); }
  // The virtual amplifier under --simulate, else nullptr.
  sim::VirtualAmplifier* amplifier();
  LanguageIndex& language() { return language_; }
  UiLinkEvents& events() { return events_; }
  SingleInstance& instance() { return instance_; }
  LinkGroups& groups() { return groups_; }
  const AppOptions& options() const { return options_; }

 private:
  void bringForward();

  AppOptions options_;
  Folders folders_;
  LanguageIndex language_;
  QtTranslations translations_;
  SingleInstance instance_;
  std::unique_ptr<Amplifier> amplifier_;  // the real or the virtual one
  UiLinkEvents events_;
  LinkGroups groups_;
  std::unique_ptr<LinkSession> session_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace zr78

// ModesPage: the "System" page of the system settings window. The device's
// six memories (a slot selector, the slot's name, "Load" and "Save"), the UI
// language and the noise gate. Every change takes effect at once: the mode
// operations go to the worker, the language is stored and announced to every
// window, the noise gate is written to its register. UI thread only.
#pragma once

#include <QTimer>
#include <QWidget>

#include "app/settings_parts.h"
#include "app/ui_message_box.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zr78 {

class ModesPage : public QWidget {
 public:
  ModesPage(const SettingsParts& parts, QWidget* parent);

  // Captions in the current language.
  void relabel();
  // The noise gate register's value, as the device reports it.
  void showNoiseGate(int32_t value);

  QComboBox* slotSelector() const { return slots_; }
  QLineEdit* nameField() const { return name_; }
  QPushButton* loadButton() const { return load_; }
  QPushButton* saveButton() const { return save_; }
  QComboBox* languageSelector() const { return language_; }
  QSpinBox* noiseGateField() const;
  const QTimer& nameTimer() const { return nameTimer_; }

 private:
  class NoiseGateField;

  void onSlotChanged(int item);
  void onNameTimer();
  void onLoad();
  void onSave();
  void onLanguageChosen(int item);
  void onNoiseGateStep(int steps);
  int selectedMode() const;

  SettingsParts parts_;
  UiMessageBox messages_;
  QGroupBox* memory_ = nullptr;
  QLabel* slotLabel_ = nullptr;
  QLabel* nameLabel_ = nullptr;
  QComboBox* slots_ = nullptr;
  QLineEdit* name_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* languageLabel_ = nullptr;
  QComboBox* language_ = nullptr;
  QGroupBox* noiseGate_ = nullptr;
  NoiseGateField* gate_ = nullptr;
  QTimer nameTimer_;
};

}  // namespace zr78

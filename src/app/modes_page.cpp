#include "app/modes_page.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "app/modes_page_rules.h"
#include "app/qt_text.h"
#include "channels/noise_gate.h"
#include "controls/window_message.h"
#include "controls/window_messages.h"
#include "link/link_state.h"
#include "presets/ini_file.h"
#include "registers/register_table.h"
#include "sync/sync_worker.h"
#include "text/fixed_texts.h"
#include "text/language.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

// The settings file: Language.ini, key "Language".
constexpr const char* kLanguageFileStem = "Language";
constexpr const char* kLanguageKey = "Language";

QString text(TextId entry, Language language) { return qtText(sharedText(entry, language)); }

}  // namespace

// The noise gate's number field with its up-down. The field shows the
// position and is not typed into; the page decides what a step does.
class ModesPage::NoiseGateField : public QSpinBox {
 public:
  explicit NoiseGateField(QWidget* parent) : QSpinBox(parent) {
    setRange(0, kNoiseGatePositions - 1);
    lineEdit()->setReadOnly(true);
  }
  std::function<void(int steps)> stepped;
  void stepBy(int steps) override {
    if (stepped) stepped(steps);
  }
};

ModesPage::ModesPage(const SettingsParts& parts, QWidget* parent)
    : QWidget(parent), parts_(parts), messages_(this) {
  memory_ = new QGroupBox(this);
  slotLabel_ = new QLabel(memory_);
  nameLabel_ = new QLabel(memory_);
  slots_ = new QComboBox(memory_);
  for (int mode = 1; mode <= kModeCount; ++mode) slots_->addItem(qtText(modeSlotText(mode)));
  name_ = new QLineEdit(memory_);
  load_ = new QPushButton(memory_);
  save_ = new QPushButton(memory_);
  auto* memoryGrid = new QGridLayout(memory_);
  memoryGrid->addWidget(slotLabel_, 0, 0);
  memoryGrid->addWidget(slots_, 0, 1, Qt::AlignLeft);
  memoryGrid->addWidget(nameLabel_, 1, 0);
  memoryGrid->addWidget(name_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(load_);
  buttons->addWidget(save_);
  memoryGrid->addLayout(buttons, 2, 0, 1, 2);
  memoryGrid->setColumnStretch(1, 1);

  languageLabel_ = new QLabel(this);
  language_ = new QComboBox(this);
  for (std::string_view name : kLanguageNames) language_->addItem(qtText(name));
  auto* languageRow = new QHBoxLayout;
  languageRow->addWidget(languageLabel_);
  languageRow->addWidget(language_);
  languageRow->addStretch(1);

  noiseGate_ = new QGroupBox(this);
  gate_ = new NoiseGateField(noiseGate_);
  auto* gateRow = new QHBoxLayout(noiseGate_);
  gateRow->addWidget(gate_);
  gateRow->addStretch(1);

  auto* page = new QVBoxLayout(this);
  page->addWidget(memory_);
  page->addLayout(languageRow);
  page->addWidget(noiseGate_);
  page->addStretch(1);

  // The window has no default button: Enter presses nothing.
  for (QPushButton* b : {load_, save_}) b->setAutoDefault(false);

  slots_->setCurrentIndex(initialSlotItem(parts_.table.getRegister(kActiveModeRegister)));
  language_->setCurrentIndex(languageIndex(parts_.language.get()));
  gate_->setValue(noiseGatePosition(parts_.table.getRegister(kNoiseGateRegister)));
  relabel();

  connect(slots_, &QComboBox::currentIndexChanged, this, &ModesPage::onSlotChanged);
  connect(load_, &QPushButton::clicked, this, &ModesPage::onLoad);
  connect(save_, &QPushButton::clicked, this, &ModesPage::onSave);
  connect(language_, &QComboBox::currentIndexChanged, this, &ModesPage::onLanguageChosen);
  gate_->stepped = [this](int steps) { onNoiseGateStep(steps); };

  // The selected slot's name, and then whatever name arrives.
  parts_.worker.requestModeName(selectedMode());
  connect(&nameTimer_, &QTimer::timeout, this, &ModesPage::onNameTimer);
  nameTimer_.start(kModeNameTimerMs);
}

QSpinBox* ModesPage::noiseGateField() const { return gate_; }

int ModesPage::selectedMode() const { return slots_->currentIndex() + 1; }

void ModesPage::relabel() {
  const Language language = parts_.language.get();
  memory_->setTitle(text(kTextMemoryLabel, language));
  slotLabel_->setText(text(kTextNumberLabel, language));
  nameLabel_->setText(text(kTextModeNameLabel, language));
  load_->setText(text(kTextLoad, language));
  save_->setText(text(kTextSave, language));
  languageLabel_->setText(text(kTextLanguageLabel, language));
  noiseGate_->setTitle(qtText(windowText(SystemPageText::kNoiseGate, language)));
}

void ModesPage::showNoiseGate(int32_t value) { gate_->setValue(noiseGatePosition(value)); }

// Asks the name only: the device's current mode stays until "Load".
void ModesPage::onSlotChanged(int item) {
  if (item >= 0) parts_.worker.requestModeName(item + 1);
}

// A name typed into the field is left alone until the field loses the focus.
// The field shows the selected slot's name: the last reply may be another
// mode's (a store reads every name back).
void ModesPage::onNameTimer() {
  if (!parts_.state.modeNameReceived.load() || name_->hasFocus()) return;
  parts_.state.modeNameReceived.store(0);
  name_->setText(QString::fromStdU16String(shownModeName(parts_.state.modeNames[selectedMode() - 1])));
}

void ModesPage::onLoad() { parts_.worker.requestRecall(selectedMode()); }

void ModesPage::onSave() {
  const std::optional<std::string> stored = storableModeName(name_->text().toStdU16String());
  if (!stored) {
    messages_.showMessage(std::string(sharedText(kTextNameNotSupported, parts_.language.get())), {},
                          MessageButtons::Ok);
    return;
  }
  parts_.worker.requestStore(selectedMode(), *stored);
}

// The new language is stored and announced to every window; the main window
// re-labels itself and its panels, the settings window its tabs and pages.
void ModesPage::onLanguageChosen(int item) {
  const std::optional<Language> chosen = languageFromIndex(item);
  if (!chosen) return;
  parts_.language.set(*chosen);
  writeIniNumber(parts_.folders, kLanguageFileStem, kLanguageKey, item);
  relabel();
  QSet<QWidget*> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) windows.insert(w);
  windows.insert(window());
  if (QWidget* owner = window()->parentWidget()) windows.insert(owner->window());
  for (QWidget* w : windows) postMessage(w, MSG_LANGUAGE_REFRESH, item, item);
}

void ModesPage::onNoiseGateStep(int steps) {
  const int position = noiseGateStep(gate_->value(), steps);
  gate_->setValue(position);
  parts_.table.setRegister(kNoiseGateRegister, noiseGateValue(position));
}

}  // namespace zr78

// The system settings window against the virtual amplifier: opened by
// "system", two tabs, Enter does nothing, the language switch re-labels
// every window at once and survives a restart, and every page looks
// finished in every language.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

#include "app/qt_text.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "presets/ini_file.h"
#include "settings_fixture.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78::test {
namespace {

QString shared(TextId entry, Language language) { return qtText(sharedText(entry, language)); }

class SettingsWindowTest : public SettingsFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(startConnected()); }

  // Every caption of the window, both pages and the top band in `language`.
  void expectLabelled(Language l) {
    SCOPED_TRACE(languageIndex(l));
    EXPECT_EQ(settings().tabs()->tabText(0), qtText(windowText(SystemWindowText::kSystem, l)));
    EXPECT_EQ(settings().tabs()->tabText(1), qtText(windowText(SystemWindowText::kLocal, l)));
    EXPECT_EQ(modes().loadButton()->text(), shared(kTextLoad, l));
    EXPECT_EQ(modes().saveButton()->text(), shared(kTextSave, l));
    const auto groups = modes().findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0]->title(), shared(kTextMemoryLabel, l));
    EXPECT_EQ(groups[1]->title(), qtText(windowText(SystemPageText::kNoiseGate, l)));
    QStringList labels;
    for (QLabel* label : modes().findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains(shared(kTextNumberLabel, l))) << labels.join("|").toStdString();
    EXPECT_TRUE(labels.contains(shared(kTextModeNameLabel, l))) << labels.join("|").toStdString();
    EXPECT_EQ(files().findChild<QLabel*>()->text(), shared(kTextFileNameLabel, l));
    EXPECT_EQ(files().saveButton()->text(), shared(kTextSaveToPc, l));
    EXPECT_EQ(files().deleteButton()->text(), shared(kTextDelete, l));
    EXPECT_EQ(files().loadButton()->text(), shared(kTextLoadToDsp, l));
    EXPECT_EQ(files().browseButton()->text(), shared(kTextBrowser, l));
    EXPECT_EQ(modes().languageSelector()->currentIndex(), languageIndex(l));
    EXPECT_EQ(window().topButton(kButtonSystem)->text(), shared(kTextSystem, l));
    EXPECT_EQ(window().topButton(kButtonMixer)->text(), shared(kTextMixer, l));
    EXPECT_TRUE(window().volumeLabel()->text().startsWith(shared(kTextVolume, l)));
    EXPECT_EQ(window().inputSelector()->itemText(0), shared(kTextBluetooth, l));
  }
};

TEST_F(SettingsWindowTest, SystemOpensAModalWindowWithTwoTabs) {
  SettingsWindow* opened = openSettings();
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->windowModality(), Qt::ApplicationModal);
  ASSERT_EQ(opened->tabs()->count(), 2);
  EXPECT_EQ(opened->tabs()->tabText(0), "System");
  EXPECT_EQ(opened->tabs()->tabText(1), "Local");
  EXPECT_TRUE(modes().isVisible());
  EXPECT_FALSE(files().isVisible());
  showTab(SettingsWindow::kLocalTab);
  EXPECT_FALSE(modes().isVisible());
  EXPECT_TRUE(files().isVisible());
  showTab(SettingsWindow::kSystemTab);
  EXPECT_TRUE(modes().isVisible());
  EXPECT_FALSE(files().isVisible());

  // Closed, it is gone with its name timer; the next click opens a new one.
  QPointer<SettingsWindow> first = opened;
  opened->close();
  ASSERT_TRUE(waitUntil([&] { return first.isNull(); }));
  EXPECT_EQ(openSettingsWindow(window()), nullptr);
  SettingsWindow* second = openSettings();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->modesPage().nameTimer().isActive());
}

// Enter in the window or in any of its fields neither closes it nor presses
// a button nor adds to the file list.
TEST_F(SettingsWindowTest, EnterDoesNothing) {
  writePreset(presetFolder() / "Bass.ryb");
  ASSERT_NE(openSettings(), nullptr);
  BoxAnswerer boxes;
  const uint32_t done = session().worker.requestsCompleted();
  const int listed = files().fileList()->count();
  const struct {
    const char* name;
    int tab;
    QWidget* target;
  } cases[] = {
      {"window", 0, &settings()},
      {"slot selector", 0, modes().slotSelector()},
      {"name field", 0, modes().nameField()},
      {"noise gate", 0, modes().noiseGateField()},
      {"save button", 0, modes().saveButton()},
      {"file name", 1, files().nameField()},
      {"file list", 1, files().fileList()},
      {"save to pc", 1, files().saveButton()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    showTab(c.tab);
    c.target->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(QApplication::focusWidget(), key);
    settle();
    EXPECT_TRUE(settings().isVisible());
  }
  QTest::qWait(300);
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_EQ(session().worker.requestsCompleted(), done);
  for (int slot : {kSlotSaveToFile, kSlotWriteFile, kSlotRecallMode, kSlotWriteModeName})
    EXPECT_FALSE(session().worker.requestRaised(slot)) << slot;
  EXPECT_EQ(files().fileList()->count(), listed);
}

// Each choice re-labels the open window, both pages and the main window at
// once, and is stored; a restart starts in the last one.
TEST_F(SettingsWindowTest, LanguageSwitchRelabelsEveryWindowAndSurvivesARestart) {
  ASSERT_NE(openSettings(), nullptr);
  expectLabelled(Language::kEnglish);
  for (Language l : {Language::kSimplifiedChinese, Language::kEnglish, Language::kTraditionalChinese}) {
    choose(modes().languageSelector(), languageIndex(l));
    EXPECT_EQ(app_->language().get(), l);
    expectLabelled(l);
    EXPECT_EQ(readLanguage(folders()), languageIndex(l));
  }
  settings().close();
  app_.reset();
  ASSERT_TRUE(startConnected());
  EXPECT_EQ(app_->language().get(), Language::kTraditionalChinese);
  ASSERT_NE(openSettings(), nullptr);
  expectLabelled(Language::kTraditionalChinese);
}

using SettingsStartTest = SettingsFixture;

TEST_F(SettingsStartTest, HongKongLocaleWithoutSettingsFileOpensInTraditionalChinese) {
  options_.localeId = localeIdFromName("zh_HK.UTF-8");
  ASSERT_TRUE(startConnected());
  ASSERT_NE(openSettings(), nullptr);
  EXPECT_EQ(settings().tabs()->tabText(0), "系統");
  EXPECT_EQ(settings().tabs()->tabText(1), "保存/上傳");
  EXPECT_EQ(modes().languageSelector()->currentText(), "繁體中文");
  EXPECT_EQ(window().topButton(kButtonSystem)->text(), "系統");
  EXPECT_FALSE(std::filesystem::exists(presetFolder() / "Language.ini"));
}

// Every text has the room it needs and no two controls of a page overlap, in
// every language. ZR78_SETTINGS_SHOTS names a folder for the pictures.
TEST_F(SettingsWindowTest, PagesLookFinishedInEveryLanguage) {
  for (const char* name : {"Bass.ryb", "Street.ryb", "Competition.ryb"}) writePreset(presetFolder() / name);
  writePreset(fallbackFolder() / "Bass.ryb");
  ASSERT_NE(openSettings(), nullptr);
  ASSERT_TRUE(waitUntil([&] { return modes().nameField()->text() == "Mode 3"; }));
  const QString shots = qEnvironmentVariable("ZR78_SETTINGS_SHOTS");
  const char* languageNames[] = {"zh-hans", "zh-hant", "en"};
  for (Language l : kLanguages) {
    choose(modes().languageSelector(), languageIndex(l));
    for (int tab : {SettingsWindow::kSystemTab, SettingsWindow::kLocalTab}) {
      SCOPED_TRACE(std::string(languageNames[languageIndex(l)]) + (tab == 0 ? " System" : " Local"));
      showTab(tab);
      QWidget* page = settings().tabs()->widget(tab);
      const QTabBar* bar = settings().tabs()->tabBar();
      EXPECT_GE(bar->tabRect(tab).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(tab)));
      for (QLabel* label : page->findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
      for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (!button->isVisible()) continue;
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
      }
      for (QGroupBox* group : page->findChildren<QGroupBox*>())
        EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()) + 16)
            << group->title().toStdString();
      // Controls that share a parent do not overlap.
      QList<QWidget*> controls;
      for (QWidget* w : page->findChildren<QWidget*>())
        if (w->isVisible() && (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                               qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QGroupBox*>(w)))
          controls << w;
      for (QWidget* a : controls) {
        for (QWidget* b : controls) {
          if (a >= b || a->parentWidget() != b->parentWidget()) continue;
          EXPECT_FALSE(a->geometry().intersects(b->geometry()))
              << a->metaObject()->className() << " " << b->metaObject()->className();
        }
      }
      if (!shots.isEmpty()) {
        const QString file = QStringLiteral("%1/settings-%2-%3.png")
                                 .arg(shots, QString::fromLatin1(languageNames[languageIndex(l)]),
                                      tab == 0 ? QStringLiteral("system") : QStringLiteral("local"));
        EXPECT_TRUE(settings().grab().save(file)) << file.toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace zr78::test

// Filter texts in and out of a channel from the response graph's context
// menu, against the virtual amplifier: the real menu, file dialogs, preview
// and message boxes, driven by QTest.
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <fstream>
#include <sstream>

#include "app/app_options.h"
#include "app/filter_import_dialog.h"
#include "app/filter_text_menu.h"
#include "app/qt_text.h"
#include "channels/filter_import.h"
#include "channels/gain_word.h"
#include "channels/link_groups.h"
#include "eq/crossover_code.h"
#include "eq/filter_export.h"
#include "eq/filter_mapping.h"
#include "eq/filter_text.h"
#include "eq_panel_fixture.h"
#include "presets/file_io.h"
#include "text/filter_import_texts.h"
#include "text/graph_menu_texts.h"

namespace zr78::test {
namespace {

constexpr char kCorrection[] =
    "Filter Settings file\r\n"
    "Preamp: -4.5 dB\r\n"
    "Filter 1: ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.10\r\n"
    "Filter 2: ON PK Fc 1250 Hz Gain 2.0 dB Q 1.41\r\n"
    "Filter 3: OFF PK Fc 8000 Hz Gain -3.0 dB Q 2.00\r\n"
    "Filter 4: ON HP Fc 80 Hz\r\n"
    "Filter 5: ON PK Fc 240 Hz Gain -3.5 dB BW Oct 0.5\r\n"
    "Filter 6: ON None\r\n";

// The menu items after "Save graph as PNG…".
constexpr int kImportItem = 1, kExportItem = 2;
constexpr int kGiveUpTicks = 1500;  // of the menu driver's 10 ms

class FilterTextMenuTest : public EqPanelFixture {
 protected:
  void SetUp() override {
    // The file dialogs offer CHn-filters.txt in the home folder, and the tests
    // take that offer (a name chosen by the test would race with the dialog
    // selecting its offered name once it has read the folder).
    home_ = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(root_.string()));
    EqPanelFixture::SetUp();
  }
  void TearDown() override { qputenv("HOME", home_); }

  std::filesystem::path offered(int channel) {
    return root_ / ("CH" + std::to_string(channel + 1) + "-filters.txt");
  }
  void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  // What a run of a menu item met, in order.
  struct Run {
    QStringList menu;         // the menu's items
    QStringList fileDialogs;  // their titles
    QStringList boxes;        // message box texts
    int previews = 0;
  };

  // Opens the graph's menu and clicks item `index`. Each file dialog is
  // accepted with its offered name; each preview is given to `preview`
  // (which closes it); each message box is recorded and closed.
  Run runMenuItem(int index, const std::function<void(FilterImportDialog&)>& preview = {}) {
    Run run;
    bool clicked = false;
    QPointer<QWidget> handled;
    QTimer driver;
    driver.setInterval(10);
    int ticks = 0;
    QObject::connect(&driver, &QTimer::timeout, [&] {
      // A dialog the run does not close would hang the test: it fails instead.
      if (++ticks > kGiveUpTicks) {
        if (ticks == kGiveUpTicks + 1) ADD_FAILURE() << "a dialog stayed open";
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) open->reject();
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        return;
      }
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        if (clicked) return;
        clicked = true;
        for (QAction* a : menu->actions()) run.menu << a->text();
        const QPoint item = menu->actionGeometry(menu->actions().value(index)).center();
        // From a fresh call: the item runs its dialogs in loops of their own.
        QTimer::singleShot(0, menu,
                           [menu, item] { QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, item); });
        return;
      }
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == handled) return;
      handled = modal;
      if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        run.fileDialogs << files->windowTitle();
        static_cast<QDialog*>(files)->accept();  // as its Open / Save button does
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        run.boxes << box->text();
        QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
      } else if (auto* dialog = qobject_cast<FilterImportDialog*>(modal)) {
        ++run.previews;
        if (preview) preview(*dialog);
        if (dialog->isVisible()) dialog->reject();
      }
    });
    driver.start();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(400, 100), graph().mapToGlobal(QPoint(400, 100)));
    QApplication::sendEvent(&graph(), &menuEvent);
    settle();
    return run;
  }

  // The import the window must make of a text onto a channel as it is now.
  std::vector<RegisterWrite> expectedWrites(const std::string& text, int channel) {
    const FilterTextParse parse = parseFilterText(text);
    EXPECT_TRUE(parse.ok());
    const RegisterImage image = table().image();
    const auto mapping = mapFilters(parse.text, image, channel);
    EXPECT_TRUE(mapping);
    return mapping ? filterImportWrites(*mapping, image) : std::vector<RegisterWrite>{};
  }

  static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  QByteArray home_;
};

TEST_F(FilterTextMenuTest, PreviewThenCancelChangesNothing) {
  writeText(offered(0), kCorrection);
  const RegisterImage before = table().image();
  QStringList rows;
  QString deviation, title;
  bool curvesDrawn = false;
  const Run run = runMenuItem(kImportItem, [&](FilterImportDialog& d) {
    title = d.windowTitle();
    for (int r = 0; r < d.report()->rowCount(); ++r)
      rows << d.report()->item(r, 1)->text() + " | " + d.report()->item(r, 3)->text();
    deviation = d.deviationLabel()->text();
    const FilterCurves& c = d.comparison()->curves();
    curvesDrawn = !c.frequencyHz.empty() && c.frequencyHz.front() == 20 && c.frequencyHz.back() == 20000 &&
                  c.writtenDb.size() == c.frequencyHz.size() && c.amplifierDb.size() == c.frequencyHz.size();
    click(d.cancelButton());
  });
  EXPECT_EQ(run.menu, QStringList({"Save graph as PNG…", "Import filters…", "Export filters…"}));
  EXPECT_EQ(run.fileDialogs, QStringList{"Import filters"});
  EXPECT_EQ(run.previews, 1);
  EXPECT_TRUE(run.boxes.isEmpty()) << run.boxes.join("\n").toStdString();
  EXPECT_EQ(title, "Import filters — CH1");
  // Text order; the lowest peaking filter takes band 1.
  EXPECT_EQ(rows.value(0), "Filter 1 | band 1: 64 Hz, -5.2 dB, Q 4.01 (panel Q 12.7)");
  EXPECT_EQ(rows.value(1), "Filter 2 | band 3: 1250 Hz, +2.0 dB, Q 1.42 (panel Q 4.50)");
  EXPECT_EQ(rows.value(2), "Filter 3 | off: not applied");
  EXPECT_EQ(rows.value(3), "Filter 4 | high-pass: Butterworth 12dB/Oct at 80 Hz");
  EXPECT_EQ(rows.value(4), "Filter 5 | band 2: 240 Hz, -3.5 dB, Q 2.84 (panel Q 9.00)");
  EXPECT_EQ(rows.value(5), "Preamp | channel gain -5 dB (whole dB, rounded down)");
  EXPECT_EQ(rows.value(6), "unused | 0 dB at the default frequency, Q 7.6");
  EXPECT_EQ(rows.value(7), "low-pass | kept as it is");
  EXPECT_EQ(deviation.toStdString(),
            "max_deviation_db 0.258: the largest difference of the two curves, 20 Hz..20 kHz, at 69 Hz");
  EXPECT_TRUE(curvesDrawn);
  // Nothing written, nothing marked, nothing sent.
  settle();
  EXPECT_EQ(table().image(), before);
  for (int a = 0; a < kRegisterCount; ++a) ASSERT_FALSE(table().dirty(a)) << a;
  for (const RegisterWrite& w : expectedWrites(kCorrection, 0)) EXPECT_EQ(amp().reg(w.address), before[w.address]);
}

TEST_F(FilterTextMenuTest, ApplyWritesTheImportAsEditsThatReachTheAmplifierAndTheLinkedChannel) {
  app_->groups().setGroups({1, 1, 0, 0, 0, 0, 0, 0});  // CH1 and CH2 linked
  writeText(offered(0), kCorrection);
  const std::vector<RegisterWrite> writes = expectedWrites(kCorrection, 0);
  ASSERT_EQ(writes.size(), 3u * kBandCount + 2 + 1);  // bands, the high-pass (code, frequency), the gain
  const Run run = runMenuItem(kImportItem, [&](FilterImportDialog& d) { click(d.applyButton()); });
  ASSERT_EQ(run.previews, 1);
  EXPECT_TRUE(run.boxes.isEmpty()) << run.boxes.join("\n").toStdString();
  for (const RegisterWrite& w : writes) EXPECT_EQ(table().getRegister(w.address), w.value) << w.address;
  EXPECT_TRUE(waitUntil([&] {
    for (const RegisterWrite& w : writes)
      if (amp().reg(w.address) != w.value) return false;
    return true;
  }));
  // The panel and the graph show the import; the linked channel took the
  // same bands, and its own phase with the gain.
  settle();
  EXPECT_EQ(panel().gainField(0)->editChild()->text(), "-5.2");
  EXPECT_EQ(panel().frequencyField(0)->editChild()->text(), "64");
  EXPECT_DOUBLE_EQ(model().state(0).gainDb[kFirstBandPoint + 1], -3.5);
  EXPECT_DOUBLE_EQ(model().state(0).frequencyHz[kHighPassPoint], 80);
  for (int b = 0; b < kBandCount; ++b)
    EXPECT_EQ(reg(1, EqParamIndex::kBandGain + b), reg(0, EqParamIndex::kBandGain + b)) << b;
  EXPECT_EQ(decodeGainWord(table().getRegister(channelGainRegister(1))).gainDb, -5);
}

TEST_F(FilterTextMenuTest, ARefusedTextShowsItsLinesAndChangesNothing) {
  writeText(offered(0),
            "Preamp: -3 dB\n"
            "Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 2\n"
            "Filter 2: ON LS Fc 105 Hz Gain 4.0 dB\n"
            "Filter 3: ON PK Fc 1k Hz Gain x dB Q 1\n");
  const RegisterImage before = table().image();
  const Run run = runMenuItem(kImportItem);
  EXPECT_EQ(run.previews, 0);
  ASSERT_EQ(run.boxes.size(), 1);
  const QStringList lines = run.boxes[0].split('\n');
  EXPECT_EQ(lines.value(0), "This filter text cannot be imported; nothing was changed:");
  EXPECT_TRUE(lines.value(1).startsWith("line 3: ") && lines.value(1).contains("shelf"))
      << lines.value(1).toStdString();
  EXPECT_TRUE(lines.value(2).startsWith("line 4: ")) << lines.value(2).toStdString();
  settle();
  EXPECT_EQ(table().image(), before);
}

// Files that are no filter text are refused from what they are, before a
// byte is parsed.
TEST_F(FilterTextMenuTest, FilesThatCannotBeReadAreRefusedWithTheirName) {
  const std::filesystem::path large = root_ / "large.txt";
  writeText(large, std::string(kMaxReadBytes + 1, '\n'));
  std::filesystem::create_directories(root_ / "folder.txt");
  const struct {
    std::filesystem::path path;
    const char* start;
  } cases[] = {{root_ / "missing.txt", "Cannot open the file: "},
               {root_ / "folder.txt", "Not a regular file: "},
               {large, "Larger than 1 MiB, not a filter text: "}};
  for (const auto& c : cases) {
    const QString path = QString::fromStdString(c.path.string());
    const FilterImportPlan plan = planFilterImport(path, table().image(), 0, Language::kEnglish);
    EXPECT_FALSE(plan.mapping) << c.start;
    EXPECT_EQ(plan.refusal, QString::fromUtf8(c.start) + path);
  }
}

TEST_F(FilterTextMenuTest, ExportWritesATextThatImportsBackToTheSameRegisters) {
  // CH3 with two bands, a Butterworth high-pass and a Linkwitz-Riley low-pass
  // (which the text cannot say, and an import keeps).
  const RegisterImage image = table().image();
  const auto setup = mapFilters(parseFilterText("Filter 1: ON PK Fc 57 Hz Gain -6.5 dB Q 3.3\n"
                                                "Filter 2: ON PK Fc 3150 Hz Gain 2.5 dB Q 0.8\n"
                                                "Filter 3: ON HP Fc 45 Hz\n")
                                    .text,
                                image, 2);
  ASSERT_TRUE(setup);
  std::vector<RegisterWrite> fromDevice = filterImportWrites(*setup, image);
  fromDevice.push_back({address(2, EqParamIndex::kLowPassFrequency), 4000});
  fromDevice.push_back(
      {address(2, EqParamIndex::kLowPassCode), *crossoverCode(CrossoverDirection::LowPass, 2, 3)});
  for (const RegisterWrite& w : fromDevice) {  // as a read from the amplifier brings them
    amp().setReg(w.address, w.value);
    table().storeFromDevice(w.address, w.value);
    postMessage(&window(), MSG_DEVICE_NOTIFY, 0, w.address);
  }
  showChannel(2);
  std::filesystem::remove(offered(2));
  const Run run = runMenuItem(kExportItem);
  EXPECT_EQ(run.fileDialogs, QStringList{"Export filters"});
  EXPECT_TRUE(run.boxes.isEmpty()) << run.boxes.join("\n").toStdString();
  std::ifstream in(offered(2), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const RegisterImage now = table().image();
  EXPECT_EQ(text.str(), writeFilterText(exportChannelFilters(now, 2)->text));
  EXPECT_NE(text.str().find("\n# "), std::string::npos) << text.str();  // the low-pass, as a comment
  const FilterTextParse parse = parseFilterText(text.str());
  ASSERT_TRUE(parse.ok()) << filterTextErrorsText(parse.errors);
  const auto back = mapFilters(parse.text, now, 2);
  ASSERT_TRUE(back);
  for (const RegisterWrite& w : filterImportWrites(*back, now)) EXPECT_EQ(w.value, now[w.address]) << w.address;
}

TEST_F(FilterTextMenuTest, AnExportThatCannotBeWrittenSaysSoAndKeepsWhatWasThere) {
  struct Messages : MessageBoxRoutine {
    std::vector<std::string> seen;
    MessageResult showMessage(const std::string& text, const std::string&, MessageButtons) override {
      seen.push_back(text);
      return MessageResult::Ok;
    }
  } messages;
  FilterTextMenu menu({table(), app_->language(), messages, &window(), [] { return 0; }, [] { return 1.0; },
                       [](const std::vector<RegisterWrite>&) {}});
  const std::filesystem::path folder = root_ / "CH1-filters.txt";  // a folder where the file would go
  std::filesystem::create_directories(folder / "inside");
  const QString path = QString::fromStdString(folder.string());
  EXPECT_FALSE(menu.exportFile(path));
  ASSERT_EQ(messages.seen.size(), 1u);
  EXPECT_EQ(qtText(messages.seen[0]), "Export failed; any old file is kept: " + path);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
  EXPECT_TRUE(menu.exportFile(QString::fromStdString((root_ / "CH1.txt").string())));
}

TEST_F(FilterTextMenuTest, TextsFollowTheLanguage) {
  writeText(offered(0), kCorrection);
  app_->language().set(Language::kTraditionalChinese);
  QString apply, cancel, title, header;
  const Run run = runMenuItem(kImportItem, [&](FilterImportDialog& d) {
    apply = d.applyButton()->text();
    cancel = d.cancelButton()->text();
    title = d.windowTitle();
    header = d.report()->horizontalHeaderItem(3)->text();
  });
  EXPECT_EQ(run.menu.value(1), QString::fromUtf8("匯入濾波器…"));
  EXPECT_EQ(run.menu.value(2), QString::fromUtf8("匯出濾波器…"));
  EXPECT_EQ(run.fileDialogs, QStringList{QString::fromUtf8("匯入濾波器")});
  EXPECT_EQ(apply, QString::fromUtf8("套用"));
  EXPECT_EQ(cancel, QString::fromUtf8("取消"));
  EXPECT_EQ(title, QString::fromUtf8("匯入濾波器 — CH1"));
  EXPECT_EQ(header, QString::fromUtf8("擴大機將執行"));
  app_->language().set(Language::kSimplifiedChinese);
  std::filesystem::remove(offered(0));  // no question whether to replace it
  const Run simplified = runMenuItem(kExportItem);
  EXPECT_EQ(simplified.menu.value(1), QString::fromUtf8("导入滤波器…"));
  EXPECT_EQ(simplified.fileDialogs, QStringList{QString::fromUtf8("导出滤波器")});
}

// Every entry says its placeholders in each language, so no language loses a
// number the window fills in.
TEST(FilterImportTexts, PlaceholdersAreTheSameInEveryLanguage) {
  const auto placeholders = [](std::string_view text) {
    std::vector<char> found;
    for (size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1))
      if (i + 1 < text.size()) found.push_back(text[i + 1]);
    std::sort(found.begin(), found.end());
    return found;
  };
  const auto table = windowTable<FilterImportText>();
  for (size_t e = 0; e < table.size(); ++e)
    for (Language l : kLanguages)
      EXPECT_EQ(placeholders(table[e][languageIndex(l)]),
                placeholders(table[e][languageIndex(Language::kEnglish)]))
          << "entry " << e;
}

TEST(FilterImportScene, TheImportSceneAndItsFilterTextGoTogether) {
  std::string error;
  const auto o = parseAppOptions({"--screenshot", "s.png", "--scene", "import", "--filters", "f.txt"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->screenshotScene, "import");
  EXPECT_EQ(o->screenshotFilters, "f.txt");
  for (const QStringList& bad : {QStringList{"--screenshot", "s.png", "--scene", "import"},
                                 QStringList{"--screenshot", "s.png", "--scene", "mixer", "--filters", "f.txt"},
                                 QStringList{"--scene", "import", "--filters", "f.txt"}})
    EXPECT_FALSE(parseAppOptions(bad, error)) << bad.join(' ').toStdString();
}

}  // namespace
}  // namespace zr78::test

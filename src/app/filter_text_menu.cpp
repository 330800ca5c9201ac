#include "app/filter_text_menu.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "app/filter_import_dialog.h"
#include "app/graph_menu_dialog.h"
#include "app/qt_text.h"
#include "app/response_graph.h"
#include "channels/filter_import.h"
#include "eq/filter_export.h"
#include "presets/file_io.h"
#include "presets/folders.h"
#include "registers/register_table.h"
#include "text/filter_import_texts.h"
#include "text/graph_menu_texts.h"
#include "text/message_box.h"

namespace zr78 {

namespace {

using T = FilterImportText;

// A refused text lists this many of its errors; the rest are counted.
constexpr size_t kErrorsListed = 12;

QString text(T id, Language language) { return qtText(windowText(id, language)); }

QString refusalOf(const std::vector<FilterTextError>& errors, Language language) {
  QStringList lines{text(T::kRefused, language)};
  for (size_t i = 0; i < std::min(errors.size(), kErrorsListed); ++i) {
    const FilterTextError& e = errors[i];
    const QString reason = qtText(e.reason);
    lines << (e.line > 0 ? text(T::kErrorLine, language).arg(e.line).arg(reason) : reason);
  }
  if (errors.size() > kErrorsListed) lines << text(T::kMoreErrors, language).arg(errors.size() - kErrorsListed);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace


QString offeredFilterTextPath(int channel) {
  return QDir(QDir::homePath()).filePath(QStringLiteral("CH%1-filters.txt").arg(channel + 1));
}

FilterImportPlan planFilterImport(const QString& path, const RegisterImage& current, int channel,
                                  Language language) {
  FilterImportPlan plan;
  std::vector<uint8_t> bytes;
  const QString shown = QDir::toNativeSeparators(path);
  switch (readBoundedFile(pathFromUtf8(utf8Text(path)), kMaxReadBytes, bytes)) {
    case ReadStatus::Ok: break;
    case ReadStatus::CannotOpen: plan.refusal = text(T::kCannotOpen, language).arg(shown); return plan;
    case ReadStatus::NotRegularFile: plan.refusal = text(T::kNotRegularFile, language).arg(shown); return plan;
    case ReadStatus::TooLarge: plan.refusal = text(T::kTooLarge, language).arg(shown); return plan;
  }
  FilterTextParse parse =
      parseFilterText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!parse.ok()) {
    plan.refusal = refusalOf(parse.errors, language);
    return plan;
  }
  plan.text = std::move(parse.text);
  plan.mapping = mapFilters(plan.text, current, channel);
  if (!plan.mapping) plan.refusal = text(T::kRefused, language);
  return plan;
}

void FilterTextMenu::addTo(ResponseGraph& graph, const std::shared_ptr<FilterTextMenu>& menu) {
  graph.addMenuItem(
      [menu] { return qtText(windowText(GraphMenuText::kImportFilters, menu->parts_.language.get())); },
      [menu] { menu->importFilters(); });
  graph.addMenuItem(
      [menu] { return qtText(windowText(GraphMenuText::kExportFilters, menu->parts_.language.get())); },
      [menu] { menu->exportFilters(); });
}

void FilterTextMenu::tell(const QString& message) {
  parts_.messages.showMessage(utf8Text(message), std::string(), MessageButtons::Ok);
}

void FilterTextMenu::importFilters() {
  const Language language = parts_.language.get();
  const QString path = QFileDialog::getOpenFileName(
      parts_.owner, graphMenuDialogTitle(GraphMenuText::kImportFilters, language),
      offeredFilterTextPath(parts_.channel()), qtText(windowText(GraphMenuText::kFilterTextFilter, language)));
  if (!path.isEmpty()) importFile(path);
}

bool FilterTextMenu::importFile(const QString& path) {
  const Language language = parts_.language.get();
  const int channel = parts_.channel();
  const FilterImportPlan plan = planFilterImport(path, parts_.table.image(), channel, language);
  if (!plan.mapping) {
    tell(plan.refusal);
    return false;
  }
  FilterImportDialog preview(*plan.mapping, QFileInfo(path).fileName(), language, parts_.scale(), parts_.owner);
  if (preview.exec() != QDialog::Accepted) return false;
  // Laid onto the channel as it is now: a value the amplifier reported while
  // the preview was open (the channel's phase, a kept crossover) is not undone.
  const RegisterImage now = parts_.table.image();
  const std::optional<FilterMapping> mapping = mapFilters(plan.text, now, channel);
  if (!mapping) return false;
  parts_.apply(filterImportWrites(*mapping, now));
  return true;
}

void FilterTextMenu::exportFilters() {
  const Language language = parts_.language.get();
  QString path = QFileDialog::getSaveFileName(
      parts_.owner, graphMenuDialogTitle(GraphMenuText::kExportFilters, language),
      offeredFilterTextPath(parts_.channel()), qtText(windowText(GraphMenuText::kFilterTextFilter, language)));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
  exportFile(path);
}

bool FilterTextMenu::exportFile(const QString& path) {
  const std::optional<ChannelFilterExport> exported =
      exportChannelFilters(parts_.table.image(), parts_.channel());
  const std::string written = exported ? writeFilterText(exported->text) : std::string();
  const auto* bytes = reinterpret_cast<const uint8_t*>(written.data());
  if (exported && writeFileReplacing(pathFromUtf8(utf8Text(path)), std::span(bytes, written.size()))) return true;
  tell(text(T::kExportFailed, parts_.language.get()).arg(QDir::toNativeSeparators(path)));
  return false;
}

}  // namespace zr78

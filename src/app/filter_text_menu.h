// The response graph's "Import filters…" and "Export filters…" for the EQ
// panel's channel. An import reads a filter text of room-EQ measurement
// software (a regular file of at most 1 MiB), refuses it with its line
// numbers and reasons or shows the preview (FilterImportDialog), and only on
// Apply hands the register writes to the window's edit path, all in one
// step. An export writes the channel's bands and crossovers as such a text,
// replacing the file whole or not at all. UI thread only.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "eq/filter_mapping.h"
#include "eq/filter_text.h"
#include "registers/register_map.h"
#include "text/language.h"

class QWidget;

namespace zr78 {

class MessageBoxRoutine;
class RegisterTable;
class ResponseGraph;

struct FilterTextMenuParts {
  const RegisterTable& table;
  LanguageIndex& language;
  MessageBoxRoutine& messages;
  QWidget* owner;                 // parent of the dialogs
  std::function<int()> channel;   // the channel the EQ panel shows
  std::function<double()> scale;  // the window's scale, for the preview's size
  // The window's edit path: every write set, copied to linked channels, shown.
  std::function<void(const std::vector<RegisterWrite>&)> apply;
};

// A filter text read and laid onto a channel, or why it cannot be.
struct FilterImportPlan {
  FilterText text;
  std::optional<FilterMapping> mapping;
  QString refusal;  // the message when there is no mapping
};
FilterImportPlan planFilterImport(const QString& path, const RegisterImage& current, int channel,
                                  Language language);

// "CH1-filters.txt" in the home folder: what the export offers, and so what
// the import offers first.
QString offeredFilterTextPath(int channel);

class FilterTextMenu {
 public:
  explicit FilterTextMenu(FilterTextMenuParts parts) : parts_(std::move(parts)) {}

  // The two items, after the graph's others; the menu lives as long as they do.
  static void addTo(ResponseGraph& graph, const std::shared_ptr<FilterTextMenu>& menu);

  // The menu items: a file dialog, then importFile / exportFile.
  void importFilters();
  void exportFilters();
  // True when the preview's Apply wrote the text / the file was written.
  bool importFile(const QString& path);
  bool exportFile(const QString& path);

 private:
  void tell(const QString& message);

  FilterTextMenuParts parts_;
};

}  // namespace zr78

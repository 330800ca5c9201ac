#include "controls/font_map.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

namespace zr78 {
namespace {

struct FamilyRow {
  const char* name;   // as the layout names it (UTF-8)
  QStringList candidates;  // installed families to try, in order
  bool bold;
};

const std::vector<FamilyRow>& familyTable() {
  static const std::vector<FamilyRow> rows = {
      {"微软雅黑", {"Microsoft YaHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "DejaVu Sans"}, false},
      {"黑体", {"SimHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "DejaVu Sans"}, false},
      {"宋体", {"SimSun", "WenQuanYi Micro Hei", "Noto Serif CJK SC", "DejaVu Sans"}, false},
      // Arial's narrow metrics are closest to the condensed DejaVu face.
      {"Arial", {"Arial", "Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans"}, false},
      {"Arial Bold", {"Arial", "Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans"}, true},
      {"Times New Roman", {"Times New Roman", "Liberation Serif", "DejaVu Serif", "DejaVu Sans"}, false},
  };
  return rows;
}

const FamilyRow* findRow(const QString& family) {
  for (const FamilyRow& row : familyTable()) {
    if (family.compare(QString::fromUtf8(row.name), Qt::CaseInsensitive) == 0) return &row;
  }
  return nullptr;
}

bool installed(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

QString genericSansFamily() {
  QFont generic(QStringLiteral("sans-serif"));
  generic.setStyleHint(QFont::SansSerif);
  return QFontInfo(generic).family();
}

QString mappedFontFamily(const QString& family) {
  if (const FamilyRow* row = findRow(family)) {
    for (const QString& candidate : row->candidates) {
      if (installed(candidate)) return candidate;
    }
  } else if (!family.isEmpty() && installed(family)) {
    return family;
  }
  return genericSansFamily();
}

QFont makeFont(const QString& family, double pixelSize, int style) {
  const FamilyRow* row = findRow(family);
  QFont font(mappedFontFamily(family));
  font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
  font.setHintingPreference(QFont::PreferDefaultHinting);
  font.setPixelSize(std::max(1, qRound(pixelSize)));
  font.setBold((style & FONT_BOLD) != 0 || (row != nullptr && row->bold));
  font.setItalic((style & FONT_ITALIC) != 0);
  font.setUnderline((style & FONT_UNDERLINE) != 0);
  font.setStrikeOut((style & FONT_STRIKEOUT) != 0);
  return font;
}

QFont makeFontForCellHeight(const QString& family, double cellHeight, int style) {
  QFont probe = makeFont(family, 100, style);
  const double lineAt100 = QFontMetricsF(probe).height();
  const double em = lineAt100 > 0 ? cellHeight * 100 / lineAt100 : cellHeight;
  return makeFont(family, em, style);
}

}  // namespace zr78

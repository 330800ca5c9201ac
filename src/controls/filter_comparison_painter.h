// The picture of a filter import's preview: over the response graph's grid
// and labels, two curves from 20 Hz to 20 kHz -- the filters as the text
// writes them (dashed) and as the amplifier will realise them (solid, the
// current channel's colour of the EQ graph) -- with a small legend. The
// curves come from eq/filter_mapping.h (filterCurves); this only draws.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

#include "eq/filter_mapping.h"
#include "eq/graph_layout.h"

namespace zr78 {

struct FilterComparisonLook {
  QColor background;
  QString writtenLabel, amplifierLabel;  // the legend's two rows
};

// The whole picture (layout.width() × layout.height() at the device pixel
// ratio); `curves` holds one value per comparisonFrequencies(layout)
// (eq/filter_mapping.h).
QImage paintFilterComparison(const GraphLayout& layout, const FilterCurves& curves, double devicePixelRatio,
                             const FilterComparisonLook& look);

}  // namespace zr78

// The colours of a number box (NumericEdit) on the dark panels, and the one
// call that gives a box its colours and font.
#pragma once

#include <QColor>
#include <QString>

#include "controls/numeric_edit.h"

namespace zr78 {

struct NumberBoxLook {
  QColor text;
  QColor face;     // unfocused
  QColor focused;  // the face while it has the focus
  QColor frame;
};

// The boxes of the channel strip and of the mixer.
inline const NumberBoxLook kStripNumberBox{{235, 238, 242}, {38, 38, 40}, {24, 46, 60}, {22, 22, 24}};

inline void styleNumberBox(NumericEdit& box, const NumberBoxLook& look, int fontHeight, const QString& face) {
  box.setStateColour(EditColour::kNormal, look.face);
  box.setStateColour(EditColour::kFocused, look.focused);
  box.setStateColour(EditColour::kFrame, look.frame);
  box.setAppearance(fontHeight, face, look.text);
}

}  // namespace zr78

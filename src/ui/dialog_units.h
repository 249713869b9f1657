// Dialog units to pixels, as Windows maps them from the dialog font: the
// average width of the 52 Latin letters (rounded) and the text height give
// x * width / 4 and y * height / 8, rounded half away from zero.
#pragma once

#include "ui/dialog_template.h"

namespace pelko::ui {

struct DialogBaseUnits {
  int width = 0;   // round(advance of "A..Za..z" / 52)
  int height = 0;  // text height of the font
};

DialogBaseUnits BaseUnitsFromLetters(int advanceOf52Letters, int textHeight);
int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);
Rect DialogUnitsToPixels(const Rect& units, const DialogBaseUnits& base);

}  // namespace pelko::ui

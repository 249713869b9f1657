#include "ui/dialog_units.h"

namespace pelko::ui {
namespace {

// MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
  long long product = static_cast<long long>(a) * b;
  long long half = c / 2;
  long long result = product >= 0 ? (product + half) / c : (product - half) / c;
  return static_cast<int>(result);
}

}  // namespace

DialogBaseUnits BaseUnitsFromLetters(int advanceOf52Letters, int textHeight) {
  return {(advanceOf52Letters + 26) / 52, textHeight};
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
  return MulDiv(units, base.width, 4);
}

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
  return MulDiv(units, base.height, 8);
}

Rect DialogUnitsToPixels(const Rect& units, const DialogBaseUnits& base) {
  return {DialogUnitsToPixelsX(units.x, base), DialogUnitsToPixelsY(units.y, base),
          DialogUnitsToPixelsX(units.width, base), DialogUnitsToPixelsY(units.height, base)};
}

}  // namespace pelko::ui

// Dialog units to pixels from the dialog font, as Windows maps them.
#include "ui/dialog_units.h"

#include <gtest/gtest.h>

namespace pelko::ui {
namespace {

TEST(DialogUnits, BaseWidthIsTheRoundedAverageOfTheFiftyTwoLetters) {
  EXPECT_EQ(BaseUnitsFromLetters(369, 13).width, 7);  // 7.096
  EXPECT_EQ(BaseUnitsFromLetters(338, 13).width, 7);  // 6.5 rounds up
  EXPECT_EQ(BaseUnitsFromLetters(337, 13).width, 6);
}

TEST(DialogUnits, RectanglesScaleByAQuarterWidthAndAnEighthHeight) {
  DialogBaseUnits base{7, 13};
  EXPECT_EQ(DialogUnitsToPixels({0, 0, 260, 146}, base), (Rect{0, 0, 455, 237}));
  EXPECT_EQ(DialogUnitsToPixels({7, 17, 120, 92}, base), (Rect{12, 28, 210, 150}));
  EXPECT_EQ(DialogUnitsToPixels({135, 17, 118, 14}, base), (Rect{236, 28, 207, 23}));
  EXPECT_EQ(DialogUnitsToPixels({149, 125, 50, 14}, base), (Rect{261, 203, 88, 23}));
  EXPECT_EQ(DialogUnitsToPixelsX(-2, base), -4);  // halves round away from zero
}

}  // namespace
}  // namespace pelko::ui

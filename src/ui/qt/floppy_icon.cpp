#include "ui/qt/floppy_icon.h"

#include <QPixmap>

#include "templates/templates.h"

namespace pelko::ui::qt {
namespace {

// k black rim, n navy body, b blue highlight and writing, s silver shutter,
// g grey shade, w white label and head window, r red label band.
#define PELKO_FLOPPY_COLOURS                                                             \
  ". c None", "k c #000000", "n c #000080", "b c #0000FF", "s c #C0C0C0", "g c #808080", \
      "w c #FFFFFF", "r c #FF0000"

const char* const kFloppy32[] = {
    "32 32 8 1",
    PELKO_FLOPPY_COLOURS,
    "................................",
    ".kkkkkkksssssssssssssssgkkk.....",
    ".kbbbbbbsssssssssssssssgbbbk....",
    ".kbnnnnnsswwssssskkkkssgnnnnk...",
    ".kbnnnnnsswwssssskkkkssgnnnnnk..",
    ".kbnnnnnsswwssssskkkkssgnnnnnnk.",
    ".kbnnnnnsswwssssskkkkssgnnnnnnk.",
    ".kbnnnnnsswwssssskkkkssgnnnnnnk.",
    ".kbnnnnnsswwssssskkkkssgnnnnnnk.",
    ".kbnnnnnsswwssssskkkkssgnnnnnnk.",
    ".kbnnnnnsswwssssskkkkssgnnnnnnk.",
    ".kbnnnnnsssssssssssssssgnnnnnnk.",
    ".kbnnnnnggggggggggggggggnnnnnnk.",
    ".kbnnnnnnnnnnnnnnnnnnnnnnnnnnnk.",
    ".kbnnnnnnnnnnnnnnnnnnnnnnnnnnnk.",
    ".kbnnnnnnnnnnnnnnnnnnnnnnnnnnnk.",
    ".kbnnrrrrrrrrrrrrrrrrrrrrrrnnnk.",
    ".kbnnrrrrrrrrrrrrrrrrrrrrrrnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kbnnwwbbbbbbbbbbbbbbbbbbwwnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kbnnwwbbbbbbbbbbbbbbbwwwwwnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kkknwwbbbbbbbbbbbbbbbbbwwwnnnk.",
    ".kkknwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kkknwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kbnnwwwwwwwwwwwwwwwwwwwwwwnnnk.",
    ".kkkkggggggggggggggggggggggkkkk.",
    "................................",
};

const char* const kFloppy16[] = {
    "16 16 8 1",        PELKO_FLOPPY_COLOURS, "kkkksssssssgkk..", "kbbbswsskksgbnk.",
    "kbnnswsskksgnnnk", "kbnnswsskksgnnnk",   "kbnnswsskksgnnnk", "kbnnggggggggnnnk",
    "kbnnnnnnnnnnnnnk", "kbnnnnnnnnnnnnnk",   "kbnrrrrrrrrrrnnk", "kbnwwwwwwwwwwnnk",
    "kbnwbbbbbbbbwnnk", "kbnwwwwwwwwwwnnk",   "kknwbbbbbbwwwnnk", "kknwwwwwwwwwwnnk",
    "kbnwwwwwwwwwwnnk", "kkkggggggggggkkk",
};

#undef PELKO_FLOPPY_COLOURS

}  // namespace

QImage FloppyIconImage(int size) { return QImage(size == 16 ? kFloppy16 : kFloppy32); }

QIcon FloppyIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(FloppyIconImage(32)));
  icon.addPixmap(QPixmap::fromImage(FloppyIconImage(16)));
  return icon;
}

QIcon IconResource(int iconResource) {
  return iconResource == templates::IDI_MAIN ? FloppyIcon() : QIcon();
}

}  // namespace pelko::ui::qt

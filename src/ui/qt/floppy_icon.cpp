#include "ui/qt/floppy_icon.h"

#include <QPixmap>

#include "templates/templates.h"

namespace pelko::ui::qt {
namespace {

// The pixels live in XPM files, so that the desktop icons of an installed
// copy are made from the very same images (scripts/make-icons). Colours:
// k black rim, n navy body, b blue highlight and writing, s silver shutter,
// g grey shade, w white label and head window, r red label band.
#include "ui/qt/floppy_icon_16.xpm"
#include "ui/qt/floppy_icon_32.xpm"

}  // namespace

QImage FloppyIconImage(int size) { return QImage(size == 16 ? floppy_icon_16 : floppy_icon_32); }

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

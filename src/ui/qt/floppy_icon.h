// Icon 128, the window icon: a 3.5-inch floppy disk drawn in the sixteen
// colours of the Windows palette, at 32 x 32 and 16 x 16 pixels.
#pragma once

#include <QIcon>
#include <QImage>

namespace pelko::ui::qt {

// One image of the icon: size 32 or 16 (any other size gets the 32 one).
QImage FloppyIconImage(int size);
QIcon FloppyIcon();

// The icon of a resource number; a null icon for numbers the tool has none for.
QIcon IconResource(int iconResource);

}  // namespace pelko::ui::qt

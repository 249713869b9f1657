// The dialog font: the template's face and size, with the Windows Japanese
// face "ＭＳ Ｐゴシック" drawn by IPAPGothic (same proportional design, and it
// has every glyph the tool shows), and the dialog base units taken from it.
#pragma once

#include <QFont>

#include "ui/dialog_template.h"
#include "ui/dialog_units.h"

namespace pelko::ui::qt {

// The face IPAPGothic answers to: its English and its localized family name
// (fontconfig reports the latter under a Japanese locale).
inline constexpr const char* kSubstituteFamily = "IPAPGothic";
inline constexpr const char* kSubstituteFamilyLocalized = "IPA Pゴシック";

// Maps the Windows Japanese UI faces to IPAPGothic; call once after the
// QApplication exists and before any window is built.
void InstallFontSubstitutions();

QFont DialogFont(const DialogTemplate& dialogTemplate);

// Windows' dialog base units of a font: the average width of the 52 Latin
// letters (rounded) and the text height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

}  // namespace pelko::ui::qt

// Texts of the archive library: the questions extraction asks (UTF-8 source;
// hand them out with cp932::FromUtf8Literal). %s is a name from the archive,
// control characters already escaped.
#pragma once

#include <string_view>

namespace pelko::res {

// The file to be extracted exists (Yes: replace it / No: keep it / Cancel: stop).
inline constexpr std::string_view kLzhOverwriteQuestion = "%s は既に存在します。\n上書きしますか？";
// The folder extraction writes to does not exist (Yes: create it / No or Cancel: stop).
inline constexpr std::string_view kLzhCreateFolderQuestion =
    "フォルダ %s は存在しません。\n作成しますか？";

}  // namespace pelko::res

// Texts of the archive library's add and delete: the warning that names what
// an add left out, with one reason per line (UTF-8 source; hand them out with
// cp932::FromUtf8Literal). %s is a drive-letter path, control characters
// already escaped.
#pragma once

#include <string_view>

namespace pelko::res {

// First line of the warning shown after an add that left something out.
inline constexpr std::string_view kLzhLeftOutHeading =
    "次のファイルやフォルダは書庫に入れられませんでした。";
// One line per item: the path, then the reason.
inline constexpr std::string_view kLzhLeftOutLine = "%s : %s";
// Last line when the list is too long to show whole; %u is how many more.
inline constexpr std::string_view kLzhLeftOutMore = "ほか %u 件";

// Reasons.
inline constexpr std::string_view kLzhReasonSymlink = "シンボリックリンクはたどりません";
inline constexpr std::string_view kLzhReasonSpecialFile = "通常のファイルではありません";
inline constexpr std::string_view kLzhReasonPseudoFileSystem = "システムの仮想フォルダです";
inline constexpr std::string_view kLzhReasonUnreadable = "読み込めません";
// %u names in the folder have no Windows form (no Shift-JIS form, or a
// character Windows forbids).
inline constexpr std::string_view kLzhReasonNoWindowsName =
    "Windows の名前にできない名前が %u 個あります";
inline constexpr std::string_view kLzhReasonTooLarge = "4GB 以上のファイルは入れられません";
inline constexpr std::string_view kLzhReasonChanged = "読み込み中に内容が変わりました";
inline constexpr std::string_view kLzhReasonNameTooLong = "名前が長すぎます";
inline constexpr std::string_view kLzhReasonNotFound = "見つかりません";
inline constexpr std::string_view kLzhReasonFolderLoop = "すでにたどったフォルダです";

}  // namespace pelko::res

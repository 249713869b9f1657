// Texts of the editors beyond their templates (UTF-8 source; hand them out
// with cp932::FromUtf8Literal): refusals of input that would not fit the
// fixed fields of the option files.
#pragma once

#include <string_view>

namespace pelko::res {

// An excluded name longer than its 24-byte field, refused at "追加".
inline constexpr std::string_view kExcludedNameTooLong =
    "除外する名前が長すぎます。\n半角 24 文字（全角 12 文字）以内で指定してください。";

// A destination folder longer than its 499-byte field, refused at OK.
inline constexpr std::string_view kDestinationTooLong =
    "解凍先のフォルダ名が長すぎます。\n半角 499 文字（全角 249 文字）以内で指定してください。";

}  // namespace pelko::res

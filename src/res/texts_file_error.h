// The standard file-error text: which operation failed on which file. The
// system's own text for the error follows it on the next lines.
#pragma once

#include <string_view>

namespace pelko::res {

// %s is the file's path.
inline constexpr std::string_view kFileErrorCreate = "ファイル %s を作成できませんでした。";
inline constexpr std::string_view kFileErrorOpen = "ファイル %s を開けませんでした。";
inline constexpr std::string_view kFileErrorWrite = "ファイル %s に書き込めませんでした。";
inline constexpr std::string_view kFileErrorRead = "ファイル %s を読み込めませんでした。";
inline constexpr std::string_view kFileErrorMove = "ファイル %s を移動できませんでした。";

}  // namespace pelko::res

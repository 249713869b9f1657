// Texts of the main window and the drive A: prompts (UTF-8 source; hand them
// out with cp932::FromUtf8Literal).
#pragma once

#include <string_view>

namespace pelko::res {

inline constexpr std::string_view kMainWindowCaption = "PELKO";
inline constexpr std::string_view kUpdateInfoButton = "情報更新";
inline constexpr std::string_view kCompressButton = "圧縮";
inline constexpr std::string_view kExpandButton = "展開";
inline constexpr std::string_view kAssociateButton = "ファイルとＦＤ\nを関連づける";
inline constexpr std::string_view kVolumeLabelButton = "ボリュームラベル\nの設定";
inline constexpr std::string_view kQuitButton = "終了";
inline constexpr std::string_view kOptionsButton = "オプション";

// The information panel: label, serial, free/total bytes, file system; each
// %d a signed 32-bit number.
inline constexpr std::string_view kDiskInfoFormat =
    "ボリュームラベル： %s\nシリアルナンバー： %d\n空きディスク容量： "
    "%d/%d(ﾊﾞｲﾄ)\nファイルシステム： %s\n";
inline constexpr std::string_view kNoDisk = "ディスクがありません。";

// Asked while drive A: holds no readable disk (Retry/Cancel).
inline constexpr std::string_view kInsertDisk = "ディスクをセットしてください";

// The one line start-up writes when the program folder has no drive-letter form.
inline constexpr std::string_view kProgramFolderUnusable =
    "プログラムフォルダをドライブ文字のパスで表せないため起動できません。";

}  // namespace pelko::res

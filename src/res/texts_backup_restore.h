// Texts of "圧縮" (backup to the floppy) and "展開" (restore from it)
// (UTF-8 source; hand them out with cp932::FromUtf8Literal).
#pragma once

#include <string_view>

namespace pelko::res {

// Both commands: the label has no association list (backup: OK).
inline constexpr std::string_view kSettingsNotFound = "このディスクの設定が見つかりません。";

// Backup: the last question before the floppy's archive is replaced (Yes / No).
inline constexpr std::string_view kConfirmBackup =
    "コンピュータからＦＤにデータを転送します。\nＦＤ内の前回のアーカイブは削除されます。続けますか"
    "？";
// Backup: the archive does not fit; %d is the number of floppies (Yes / No).
inline constexpr std::string_view kSplitOverFloppies =
    "ディスクの空きスペースが足りません。\n空フロッピー %d 枚に分割して保存しますか？";
// Backup: two entries would be stored under one name; the entries follow, one a line (OK).
inline constexpr std::string_view kEntryNamesClash =
    "次の項目は別々のフォルダにありますが、アーカイブの中では同じ名前になるため区別できません。\n"
    "関連づけを見直してください。バックアップは行いませんでした。";
// Backup: a set of floppies holds at most 127 (OK).
inline constexpr std::string_view kArchiveTooLargeForFloppySet =
    "アーカイブが大きすぎるため、フロッピー 127 枚までの分割では保存できません。\n"
    "バックアップは行いませんでした。";

// Restore: an unlabelled floppy (OK).
inline constexpr std::string_view kEmptyVolumeLabel = "ボリュームラベルが空です。";
// Restore: the label has no association list (Yes / No).
inline constexpr std::string_view kOfferExtractAndAssociate =
    "このディスクの設定が見つかりません。\n指定されたフォルダに解凍し、関連づけを行いますか？";
// Restore: neither "a:\archive.lzh" nor a whole set of pieces (OK).
inline constexpr std::string_view kArchiveCopyFailed = "アーカイブのコピーに失敗しました。";
// Restore: no destination folder for what belongs to no association (OK).
inline constexpr std::string_view kNoDestinationFolder = "解凍先フォルダが設定されていません。";

}  // namespace pelko::res

// Texts of the archive library's command report (UTF-8 source; hand them out
// with cp932::FromUtf8Literal). Each %s receives, in order, a name or a
// number; names from an archive have their control characters escaped.
#pragma once

#include <string_view>

namespace pelko::res {

// One line per entry: what happened, then the name.
inline constexpr std::string_view kArchiverExtracted = "展開しました: %s";
inline constexpr std::string_view kArchiverFolderMade = "フォルダを作成しました: %s";
inline constexpr std::string_view kArchiverTested = "正常です: %s";
inline constexpr std::string_view kArchiverAdded = "追加しました: %s";
inline constexpr std::string_view kArchiverReplaced = "置き換えました: %s";
inline constexpr std::string_view kArchiverDeleted = "削除しました: %s";
// A listing line: name, size in bytes, method, last write time.
inline constexpr std::string_view kArchiverListed = "%s  %s バイト  %s  %s";

inline constexpr std::string_view kArchiverSkippedExisting =
    "スキップしました（同じ名前のファイルがあります）: %s";
inline constexpr std::string_view kArchiverSkippedNewer =
    "スキップしました（より新しいファイルがあります）: %s";
inline constexpr std::string_view kArchiverSkippedNoFolder =
    "スキップしました（展開先のフォルダがありません）: %s";
inline constexpr std::string_view kArchiverSkippedNotInArchive =
    "スキップしました（書庫にありません）: %s";
// %s: the reason (one of the left-out reasons below), then the path.
inline constexpr std::string_view kArchiverLeftOut = "除外しました（%s）: %s";
inline constexpr std::string_view kArchiverStoppedHere = "中止しました（キャンセル）: %s";

inline constexpr std::string_view kArchiverUnsafeName = "エラー（安全でない名前です）: %s";
inline constexpr std::string_view kArchiverLink = "エラー（リンクは扱いません）: %s";
inline constexpr std::string_view kArchiverDamaged = "エラー（データが壊れています）: %s";
inline constexpr std::string_view kArchiverUnknownMethod =
    "エラー（対応していない圧縮方法です）: %s";
inline constexpr std::string_view kArchiverWriteFailed = "エラー（書き込めません）: %s";
inline constexpr std::string_view kArchiverNotAFolder =
    "エラー（展開先がフォルダではありません）: %s";
inline constexpr std::string_view kArchiverCannotMakeFolder =
    "エラー（フォルダを作成できません）: %s";
inline constexpr std::string_view kArchiverCannotOpenArchive = "エラー（書庫を開けません）: %s";
inline constexpr std::string_view kArchiverArchiveDamaged =
    "エラー（書庫が壊れているため変更しませんでした）: %s";
inline constexpr std::string_view kArchiverCannotWriteArchive =
    "エラー（書庫を書き込めません）: %s";
// %s: the offset of the header in the archive.
inline constexpr std::string_view kArchiverBrokenHeaderSkipped =
    "壊れたヘッダを飛ばしました（位置 %s）";
inline constexpr std::string_view kArchiverBrokenHeaderStopped =
    "エラー（壊れたヘッダのため読み込みを中止しました、位置 %s）";

// Reasons for something left out of an add.
inline constexpr std::string_view kArchiverReasonLink = "リンク";
inline constexpr std::string_view kArchiverReasonSpecial = "特殊なファイル";
inline constexpr std::string_view kArchiverReasonSystemFolder = "システムのフォルダ";
inline constexpr std::string_view kArchiverReasonUnreadable = "読み込めません";
inline constexpr std::string_view kArchiverReasonNoWindowsName = "Windows で使えない名前 %s 個";
inline constexpr std::string_view kArchiverReasonTooLarge = "4GB 以上";
inline constexpr std::string_view kArchiverReasonChanged = "読み込み中に変更されました";
inline constexpr std::string_view kArchiverReasonNameTooLong = "名前が長すぎます";
inline constexpr std::string_view kArchiverReasonNotFound = "見つかりません";
inline constexpr std::string_view kArchiverReasonFolderLoop = "すでにたどったフォルダ";

// The command line itself could not be used.
inline constexpr std::string_view kArchiverNoCommand = "エラー: コマンドがありません";
inline constexpr std::string_view kArchiverUnknownCommand = "エラー（不明なコマンドです）: %s";
inline constexpr std::string_view kArchiverUnclosedQuote = "エラー（引用符が閉じていません）: %s";
inline constexpr std::string_view kArchiverUnknownSwitch = "エラー（不明なスイッチです）: %s";
inline constexpr std::string_view kArchiverEmptyPattern =
    "エラー（除外するパターンがありません）: %s";
inline constexpr std::string_view kArchiverNoArchive = "エラー: 書庫が指定されていません";
inline constexpr std::string_view kArchiverArchiveNotAbsolute =
    "エラー（書庫はドライブ名から指定してください）: %s";
inline constexpr std::string_view kArchiverArchiveIsFolder =
    "エラー（書庫の名前がフォルダです）: %s";
inline constexpr std::string_view kArchiverRelativeBaseFolder =
    "エラー（基準フォルダはドライブ名から指定してください）: %s";
inline constexpr std::string_view kArchiverNameWithoutBase =
    "エラー（基準フォルダのない名前です）: %s";
inline constexpr std::string_view kArchiverBadName = "エラー（使えない名前です）: %s";

inline constexpr std::string_view kArchiverNothingNamed =
    "対象が指定されていないため、何もしませんでした。";

// The summary line.
inline constexpr std::string_view kArchiverSummaryExtract =
    "展開 %s 件、スキップ %s 件、エラー %s 件";
inline constexpr std::string_view kArchiverSummaryTest = "正常 %s 件、スキップ %s 件、エラー %s 件";
inline constexpr std::string_view kArchiverSummaryAdd = "追加 %s 件、除外 %s 件、エラー %s 件";
inline constexpr std::string_view kArchiverSummaryDelete =
    "削除 %s 件、スキップ %s 件、エラー %s 件";
inline constexpr std::string_view kArchiverSummaryList = "%s 件、スキップ %s 件、エラー %s 件";
inline constexpr std::string_view kArchiverCancelledPrefix = "キャンセルで中止しました。";
inline constexpr std::string_view kArchiverSummaryNotRun = "コマンドを実行しませんでした。";

}  // namespace pelko::res

// Texts of the dialog templates, of the editors and of the dialog framework
// (UTF-8 source; hand them out with cp932::FromUtf8Literal). The spellings
// are the tool's own, "ずけられて" included.
#pragma once

#include <string_view>

namespace pelko::res {

// Shared by the templates.
inline constexpr std::string_view kDialogFont = "ＭＳ Ｐゴシック";
inline constexpr int kDialogFontPoints = 9;
inline constexpr std::string_view kDialogCaption = "ﾀﾞｲｱﾛｸﾞ";
inline constexpr std::string_view kOkButton = "OK";
inline constexpr std::string_view kCancelButton = "ｷｬﾝｾﾙ";

// Association editor (129).
inline constexpr std::string_view kAddFileButton = "ファイルを追加";
inline constexpr std::string_view kAddFolderButton = "フォルダを追加";
inline constexpr std::string_view kDeleteButton = "削除";
inline constexpr std::string_view kAssociationHint =
    "現在のフロッピーディスクに関連づけをするファイルまたはフォルダを指定してください。";

// Volume label dialog (130) and its callers' explanatory texts.
inline constexpr std::string_view kRelabelExplanation =
    "現在のフロッピーディスクに新しいボリュームラベルを設定します。\n"
    "ディスクはボリュームラベルによって識別されます。\n"
    "ここでボリュームラベルを変更すると設定にも変更を反映することが出来ます。";
inline constexpr std::string_view kNoLabelExplanation =
    "このディスクにはボリュームラベルが設定されていません。\n"
    "ディスクの識別はボリュームラベルによって行われます。";
inline constexpr std::string_view kEmptyLabelQuestion =
    "空のボリュームラベルが指定されました。\n"
    "このボリュームラベルに設定されている情報を削除しますか。";

// Folder picker (131).
inline constexpr std::string_view kDriveLabel = "ドライブ：";

// Options dialog (132).
inline constexpr std::string_view kAlwaysOverwrite = "常に上書き";
inline constexpr std::string_view kConfirm = "確認する";
inline constexpr std::string_view kNeverOverwrite = "上書きしない";
inline constexpr std::string_view kOverwriteGroup = "ファイルの上書き";
inline constexpr std::string_view kAlwaysCreate = "常に作成";
inline constexpr std::string_view kNeverCreate = "作成しない";
inline constexpr std::string_view kDirectoryGroup = "ディレクトリの作成";
inline constexpr std::string_view kExtractUnassociated = "関連ずけられていないファイルを解凍する";
inline constexpr std::string_view kExtractTo = "解凍先：";
inline constexpr std::string_view kBrowseButton = "参照";
inline constexpr std::string_view kWhenExpanding = "展開時";
inline constexpr std::string_view kWhenCompressing = "圧縮時";
inline constexpr std::string_view kArchiveFormat = "書庫形式";
inline constexpr std::string_view kArchiveFormatLha213 = "LHA v2.13 互換";
inline constexpr std::string_view kArchiveFormatLharc113 = "LHarc v1.13 互換";
inline constexpr std::string_view kArchiveFormatLhaExe26 = "LHA.EXE Ver 2.6x";
inline constexpr std::string_view kIgnoreBrokenHeaders = "破損ヘッダを無視";
inline constexpr std::string_view kExcludeNames = "以下のファイル名、フォルダ名、拡張子を除外する";
inline constexpr std::string_view kAddButton = "追加";
// Ends in a real backslash.
inline constexpr std::string_view kWildcardHint =
    "一般のワイルドカードを指定できます。\n\n例） FileName.*\n      *.txt\n      FolderName\\";
inline constexpr std::string_view kFilesLabel = "ファイル";
inline constexpr std::string_view kFoldersLabel = "フォルダ";
inline constexpr std::string_view kSearchDepth = "検索深度";
inline constexpr std::string_view kKeepNewer = "より新しいファイルを残す";
inline constexpr std::string_view kSettingsFileNotCreated = "設定ファイルの作成に失敗しました。";

// Output window (134).
inline constexpr std::string_view kOutputCaption = "関連づけられていないファイルの解凍";

// The dialog framework's own messages; %1 and %2 are filled in.
inline constexpr std::string_view kEnterInteger = "整数を入力してください。";
inline constexpr std::string_view kEnterIntegerInRange =
    "%1 から %2 までの整数を入力してください。";
inline constexpr std::string_view kCreateFileQuestion =
    "%1\nこのファイルは存在しません。\nファイルを作成しますか？";
inline constexpr std::string_view kFileNotFound =
    "%1\nファイルが見つかりません。\nファイル名を確かめてください。";
inline constexpr std::string_view kPathNotFound =
    "%1\nパスが見つかりません。\nパスが正しいか確かめてください。";
inline constexpr std::string_view kInvalidFileName = "%1\nファイル名が正しくありません。";

}  // namespace pelko::res

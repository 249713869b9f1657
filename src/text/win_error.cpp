#include "text/win_error.h"

#include <cerrno>
#include <string_view>

#include "text/code_page.h"

namespace pelko::win {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

struct MessageText {
  DWORD code;
  std::string_view text;  // UTF-8 here; handed out in CP932
};

// Worded as Windows 10/11 in Japanese says them (one generation, pinned:
// older versions differ in places). Half-width spaces are part of the text.
constexpr MessageText kMessages[] = {
    {ERROR_SUCCESS, "この操作を正しく終了しました。"},
    {ERROR_INVALID_FUNCTION, "ファンクションが間違っています。"},
    {ERROR_FILE_NOT_FOUND, "指定されたファイルが見つかりません。"},
    {ERROR_PATH_NOT_FOUND, "指定されたパスが見つかりません。"},
    {ERROR_TOO_MANY_OPEN_FILES, "システムはファイルを開くことができません。"},
    {ERROR_ACCESS_DENIED, "アクセスが拒否されました。"},
    {ERROR_INVALID_HANDLE, "ハンドルが無効です。"},
    {ERROR_NOT_ENOUGH_MEMORY, "このコマンドを実行するのに十分なメモリ リソースがありません。"},
    {ERROR_INVALID_DATA, "データが無効です。"},
    {ERROR_INVALID_DRIVE, "指定されたドライブが見つかりません。"},
    {ERROR_NOT_SAME_DEVICE, "ファイルを別のディスク ドライブに移動できません。"},
    {ERROR_NO_MORE_FILES, "これ以上ファイルがありません。"},
    {ERROR_WRITE_PROTECT, "このメディアは書き込み禁止になっています。"},
    {ERROR_NOT_READY, "デバイスの準備ができていません。"},
    {ERROR_CRC, "データ エラー (巡回冗長検査 (CRC) エラー) です。"},
    {ERROR_SEEK, "ドライブは、ディスク上の指定された領域またはトラックを見つけられません。"},
    {ERROR_WRITE_FAULT, "システムは指定されたデバイスに書き込めません。"},
    {ERROR_READ_FAULT, "システムは指定されたデバイスから読み取ることができません。"},
    {ERROR_GEN_FAILURE, "システムに接続されたデバイスが機能していません。"},
    {ERROR_SHARING_VIOLATION, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。"},
    {ERROR_HANDLE_EOF, "ファイルの終わりに到達しました。"},
    {ERROR_HANDLE_DISK_FULL, "ディスクがいっぱいです。"},
    {ERROR_NOT_SUPPORTED, "その要求はサポートされていません。"},
    {ERROR_FILE_EXISTS, "ファイルが存在します。"},
    {ERROR_CANNOT_MAKE, "ディレクトリまたはファイルを作成できません。"},
    {ERROR_INVALID_PARAMETER, "パラメーターが間違っています。"},
    {ERROR_DISK_FULL, "ディスクに十分な空き領域がありません。"},
    {ERROR_INVALID_NAME,
     "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。"},
    {ERROR_DIR_NOT_EMPTY, "ディレクトリが空ではありません。"},
    {ERROR_LABEL_TOO_LONG,
     "入力したボリューム ラベルは、対象のファイル システムのラベルの文字数制限を超えています。"},
    {ERROR_BAD_PATHNAME, "指定されたパスは無効です。"},
    {ERROR_ALREADY_EXISTS, "既に存在するファイルを作成することはできません。"},
    {ERROR_FILENAME_EXCED_RANGE, "ファイル名または拡張子が長すぎます。"},
    {ERROR_DIRECTORY, "ディレクトリ名が無効です。"},
    {ERROR_CANCELLED, "この操作はユーザーによって取り消されました。"},
    {ERROR_FILE_CORRUPT, "ファイルまたはディレクトリが壊れているため、読み取ることができません。"},
    {ERROR_CANT_RESOLVE_FILENAME, "ファイルの名前をシステムで解決できませんでした。"},
};

}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }

// The one place where host errors get their Windows meaning. ENOENT is
// ERROR_FILE_NOT_FOUND here; a call site that knows a parent folder is
// missing reports ERROR_PATH_NOT_FOUND itself, as EEXIST's 80 (create-new)
// versus 183 (rename, make folder) is the call site's choice too.
DWORD ErrnoToWin32(int errnoValue) {
  switch (errnoValue) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERROR_DISK_FULL;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP:
      return ERROR_CANT_RESOLVE_FILENAME;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return ERROR_NOT_READY;
    case ENOTSUP:
      return ERROR_NOT_SUPPORTED;
    case EUCLEAN:
      return ERROR_FILE_CORRUPT;
    case ECANCELED:
      return ERROR_CANCELLED;
    case EIO:
    default:
      return ERROR_GEN_FAILURE;
  }
}

bool FailFromErrno(int errnoValue) { return Fail(ErrnoToWin32(errnoValue)); }

bool Fail(DWORD code) {
  SetLastError(code);
  return false;
}

std::string SystemErrorText(DWORD code) {
  for (const MessageText& message : kMessages) {
    if (message.code == code) {
      return cp932::FromUtf8Literal(message.text) + "\r\n";
    }
  }
  return cp932::FromUtf8Literal("エラー コード ") + std::to_string(code) +
         cp932::FromUtf8Literal(" のメッセージが見つかりません。") + "\r\n";
}

}  // namespace pelko::win

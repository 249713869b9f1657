#include "text/win_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "text/code_page.h"

namespace pelko::win {
namespace {

// The texts as a Japanese Windows returns them from FormatMessageA: CP932,
// ending in CR LF. Bytes written out so that no converter of ours is trusted.
TEST(SystemErrorText, FileNotFoundIsExactWindowsText) {
  EXPECT_EQ(SystemErrorText(2),
            "\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C"
            "\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, PathNotFoundIsExactWindowsText) {
  EXPECT_EQ(SystemErrorText(3),
            "\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xBD\x83\x70\x83\x58\x82\xAA\x8C\xA9\x82\xC2\x82"
            "\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, NotReadyIsExactWindowsText) {
  EXPECT_EQ(SystemErrorText(21),
            "\x83\x66\x83\x6F\x83\x43\x83\x58\x82\xCC\x8F\x80\x94\xF5\x82\xAA\x82\xC5\x82\xAB\x82"
            "\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, DiskFullIsExactWindowsText) {
  EXPECT_EQ(SystemErrorText(112),
            "\x83\x66\x83\x42\x83\x58\x83\x4E\x82\xC9\x8F\x5C\x95\xAA\x82\xC8\x8B\xF3\x82\xAB\x97"
            "\xCC\x88\xE6\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, InvalidNameIsExactWindowsTextWithHalfWidthSpace) {
  EXPECT_EQ(SystemErrorText(123),
            "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x81\x41\x83\x66\x83\x42\x83\x8C\x83\x4E\x83"
            "\x67\x83\x8A\x96\xBC\x81\x41\x82\xDC\x82\xBD\x82\xCD\x83\x7B\x83\x8A\x83\x85\x81\x5B"
            "\x83\x80\x20\x83\x89\x83\x78\x83\x8B\x82\xCC\x8D\x5C\x95\xB6\x82\xAA\x8A\xD4\x88\xE1"
            "\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, LabelTooLongIsExactWindowsText) {
  EXPECT_EQ(SystemErrorText(154),
            "\x93\xFC\x97\xCD\x82\xB5\x82\xBD\x83\x7B\x83\x8A\x83\x85\x81\x5B\x83\x80\x20\x83\x89"
            "\x83\x78\x83\x8B\x82\xCD\x81\x41\x91\xCE\x8F\xDB\x82\xCC\x83\x74\x83\x40\x83\x43\x83"
            "\x8B\x20\x83\x56\x83\x58\x83\x65\x83\x80\x82\xCC\x83\x89\x83\x78\x83\x8B\x82\xCC\x95"
            "\xB6\x8E\x9A\x90\x94\x90\xA7\x8C\xC0\x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC"
            "\x82\xB7\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, AlreadyExistsIsExactWindowsText) {
  EXPECT_EQ(SystemErrorText(183),
            "\x8A\xF9\x82\xC9\x91\xB6\x8D\xDD\x82\xB7\x82\xE9\x83\x74\x83\x40\x83\x43\x83\x8B\x82"
            "\xF0\x8D\xEC\x90\xAC\x82\xB7\x82\xE9\x82\xB1\x82\xC6\x82\xCD\x82\xC5\x82\xAB\x82\xDC"
            "\x82\xB9\x82\xF1\x81\x42\x0D\x0A");
}

TEST(SystemErrorText, OtherCodesUsedAreWordedAsWindows) {
  EXPECT_EQ(cp932::ToUtf8(SystemErrorText(5)), std::string("アクセスが拒否されました。\r\n"));
  EXPECT_EQ(cp932::ToUtf8(SystemErrorText(19)),
            std::string("このメディアは書き込み禁止になっています。\r\n"));
  EXPECT_EQ(cp932::ToUtf8(SystemErrorText(80)), std::string("ファイルが存在します。\r\n"));
  EXPECT_EQ(cp932::ToUtf8(SystemErrorText(32)),
            std::string("プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n"));
}

TEST(SystemErrorText, EveryCodeTheLayerSetsHasItsOwnText) {
  const DWORD codes[] = {ERROR_SUCCESS,
                         ERROR_INVALID_FUNCTION,
                         ERROR_FILE_NOT_FOUND,
                         ERROR_PATH_NOT_FOUND,
                         ERROR_TOO_MANY_OPEN_FILES,
                         ERROR_ACCESS_DENIED,
                         ERROR_INVALID_HANDLE,
                         ERROR_NOT_ENOUGH_MEMORY,
                         ERROR_INVALID_DATA,
                         ERROR_INVALID_DRIVE,
                         ERROR_NOT_SAME_DEVICE,
                         ERROR_NO_MORE_FILES,
                         ERROR_WRITE_PROTECT,
                         ERROR_NOT_READY,
                         ERROR_CRC,
                         ERROR_SEEK,
                         ERROR_WRITE_FAULT,
                         ERROR_READ_FAULT,
                         ERROR_GEN_FAILURE,
                         ERROR_SHARING_VIOLATION,
                         ERROR_HANDLE_EOF,
                         ERROR_HANDLE_DISK_FULL,
                         ERROR_NOT_SUPPORTED,
                         ERROR_FILE_EXISTS,
                         ERROR_CANNOT_MAKE,
                         ERROR_INVALID_PARAMETER,
                         ERROR_DISK_FULL,
                         ERROR_INVALID_NAME,
                         ERROR_DIR_NOT_EMPTY,
                         ERROR_LABEL_TOO_LONG,
                         ERROR_BAD_PATHNAME,
                         ERROR_ALREADY_EXISTS,
                         ERROR_FILENAME_EXCED_RANGE,
                         ERROR_DIRECTORY,
                         ERROR_CANT_RESOLVE_FILENAME,
                         ERROR_FILE_CORRUPT,
                         ERROR_CANCELLED};
  for (DWORD code : codes) {
    std::string text = SystemErrorText(code);
    auto utf8 = cp932::ToUtf8(text);
    ASSERT_TRUE(utf8) << code;
    EXPECT_EQ(utf8->find(std::to_string(code)), std::string::npos) << "fallback for " << code;
    EXPECT_GE(text.size(), 4u) << code;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << code;
  }
}

TEST(SystemErrorText, UnknownCodeGetsATextNamingItsNumber) {
  EXPECT_EQ(cp932::ToUtf8(SystemErrorText(1234)),
            std::string("エラー コード 1234 のメッセージが見つかりません。\r\n"));
  EXPECT_NE(SystemErrorText(4294967295u).find("4294967295"), std::string::npos);
}

TEST(ErrnoMapping, HostErrorsGetTheirWindowsCodes) {
  EXPECT_EQ(ErrnoToWin32(ENOENT), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ErrnoToWin32(ENOTDIR), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ErrnoToWin32(EACCES), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ErrnoToWin32(EPERM), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ErrnoToWin32(EISDIR), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ErrnoToWin32(EROFS), ERROR_WRITE_PROTECT);
  EXPECT_EQ(ErrnoToWin32(ENOSPC), ERROR_DISK_FULL);
  EXPECT_EQ(ErrnoToWin32(EEXIST), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ErrnoToWin32(ENAMETOOLONG), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(ErrnoToWin32(ELOOP), ERROR_CANT_RESOLVE_FILENAME);
  EXPECT_EQ(ErrnoToWin32(EBUSY), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(ErrnoToWin32(ENOTEMPTY), ERROR_DIR_NOT_EMPTY);
  EXPECT_EQ(ErrnoToWin32(EMFILE), ERROR_TOO_MANY_OPEN_FILES);
  EXPECT_EQ(ErrnoToWin32(ENOMEM), ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(ErrnoToWin32(EIO), ERROR_GEN_FAILURE);
  EXPECT_EQ(ErrnoToWin32(EPROTO), ERROR_GEN_FAILURE);
}

TEST(LastError, FailHelpersSetTheCodeAndReturnFalse) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(FailFromErrno(ENOSPC));
  EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  EXPECT_FALSE(Fail(ERROR_LABEL_TOO_LONG));
  EXPECT_EQ(GetLastError(), ERROR_LABEL_TOO_LONG);
}

TEST(LastError, EachThreadHasItsOwn) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  DWORD seenInThread = 99;
  std::thread other([&] {
    seenInThread = GetLastError();
    SetLastError(ERROR_ACCESS_DENIED);
  });
  other.join();
  EXPECT_EQ(seenInThread, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace pelko::win

#include "platform/file_services.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "support/scoped_env.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using test::HostPathExists;
using test::ReadHostFile;
using test::ScopedEnv;
using test::TempFolder;
using test::TestProgramFolder;
using test::WriteHostFile;

std::int64_t HostModificationTime(const std::string& hostPath) {
  struct stat st {};
  EXPECT_EQ(::stat(hostPath.c_str(), &st), 0) << hostPath;
  return st.st_mtim.tv_sec;
}

void SetHostModificationTime(const std::string& hostPath, std::int64_t time) {
  struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(time), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, hostPath.c_str(), times, 0), 0);
}

// Lowers the largest file this process may write, so that a write fails the
// way a full disk makes it fail.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    struct rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  struct rlimit saved_ {};
};

// Drive C: is the test's program folder's parent; drive D: a second folder.
class FileServices : public ::testing::Test {
 protected:
  FileServices() : d_("PELKO_DRIVE_D", other_.Path()) {}
  std::string C(std::string_view name) const {
    return home_.CDriveHostPath() + "/" + std::string(name);
  }
  std::string D(std::string_view name) const { return other_.Sub(name); }

  TestProgramFolder home_;
  TempFolder other_;
  ScopedEnv d_;
};

TEST_F(FileServices, CopyKeepsBytesAndLastWriteTime) {
  WriteHostFile(C("src.bin"), std::string("a\0b\xFF", 4));
  SetHostModificationTime(C("src.bin"), 946684800);
  ASSERT_TRUE(CopyFile("C:\\src.bin", "C:\\copy.bin", true));
  EXPECT_EQ(ReadHostFile(C("copy.bin")), std::string("a\0b\xFF", 4));
  EXPECT_EQ(HostModificationTime(C("copy.bin")), 946684800);
  EXPECT_TRUE(HostPathExists(C("src.bin")));
}

TEST_F(FileServices, CopyWithFailIfExistsLeavesTargetAloneWithError80) {
  WriteHostFile(C("src"), "new");
  WriteHostFile(C("dst"), "old");
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CopyFile("C:\\src", "C:\\dst", true));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadHostFile(C("dst")), "old");
}

TEST_F(FileServices, CopyReplacesWhenAllowed) {
  WriteHostFile(C("src"), "new");
  WriteHostFile(C("dst"), "old and longer");
  ASSERT_TRUE(CopyFile("C:\\src", "C:\\dst", false));
  EXPECT_EQ(ReadHostFile(C("dst")), "new");
}

TEST_F(FileServices, CopyAcrossDrives) {
  WriteHostFile(C("src"), "payload");
  ASSERT_TRUE(CopyFile("C:\\src", "d:\\dst", true));
  EXPECT_EQ(ReadHostFile(D("dst")), "payload");
}

TEST_F(FileServices, CopyOfMissingSourceIs2AndOfMissingFolderIs3) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(CopyFile("C:\\nothing", "C:\\dst", false));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(CopyFile("C:\\no-folder\\nothing", "C:\\dst", false));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(HostPathExists(C("dst")));
}

TEST_F(FileServices, CopyIntoMissingFolderIs3) {
  WriteHostFile(C("src"), "x");
  EXPECT_FALSE(CopyFile("C:\\src", "C:\\no-folder\\dst", false));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileServices, CopyOntoItselfFailsAndKeepsTheFile) {
  WriteHostFile(C("same"), "precious");
  EXPECT_FALSE(CopyFile("C:\\same", "C:\\.\\same", false));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(ReadHostFile(C("same")), "precious");
}

TEST_F(FileServices, CopyOntoAHardLinkOfItselfKeepsTheFile) {
  WriteHostFile(C("same"), "precious");
  ASSERT_EQ(::link(C("same").c_str(), C("alias").c_str()), 0);
  EXPECT_FALSE(CopyFile("C:\\same", "C:\\alias", false));
  EXPECT_EQ(ReadHostFile(C("same")), "precious");
}

TEST_F(FileServices, CopyOfAFolderIsAccessDenied) {
  std::filesystem::create_directory(C("folder"));
  EXPECT_FALSE(CopyFile("C:\\folder", "C:\\dst", false));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileServices, FailedCopyLeavesNoHalfWrittenTarget) {
  WriteHostFile(C("big"), std::string(20000, 'x'));
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(CopyFile("C:\\big", "D:\\big", false));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  }
  EXPECT_FALSE(HostPathExists(D("big")));
}

TEST_F(FileServices, MoveRenamesWithinADrive) {
  WriteHostFile(C("a"), "content");
  std::filesystem::create_directory(C("sub"));
  ASSERT_TRUE(MoveFile("C:\\a", "C:\\sub\\b"));
  EXPECT_FALSE(HostPathExists(C("a")));
  EXPECT_EQ(ReadHostFile(C("sub/b")), "content");
}

TEST_F(FileServices, MoveNeverReplacesAnExistingTarget) {
  WriteHostFile(C("a"), "source");
  WriteHostFile(C("b"), "target");
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(MoveFile("C:\\a", "C:\\b"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadHostFile(C("a")), "source");
  EXPECT_EQ(ReadHostFile(C("b")), "target");
}

TEST_F(FileServices, MoveNeverReplacesAcrossDrivesEither) {
  WriteHostFile(C("a"), "source");
  WriteHostFile(D("b"), "target");
  EXPECT_FALSE(MoveFile("C:\\a", "D:\\b"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadHostFile(C("a")), "source");
  EXPECT_EQ(ReadHostFile(D("b")), "target");
}

TEST_F(FileServices, MoveOfMissingSourceIs2) {
  EXPECT_FALSE(MoveFile("C:\\nothing", "C:\\b"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(MoveFile("C:\\nothing", "D:\\b"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileServices, MoveAcrossDrivesCopiesThenDeletesTheSource) {
  WriteHostFile(C("archive.lzh"), "archive bytes");
  SetHostModificationTime(C("archive.lzh"), 1000000000);
  ASSERT_TRUE(MoveFile("C:\\archive.lzh", "D:\\archive.lzh"));
  EXPECT_FALSE(HostPathExists(C("archive.lzh")));
  EXPECT_EQ(ReadHostFile(D("archive.lzh")), "archive bytes");
  EXPECT_EQ(HostModificationTime(D("archive.lzh")), 1000000000);
}

TEST_F(FileServices, MoveAcrossDrivesIntoMissingFolderKeepsTheSource) {
  WriteHostFile(C("archive.lzh"), "archive bytes");
  EXPECT_FALSE(MoveFile("C:\\archive.lzh", "D:\\missing\\archive.lzh"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ReadHostFile(C("archive.lzh")), "archive bytes");
}

TEST_F(FileServices, MoveAcrossDrivesThatRunsOutOfSpaceKeepsTheSourceAndRemovesThePiece) {
  WriteHostFile(C("archive.lzh"), std::string(50000, 'z'));
  {
    FileSizeLimit limit(8192);
    EXPECT_FALSE(MoveFile("C:\\archive.lzh", "D:\\archive.lzh"));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  }
  EXPECT_EQ(ReadHostFile(C("archive.lzh")), std::string(50000, 'z'));
  EXPECT_FALSE(HostPathExists(D("archive.lzh")));
}

// One host drive may hold several file systems (C: is the whole host):
// a move between them is a copy, then a delete.
TEST_F(FileServices, MoveWithinOneDriveAcrossFileSystemsCopies) {
  ScopedEnv root("PELKO_DRIVE_E", "/");
  ScopedEnv shm("TMPDIR", "/dev/shm");
  TempFolder memory;  // tmpfs, another file system than the test's other folders
  WriteHostFile(C("archive.lzh"), "archive bytes");
  auto onDriveE = [](std::string hostPath) {  // the ASCII host path, seen from E:
    std::replace(hostPath.begin(), hostPath.end(), '/', '\\');
    return "E:" + hostPath;
  };
  std::string source = onDriveE(C("archive.lzh"));
  std::string target = onDriveE(memory.Sub("archive.lzh"));
  ASSERT_TRUE(MoveFile(source, target)) << GetLastError();
  EXPECT_FALSE(HostPathExists(C("archive.lzh")));
  EXPECT_EQ(ReadHostFile(memory.Sub("archive.lzh")), "archive bytes");
}

TEST_F(FileServices, FoldersMoveWithinADriveButNotAcross) {
  std::filesystem::create_directory(C("folder"));
  ASSERT_TRUE(MoveFile("C:\\folder", "C:\\renamed"));
  EXPECT_TRUE(std::filesystem::is_directory(C("renamed")));
  EXPECT_FALSE(MoveFile("C:\\renamed", "D:\\renamed"));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
  EXPECT_TRUE(std::filesystem::is_directory(C("renamed")));
}

TEST_F(FileServices, DeleteRemovesAFile) {
  WriteHostFile(C("表.txt"), "x");
  ASSERT_TRUE(DeleteFile(cp932::FromUtf8Literal("C:\\表.txt")));
  EXPECT_FALSE(HostPathExists(C("表.txt")));
}

TEST_F(FileServices, DeleteErrorCodes) {
  std::filesystem::create_directory(C("folder"));
  EXPECT_FALSE(DeleteFile("C:\\nothing"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(DeleteFile("C:\\no-folder\\nothing"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(DeleteFile("C:\\folder"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(std::filesystem::is_directory(C("folder")));
  EXPECT_FALSE(DeleteFile("E:\\x"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileServices, DeleteOfALinkRemovesTheLinkOnly) {
  WriteHostFile(C("real"), "keep me");
  std::filesystem::create_symlink(C("real"), C("link"));
  ASSERT_TRUE(DeleteFile("C:\\link"));
  EXPECT_FALSE(HostPathExists(C("link")));
  EXPECT_EQ(ReadHostFile(C("real")), "keep me");
}

TEST_F(FileServices, EmptyFloppyDriveIsNotReady) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(DeleteFile("A:\\archive.lzh"));
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  WriteHostFile(C("x"), "x");
  EXPECT_FALSE(CopyFile("C:\\x", "a:\\x", false));
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  EXPECT_TRUE(HostPathExists(C("x")));
}

TEST_F(FileServices, ProbeOfMissingFileIsAllOnes) {
  EXPECT_EQ(ProbeFileSize("C:\\nothing"), 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ProbeFileSize("A:\\archive.lzh"), 0xFFFFFFFFu);
  std::filesystem::create_directory(C("folder"));
  EXPECT_EQ(ProbeFileSize("C:\\folder"), 0xFFFFFFFFu);
}

TEST_F(FileServices, ProbeReportsTheSize) {
  WriteHostFile(C("ten"), "0123456789");
  EXPECT_EQ(ProbeFileSize("C:\\ten"), 10u);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  WriteHostFile(C("empty"), "");
  EXPECT_EQ(ProbeFileSize("C:\\empty"), 0u);
}

TEST_F(FileServices, ProbeOfFileOfFourGigabytesAndTenBytesReportsTen) {
  {
    std::string sparse = C("huge");
    WriteHostFile(sparse, "");
    std::filesystem::resize_file(sparse, (std::uint64_t{1} << 32) + 10);  // sparse: no disk used
  }
  EXPECT_EQ(ProbeFileSize("C:\\huge"), 10u);
  FileInformation info;
  ASSERT_TRUE(GetFileInformation("C:\\huge", info));
  EXPECT_EQ(info.size, (std::uint64_t{1} << 32) + 10);
}

TEST_F(FileServices, ProbeOfUnreadableFileStillReportsTheSize) {
  WriteHostFile(C("secret"), "12345");
  ::chmod(C("secret").c_str(), 0);
  EXPECT_EQ(ProbeFileSize("C:\\secret"), 5u);
}

TEST_F(FileServices, FoldersAreCreatedAndRemoved) {
  ASSERT_TRUE(CreateDirectory("C:\\new"));
  EXPECT_TRUE(std::filesystem::is_directory(C("new")));
  EXPECT_FALSE(CreateDirectory("C:\\new"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectory("C:\\missing\\new"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  WriteHostFile(C("new/file"), "x");
  EXPECT_FALSE(RemoveDirectory("C:\\new"));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(RemoveDirectory("C:\\new\\file"));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  ASSERT_TRUE(DeleteFile("C:\\new\\file"));
  ASSERT_TRUE(RemoveDirectory("C:\\new"));
  EXPECT_FALSE(HostPathExists(C("new")));
  EXPECT_FALSE(RemoveDirectory("C:\\new"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileServices, InformationDescribesTheNameItself) {
  WriteHostFile(C("file"), "12345");
  SetHostModificationTime(C("file"), 1234567890);
  std::filesystem::create_directory(C("folder"));
  std::filesystem::create_symlink(C("folder"), C("link"));
  FileInformation info;
  ASSERT_TRUE(GetFileInformation("C:\\file", info));
  EXPECT_EQ(info.kind, EntryKind::File);
  EXPECT_EQ(info.size, 5u);
  EXPECT_EQ(info.lastWriteTime, 1234567890);
  EXPECT_FALSE(info.attributes & FILE_ATTRIBUTE_DIRECTORY);
  ASSERT_TRUE(GetFileInformation("C:\\folder", info));
  EXPECT_EQ(info.kind, EntryKind::Directory);
  EXPECT_TRUE(info.attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(info.isPseudoFileSystem);
  ASSERT_TRUE(GetFileInformation("C:\\link", info));
  EXPECT_TRUE(info.isSymlink);
  EXPECT_NE(info.kind, EntryKind::Directory);
  EXPECT_FALSE(GetFileInformation("C:\\nothing", info));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileServices, ReadOnlyFileCarriesTheReadOnlyAttribute) {
  WriteHostFile(C("ro"), "x");
  ::chmod(C("ro").c_str(), 0444);
  FileInformation info;
  ASSERT_TRUE(GetFileInformation("C:\\ro", info));
  EXPECT_TRUE(info.attributes & FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileServices, LastWriteTimeIsSet) {
  WriteHostFile(C("file"), "x");
  ASSERT_TRUE(SetFileLastWriteTime("C:\\file", 700000000));
  EXPECT_EQ(HostModificationTime(C("file")), 700000000);
  EXPECT_FALSE(SetFileLastWriteTime("C:\\nothing", 700000000));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileServices, KernelFoldersAreMarkedAsPseudoFileSystems) {
  ScopedEnv root("PELKO_DRIVE_E", "/");
  FileInformation info;
  ASSERT_TRUE(GetFileInformation("E:\\proc", info));
  EXPECT_TRUE(info.isPseudoFileSystem);
  ASSERT_TRUE(GetFileInformation("E:\\proc\\self\\fd", info));
  EXPECT_TRUE(info.isPseudoFileSystem);
  ASSERT_TRUE(GetFileInformation("E:\\usr", info));
  EXPECT_FALSE(info.isPseudoFileSystem);
}

TEST_F(FileServices, DrivesListedAreAC_AndTheMappedOnes) {
  EXPECT_EQ(ListDrives(), (std::vector<char>{'A', 'C', 'D'}));
  ScopedEnv z("PELKO_DRIVE_Z", other_.Path());
  EXPECT_EQ(ListDrives(), (std::vector<char>{'A', 'C', 'D', 'Z'}));
}

}  // namespace
}  // namespace pelko::win

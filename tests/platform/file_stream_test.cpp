#include "platform/file_stream.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "support/test_program_folder.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using test::ReadHostFile;
using test::TestProgramFolder;
using test::WriteHostFile;

std::span<const std::byte> Bytes(std::string_view text) {
  return std::as_bytes(std::span(text.data(), text.size()));
}

class FileStreams : public ::testing::Test {
 protected:
  std::string C(std::string_view name) const {
    return home_.CDriveHostPath() + "/" + std::string(name);
  }
  TestProgramFolder home_;
};

TEST_F(FileStreams, WholeFileRoundTripKeepsEveryByte) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7);
  ASSERT_TRUE(WriteWholeFile("C:\\PELKO\\blob", bytes));
  std::string back;
  ASSERT_TRUE(ReadWholeFile("c:\\pelko\\..\\PELKO\\blob", back));
  EXPECT_EQ(back, bytes);
}

TEST_F(FileStreams, CreateAlwaysTruncates) {
  WriteHostFile(C("f"), "a long old content");
  auto stream = OpenFile("C:\\f", OpenMode::CreateAlways);
  ASSERT_TRUE(stream);
  ASSERT_TRUE(stream->Write(Bytes("new")));
  ASSERT_TRUE(stream->Close());
  EXPECT_EQ(ReadHostFile(C("f")), "new");
}

TEST_F(FileStreams, CreateNewRefusesAnExistingFileWith80) {
  WriteHostFile(C("f"), "old");
  EXPECT_EQ(OpenFile("C:\\f", OpenMode::CreateNew), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadHostFile(C("f")), "old");
}

TEST_F(FileStreams, ReadWriteKeepsTheContentAndSeeks) {
  WriteHostFile(C("f"), "0123456789");
  auto stream = OpenFile("C:\\f", OpenMode::ReadWrite);
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->Size(), 10u);
  ASSERT_TRUE(stream->Seek(4));
  ASSERT_TRUE(stream->Write(Bytes("ab")));
  ASSERT_TRUE(stream->Seek(0));
  std::byte buffer[16];
  std::size_t got = 0;
  ASSERT_TRUE(stream->Read(buffer, got));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer), got), "0123ab6789");
  ASSERT_TRUE(stream->Read(buffer, got));
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(stream->Close());
}

TEST_F(FileStreams, ReadOnlyStreamRefusesWrites) {
  WriteHostFile(C("f"), "keep");
  auto stream = OpenFile("C:\\f", OpenMode::Read);
  ASSERT_TRUE(stream);
  EXPECT_FALSE(stream->Write(Bytes("x")));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  stream->Close();
  EXPECT_EQ(ReadHostFile(C("f")), "keep");
}

TEST_F(FileStreams, MissingFileAndFolderAreTold) {
  EXPECT_EQ(OpenFile("C:\\nothing", OpenMode::Read), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenFile("C:\\nothing\\x", OpenMode::CreateAlways), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileStreams, FoldersAndFifosAreNotFilesAndDoNotBlock) {
  std::filesystem::create_directory(C("folder"));
  ASSERT_EQ(::mkfifo(C("fifo").c_str(), 0600), 0);
  for (OpenMode mode : {OpenMode::Read, OpenMode::ReadWrite, OpenMode::CreateAlways}) {
    EXPECT_EQ(OpenFile("C:\\folder", mode), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenFile("C:\\fifo", mode), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_EQ(OpenFile("C:\\", OpenMode::Read), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileStreams, FullDiskIsReportedByWrite) {
  std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit lowered = saved;
  lowered.rlim_cur = 1000;
  auto stream = OpenFile("C:\\f", OpenMode::CreateAlways);
  ASSERT_TRUE(stream);
  ::setrlimit(RLIMIT_FSIZE, &lowered);
  bool wrote = stream->Write(Bytes(std::string(5000, 'x')));
  DWORD error = GetLastError();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(error, ERROR_DISK_FULL);
}

TEST_F(FileStreams, SecondCloseIsAnError) {
  auto stream = OpenFile("C:\\f", OpenMode::CreateNew);
  ASSERT_TRUE(stream);
  EXPECT_TRUE(stream->Close());
  EXPECT_FALSE(stream->Close());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace pelko::win

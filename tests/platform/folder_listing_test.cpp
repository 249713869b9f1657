#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_services.h"
#include "support/scoped_env.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using test::ScopedEnv;
using test::TestProgramFolder;
using test::WriteHostFile;

std::string Cp(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

const FindData* Find(const std::vector<FindData>& entries, const std::string& name) {
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const FindData& entry) { return entry.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

class FolderListing : public ::testing::Test {
 protected:
  std::string C(std::string_view name) const {
    return home_.CDriveHostPath() + "/" + std::string(name);
  }
  TestProgramFolder home_;
};

TEST_F(FolderListing, NamesAreCp932AndKindsAreKept) {
  std::filesystem::create_directory(C("data"));
  WriteHostFile(C("data/表.txt"), "123");
  WriteHostFile(C("data/plain.txt"), "");
  std::filesystem::create_directory(C("data/ﾌｫﾙﾀﾞ"));
  std::vector<FindData> entries;
  std::size_t leftOut = 99;
  ASSERT_TRUE(ListFolder("C:\\data", entries, leftOut));
  EXPECT_EQ(entries.size(), 3u);
  EXPECT_EQ(leftOut, 0u);
  const FindData* table = Find(entries, Cp("表.txt"));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->info.kind, EntryKind::File);
  EXPECT_EQ(table->info.size, 3u);
  const FindData* folder = Find(entries, Cp("ﾌｫﾙﾀﾞ"));
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->info.kind, EntryKind::Directory);
}

TEST_F(FolderListing, NamesWithoutWindowsFormAreLeftOutAndCounted) {
  std::filesystem::create_directory(C("mixed"));
  for (const char* name : {"ok.txt", "表.txt", "café.txt", "photo-😀.jpg", "a:b", "what?", "pipe|x",
                           "back\\slash", "yen¥", "wave〜"}) {
    WriteHostFile(C(std::string("mixed/") + name), "x");
  }
  std::filesystem::create_directory(C("mixed/folder*"));
  std::vector<FindData> entries;
  std::size_t leftOut = 0;
  ASSERT_TRUE(ListFolder("C:\\mixed\\", entries, leftOut));
  std::vector<std::string> names;
  for (const FindData& entry : entries) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ok.txt", Cp("表.txt")}));
  EXPECT_EQ(leftOut, 9u);
}

TEST_F(FolderListing, LinksAreReportedNotFollowed) {
  std::filesystem::create_directory(C("links"));
  std::filesystem::create_directory(C("target"));
  std::filesystem::create_directory_symlink(C("target"), C("links/to-folder"));
  std::filesystem::create_symlink(C("links/to-folder"), C("links/loop"));
  std::filesystem::create_symlink("loop2", C("links/loop2"));
  std::vector<FindData> entries;
  std::size_t leftOut = 0;
  ASSERT_TRUE(ListFolder("C:\\links", entries, leftOut));
  ASSERT_EQ(entries.size(), 3u);
  for (const FindData& entry : entries) {
    EXPECT_TRUE(entry.info.isSymlink) << entry.name;
    EXPECT_NE(entry.info.kind, EntryKind::Directory) << entry.name;
  }
}

TEST_F(FolderListing, MissingFolderIs3AndAFileIs267) {
  WriteHostFile(C("file"), "x");
  std::vector<FindData> entries;
  std::size_t leftOut = 0;
  EXPECT_FALSE(ListFolder("C:\\missing", entries, leftOut));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(ListFolder("C:\\file", entries, leftOut));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(ListFolder("Q:\\", entries, leftOut));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FolderListing, EmptyFolderListsNothing) {
  std::filesystem::create_directory(C("empty"));
  std::vector<FindData> entries{FindData{}};
  std::size_t leftOut = 5;
  ASSERT_TRUE(ListFolder("C:\\empty", entries, leftOut));
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(leftOut, 0u);
}

TEST_F(FolderListing, RootOfTheHostMarksKernelFolders) {
  ScopedEnv root("PELKO_DRIVE_E", "/");
  std::vector<FindData> entries;
  std::size_t leftOut = 0;
  ASSERT_TRUE(ListFolder("E:\\", entries, leftOut));
  const FindData* proc = Find(entries, "proc");
  ASSERT_NE(proc, nullptr);
  EXPECT_TRUE(proc->info.isPseudoFileSystem);
  const FindData* usr = Find(entries, "usr");
  ASSERT_NE(usr, nullptr);
  EXPECT_FALSE(usr->info.isPseudoFileSystem);
}

}  // namespace
}  // namespace pelko::win

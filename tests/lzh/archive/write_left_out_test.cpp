// What the host holds that an archive cannot: links (never followed, loops
// included), FIFOs and sockets, pseudo file systems, names with no Windows
// form, files that cannot be read. Each is left out, named with its reason
// in the report and in one warning box, and the add goes on.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lzh/archive/add_files.h"
#include "lzh/archive/archive_reader.h"
#include "lzh/archive/archive_writer.h"
#include "lzh/archive/memory_stream.h"
#include "platform/user_interface.h"
#include "support/scoped_env.h"
#include "support/scripted_message_box_host.h"
#include "support/temp_folder.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

namespace fs = std::filesystem;
using test::ReadHostFile;
using test::WriteHostFile;

std::vector<std::string> StoredNames(const std::string& hostArchive) {
  MemoryStream stream(ReadHostFile(hostArchive));
  ArchiveReader reader(stream);
  std::vector<std::string> names;
  Entry entry;
  while (reader.Next(entry) == ReadStep::Entry) names.push_back(entry.header.path);
  return names;
}

const LeftOutItem* Find(const std::vector<LeftOutItem>& items, std::string_view path) {
  for (const LeftOutItem& item : items) {
    if (item.path == path) return &item;
  }
  return nullptr;
}

class LeftOut : public ::testing::Test {
 protected:
  LeftOut() : driveC_("PELKO_DRIVE_C", folder_.Path()) {
    fs::create_directories(folder_.Sub("src/p"));
  }
  std::string Host(std::string_view relative) const { return folder_.Sub(relative); }
  AddRequest Request() const {
    AddRequest request;
    request.archivePath = "C:\\out.lzh";
    request.baseFolder = "C:\\src\\";
    request.names = {"p"};
    return request;
  }

  test::TempFolder folder_{"pelko-lzhw"};
  test::ScopedEnv driveC_;
};

TEST_F(LeftOut, SymlinksAreNeverFollowedLoopsIncluded) {
  WriteHostFile(Host("src/p/real.txt"), "real");
  fs::create_directories(Host("outside"));
  WriteHostFile(Host("outside/secret.txt"), "not to be archived");
  fs::create_directory_symlink(Host("outside"), Host("src/p/to_outside"));
  fs::create_symlink("loop", Host("src/p/loop"));                 // points at itself
  fs::create_directory_symlink(Host("src/p"), Host("src/p/up"));  // a cycle through a folder
  const AddReport report = AddToArchive(Request());
  ASSERT_TRUE(report.Succeeded());
  EXPECT_EQ(StoredNames(Host("out.lzh")), (std::vector<std::string>{"p", "p\\real.txt"}));
  for (const char* link : {"C:\\src\\p\\to_outside", "C:\\src\\p\\loop", "C:\\src\\p\\up"}) {
    const LeftOutItem* item = Find(report.leftOut, link);
    ASSERT_NE(item, nullptr) << link;
    EXPECT_EQ(item->reason, LeftOutReason::Symlink);
  }
}

TEST_F(LeftOut, FifoAndSocketAreSpecialFilesAndDoNotHang) {
  ASSERT_EQ(::mkfifo(Host("src/p/pipe").c_str(), 0644), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = Host("src/p/sock");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  WriteHostFile(Host("src/p/file.txt"), "f");

  const AddReport report = AddToArchive(Request());
  ::close(sock);
  ASSERT_TRUE(report.Succeeded());
  EXPECT_EQ(StoredNames(Host("out.lzh")), (std::vector<std::string>{"p", "p\\file.txt"}));
  ASSERT_NE(Find(report.leftOut, "C:\\src\\p\\pipe"), nullptr);
  EXPECT_EQ(Find(report.leftOut, "C:\\src\\p\\pipe")->reason, LeftOutReason::SpecialFile);
  ASSERT_NE(Find(report.leftOut, "C:\\src\\p\\sock"), nullptr);
  EXPECT_EQ(Find(report.leftOut, "C:\\src\\p\\sock")->reason, LeftOutReason::SpecialFile);
}

TEST_F(LeftOut, NamesWithNoWindowsFormAreCountedPerFolder) {
  WriteHostFile(Host("src/p/ok.txt"), "ok");
  WriteHostFile(Host("src/p/smile\xF0\x9F\x98\x80.txt"), "no Shift-JIS form");
  WriteHostFile(Host("src/p/a:b.txt"), "a colon Windows forbids");
  fs::create_directories(
      Host("src/p/caf\xC3\xA9_\xE2\x82\xAC"));  // the euro sign has no CP932 form
  const AddReport report = AddToArchive(Request());
  ASSERT_TRUE(report.Succeeded());
  EXPECT_EQ(StoredNames(Host("out.lzh")), (std::vector<std::string>{"p", "p\\ok.txt"}));
  const LeftOutItem* item = Find(report.leftOut, "C:\\src\\p\\");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->reason, LeftOutReason::NoWindowsName);
  EXPECT_EQ(item->count, 3u);
}

TEST_F(LeftOut, PseudoFileSystemsAreNotDescended) {
  test::ScopedEnv driveD("PELKO_DRIVE_D", "/");
  AddRequest request;
  request.archivePath = "C:\\out.lzh";
  request.baseFolder = "D:\\";
  request.names = {"proc", "sys"};
  const AddReport report = AddToArchive(request);
  EXPECT_TRUE(report.Succeeded());
  ASSERT_EQ(report.leftOut.size(), 2u);
  EXPECT_EQ(report.leftOut[0].path, "D:\\proc");
  EXPECT_EQ(report.leftOut[0].reason, LeftOutReason::PseudoFileSystem);
  EXPECT_EQ(report.leftOut[1].reason, LeftOutReason::PseudoFileSystem);
  EXPECT_FALSE(fs::exists(Host("out.lzh")));  // nothing to add: no archive made
}

// A damaged floppy (tests/fixtures/fat) whose folders loop: each folder is
// entered once, and every entry that leads back is named as left out.
TEST_F(LeftOut, FolderLoopsOnAFloppyAreEnteredOnce) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"folder-self-loop", {"A:\\SUB\\LOOP"}},
      {"folder-ancestor-loop", {"A:\\A\\B\\UP"}},
      {"folder-fan-out", {"A:\\F\\G\\F00", "A:\\F\\G\\F11", "A:\\F\\G00", "A:\\F\\G10"}},
  };
  for (const auto& [image, loops] : cases) {
    SCOPED_TRACE(image);
    std::string bytes = ReadHostFile(std::string(PELKO_FAT_FIXTURES) + "/" + image + ".bin");
    bytes.resize(1440 * 1024, '\0');
    WriteHostFile(Host("a.img"), bytes);
    test::ScopedEnv driveA("PELKO_DRIVE_A", Host("a.img"));
    fs::remove(Host("out.lzh"));
    AddRequest request;
    request.archivePath = "C:\\out.lzh";
    request.baseFolder = "A:\\";
    const AddReport report = AddToArchive(request);
    ASSERT_TRUE(report.Succeeded());
    for (const std::string& loop : loops) {
      const LeftOutItem* item = Find(report.leftOut, loop);
      ASSERT_NE(item, nullptr) << loop;
      EXPECT_EQ(item->reason, LeftOutReason::FolderLoop);
    }
    EXPECT_LT(StoredNames(Host("out.lzh")).size(), 20u);
  }
}

// A backup onto a floppy whose ARCHIVE.LZH and HELLO.TXT share clusters once
// freed the shared ones and wrote the new archive into HELLO.TXT.
TEST_F(LeftOut, ABackupOntoACrossLinkedFloppyChangesNothing) {
  std::string bytes = ReadHostFile(std::string(PELKO_FAT_FIXTURES) + "/cross-linked.bin");
  bytes.resize(1440 * 1024, '\0');
  WriteHostFile(Host("a.img"), bytes);
  test::ScopedEnv driveA("PELKO_DRIVE_A", Host("a.img"));
  WriteHostFile(Host("src/p/new.txt"), std::string(5000, 'n'));
  AddRequest request = Request();
  request.archivePath = "A:\\ARCHIVE.LZH";
  const AddReport report = AddToArchive(request);
  EXPECT_FALSE(report.Succeeded());
  EXPECT_EQ(report.win32, win::ERROR_FILE_CORRUPT);
  EXPECT_TRUE(ReadHostFile(Host("a.img")) == bytes) << "the damaged floppy was written";
}

// A host whose progress report removes a file the add has listed but not
// yet read: the file vanishes between listing and reading, which fails for
// every user, root included.
class RemovingHost final : public win::UserInterfaceHost {
 public:
  explicit RemovingHost(std::string victim) : victim_(std::move(victim)) {
    win::RegisterUserInterfaceHost(this);
  }
  ~RemovingHost() override { win::RegisterUserInterfaceHost(nullptr); }
  win::DialogResult ShowMessageBox(std::string_view, std::string_view, win::MessageBoxButtons,
                                   win::MessageBoxIcon) override {
    return win::DialogResult::Ok;
  }
  void BeginLongWork() override {}
  void ReportProgress(std::string_view, std::uint64_t, std::uint64_t) override {
    fs::remove(victim_);
  }
  void EndLongWork() override {}

 private:
  std::string victim_;
};

TEST_F(LeftOut, FileThatCannotBeReadIsLeftOutAndTheRestIsAdded) {
  WriteHostFile(Host("src/p/a.txt"), std::string(1000, 'a'));
  WriteHostFile(Host("src/p/b.txt"), "vanishes before it is read");
  WriteHostFile(Host("src/p/c.txt"), "c");
  {
    RemovingHost host(Host("src/p/b.txt"));
    // One thread: only then is b.txt surely not read yet when a.txt is.
    AddRequest request = Request();
    request.options.threads = 1;
    const AddReport report = AddToArchive(request);
    ASSERT_TRUE(report.Succeeded());
    ASSERT_EQ(report.leftOut.size(), 1u);
    EXPECT_EQ(report.leftOut[0].path, "C:\\src\\p\\b.txt");
    EXPECT_EQ(report.leftOut[0].reason, LeftOutReason::Unreadable);
    EXPECT_EQ(report.leftOut[0].win32, win::ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(StoredNames(Host("out.lzh")), (std::vector<std::string>{"p", "p\\a.txt", "p\\c.txt"}));
}

TEST_F(LeftOut, WriterTakesBackAnEntryWhoseFileCannotBeOpened) {
  WriteHostFile(Host("src/keep.txt"), std::string(5000, 'k'));
  ArchiveWriter writer("C:\\out.lzh");
  ASSERT_TRUE(writer.Begin());
  NewEntry gone{"gone.txt", "C:\\src\\gone.txt", false, 0, 0x20, 100};
  EXPECT_EQ(writer.WriteFile(gone, PackMethod::Lh7).outcome, WriteOutcome::SourceUnreadable);
  NewEntry keep{"keep.txt", "C:\\src\\keep.txt", false, 0, 0x20, 5000};
  EXPECT_EQ(writer.WriteFile(keep, PackMethod::Lh7).outcome, WriteOutcome::Written);
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(StoredNames(Host("out.lzh")), (std::vector<std::string>{"keep.txt"}));
}

TEST_F(LeftOut, OneWarningBoxNamesEverythingWithItsReason) {
  WriteHostFile(Host("src/p/file.txt"), "f");
  ASSERT_EQ(::mkfifo(Host("src/p/pipe").c_str(), 0644), 0);
  fs::create_symlink("nowhere", Host("src/p/dangling"));
  const AddReport report = AddToArchive(Request());
  ASSERT_EQ(report.leftOut.size(), 2u);
  test::ScriptedMessageBoxHost user;
  user.Expect(test::DialogResult::Ok, "書庫に入れられませんでした");
  ShowLeftOutWarning(report.leftOut);
  ASSERT_EQ(user.Shown().size(), 1u);
  const std::string text = user.Shown()[0].TextUtf8();
  EXPECT_NE(text.find("C:\\src\\p\\dangling : シンボリックリンクはたどりません"), std::string::npos)
      << text;
  EXPECT_NE(text.find("C:\\src\\p\\pipe : 通常のファイルではありません"), std::string::npos)
      << text;
  EXPECT_EQ(user.Shown()[0].icon, test::MessageBoxIcon::Warning);
}

TEST_F(LeftOut, NoBoxWhenNothingWasLeftOut) {
  test::ScriptedMessageBoxHost user;  // any box would fail the test
  ShowLeftOutWarning({});
  EXPECT_TRUE(user.Shown().empty());
}

TEST(LeftOutWarning, LongListsEndWithHowManyMore) {
  std::vector<LeftOutItem> items(45, LeftOutItem{"C:\\x", LeftOutReason::SpecialFile, 0, 1});
  const std::string text = cp932::ToUtf8(LeftOutWarningText(items)).value();
  EXPECT_NE(text.find("ほか 5 件"), std::string::npos);
}

}  // namespace
}  // namespace pelko::lzh

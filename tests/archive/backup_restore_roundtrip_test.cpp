// "圧縮" then "展開": a tree of files and folders goes to the floppy and comes
// back into emptied folders byte for byte, on one floppy and spanned over
// three; outside LZH readers read what the backup wrote.
#include <gtest/gtest.h>

#include "backup_restore_fixture.h"
#include "res/texts_archive.h"
#include "res/texts_backup_restore.h"
#include "store/exclusion_lists.h"
#include "support/scoped_env.h"

namespace pelko::archive::testing {
namespace {

std::string InsertPrompt(int disk) {
  return std::to_string(disk) + " 枚目のディスクを入れてください。";
}

class RoundTripTest : public BackupRestoreTest {
 protected:
  // Nested folders, a hidden file, an empty folder, names whose second byte
  // is 0x5C (表 0x95 0x5C, ソ 0x83 0x5C), a folder "tmp" at depths 1, 3 and 4
  // and "*.bak" files.
  void MakeTree() {
    WriteOnC("data/docs/readme.txt", "read me\r\n");
    WriteOnC("data/docs/.hidden", "hidden but kept");
    WriteOnC("data/docs/old.bak", "left out by its pattern");
    WriteOnC("data/docs/sub/deep/notes.bin", Noise(20000, 7));
    WriteOnC("data/docs/sub/deep/more/x.txt", std::string(30000, 'x'));
    WriteOnC("data/docs/sub/deep/more/tmp/kept.txt", "four levels down: below the search depth");
    WriteOnC("data/docs/tmp/cache.bin", Noise(5000, 8));
    WriteOnC("data/docs/sub/deep/tmp/cache.bin", Noise(5000, 9));
    MakeFolderOnC("data/docs/empty");
    WriteOnC("data/表/ソ.txt", "so");
    WriteOnC("data/表/表/ソ表.dat", Noise(1000, 10));
    WriteOnC("memo.txt", "memo");
  }

  void ExcludeTmpAndBak() {
    ASSERT_TRUE(store::WriteExcludedFilesList({1, {"*.bak"}}));
    ASSERT_TRUE(store::WriteExcludedFoldersList({3, {"tmp"}}));
  }

  std::vector<std::string> Entries() const {
    return {"C:\\data\\docs", J("C:\\data\\表"), "C:\\memo.txt"};
  }

  // The tree as a restore should bring it back: everything but what was left out.
  Tree ExpectedBack(Tree tree) const {
    for (const char* gone : {"docs/old.bak", "docs/tmp", "docs/tmp/cache.bin", "docs/sub/deep/tmp",
                             "docs/sub/deep/tmp/cache.bin"}) {
      EXPECT_EQ(tree.erase(gone), 1u) << gone;
    }
    return tree;
  }

  Tree DataAndMemo() const {
    Tree tree = TreeOnC("data");
    std::optional<std::string> memo = test::ReadHostFile(OnC("memo.txt"));
    if (test::HostPathExists(OnC("memo.txt"))) tree["memo.txt"] = memo;
    return tree;
  }

  void EmptyTheFolders() {
    RemoveOnC("data/docs");
    RemoveOnC("data/表");
    RemoveOnC("memo.txt");
  }

  // The floppy's archive read by bsdtar into a folder, names from CP932.
  Tree ReadByBsdtar(const std::string& archive) {
    std::string out = images_.Sub("bsdtar-" + std::to_string(counter_++));
    std::filesystem::create_directories(out);
    test::CommandResult run =
        test::RunCommand("bsdtar -x --options hdrcharset=CP932 -f " + test::ShellQuote(archive) +
                         " -C " + test::ShellQuote(out));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return Snapshot(out);
  }
};

TEST_F(RoundTripTest, BackupToAnEmptyFloppyAndRestoreBringEveryByteBack) {
  MakeTree();
  ExcludeTmpAndBak();
  WriteOptions(RestoreEverything());
  WriteList("DISK1", Entries());
  std::string floppy = MakeFloppy("disk1.img", "DISK1");
  Insert(floppy);
  Tree original = DataAndMemo();

  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyFiles(floppy), (std::vector<std::string>{"ARCHIVE.LZH"}));
  EXPECT_FALSE(WorkingCopyExists());  // moved to the floppy
  ExpectFloppySound(floppy);

  // Outside readers agree on what is on the floppy.
  std::optional<std::string> archive = ReadFromFloppy(floppy, "ARCHIVE.LZH");
  ASSERT_TRUE(archive);
  std::string archivePath = images_.Sub("archive.lzh");
  test::WriteHostFile(archivePath, *archive);
  test::CommandResult lhasa = test::RunCommand("lha t " + test::ShellQuote(archivePath));
  EXPECT_EQ(lhasa.exitCode, 0) << lhasa.output;
  Tree stored = ReadByBsdtar(archivePath);
  Tree expected = ExpectedBack(original);
  EXPECT_TRUE(SameTree(stored, expected));

  EmptyTheFolders();
  PressExpand();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(DataAndMemo(), expected));
  EXPECT_FALSE(WorkingCopyExists());
  EXPECT_EQ(FloppyFiles(floppy), (std::vector<std::string>{"ARCHIVE.LZH"}));
}

TEST_F(RoundTripTest, DriveRootAloneGoesToTheFloppyAndComesBack) {
  // "d:", as the folder picker gives a drive root: its content is stored with
  // no folder before it and restored into the root of D:.
  test::TempFolder driveD("drive-d");
  test::ScopedEnv mapD("PELKO_DRIVE_D", driveD.Path());
  std::filesystem::create_directories(driveD.Sub("docs/sub"));
  test::WriteHostFile(driveD.Sub("docs/sub/notes.bin"), Noise(7000, 31));
  test::WriteHostFile(driveD.Sub("memo.txt"), "memo on D:");
  const Tree original = Snapshot(driveD.Path());
  WriteOptions(RestoreEverything());
  WriteList("DISK1", {"d:"});
  Insert(MakeFloppy("disk1.img", "DISK1"));

  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  RunMainWindow();
  ExpectScriptDone();
  std::filesystem::remove_all(driveD.Sub("docs"));
  std::filesystem::remove(driveD.Sub("memo.txt"));

  PressExpand();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(Snapshot(driveD.Path()), original));
  EXPECT_FALSE(WorkingCopyExists());
}

TEST_F(RoundTripTest, SpannedBackupOverThreeFloppiesComesBackThroughTheJoiner) {
  // Noise does not pack: the archive is a little over twice a floppy.
  WriteOnC("big/part1.bin", Noise(400000, 21));
  WriteOnC("big/part2.bin", Noise(340000, 22));
  WriteOnC("big/small/part3.txt", "tail");
  WriteOptions(RestoreEverything());
  WriteList("SET", {"C:\\big"});
  std::vector<std::string> disks;
  for (int disk = 1; disk <= 3; ++disk) {
    disks.push_back(MakeFloppy("set" + std::to_string(disk) + ".img", "SET", 360,
                               static_cast<std::uint32_t>(0x5E7000 + disk)));
  }
  Insert(disks[0]);
  Tree original = TreeOnC("big");

  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  Answer("ディスクの空きスペースが足りません。\n空フロッピー 3 枚に分割して保存しますか？",
         MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectButtons(false);
  user_.Run([&] { Insert(disks[1]); });
  Answer("ディスクが一杯です。" + InsertPrompt(2), MessageBoxButtons::YesNo, DialogResult::Yes);
  user_.Run([&] { Insert(disks[2]); });
  Answer("ディスクが一杯です。" + InsertPrompt(3), MessageBoxButtons::YesNo, DialogResult::Yes);
  RunMainWindow();
  ExpectScriptDone();

  // The working copy stays; the pieces' data joined is that copy.
  std::optional<std::string> workingCopy = ReadStored("archive.lzh");
  ASSERT_TRUE(workingCopy);
  std::string joined;
  for (int disk = 1; disk <= 3; ++disk) {
    std::optional<std::string> piece = ReadFromFloppy(disks[disk - 1], "ARCH.DIV");
    ASSERT_TRUE(piece) << "floppy " << disk;
    joined += disk == 1 ? *piece : piece->substr(2);
    ExpectFloppySound(disks[disk - 1]);
  }
  EXPECT_TRUE(joined == *workingCopy)
      << joined.size() << " joined, " << workingCopy->size() << " built";

  RemoveOnC("big");
  MakeFolderOnC("big");
  Insert(disks[0]);
  PressExpand();
  ExpectButtons(false);
  user_.Run([&] { Insert(disks[1]); });
  Answer(InsertPrompt(2), MessageBoxButtons::YesNo, DialogResult::Yes);
  user_.Run([&] { Insert(disks[2]); });
  Answer(InsertPrompt(3), MessageBoxButtons::YesNo, DialogResult::Yes);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("big"), original));
  EXPECT_FALSE(WorkingCopyExists());
}

}  // namespace
}  // namespace pelko::archive::testing

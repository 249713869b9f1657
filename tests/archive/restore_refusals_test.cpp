// "展開" where it ends before anything is extracted: every refusal and every
// No leaves the floppy and the folders as they were, and the buttons are off
// only from the copy of the archive to the end of the command.
#include <gtest/gtest.h>

#include <ostream>

#include "archive/archive_commands.h"
#include "backup_restore_fixture.h"
#include "lzh/command/archiver_command.h"
#include "res/texts_backup_restore.h"
#include "res/texts_main.h"
#include "text/win_error.h"

namespace pelko::archive::testing {
namespace {

class RestoreRefusalTest : public BackupRestoreTest {
 protected:
  void SetUpFloppy(const std::string& label) {
    floppy_ = MakeFloppy("disk.img", label);
    Insert(floppy_);
    WriteOnC("data/docs/report.doc", Noise(3000, 2));
    MakeFolderOnC("restore/inner");
    floppyBefore_ = ImageBytes(floppy_);
    treeBefore_ = UserFolders();
  }

  void ExpectFloppyAndFoldersUnchanged() {
    EXPECT_EQ(ImageBytes(floppy_), floppyBefore_);
    EXPECT_TRUE(SameTree(UserFolders(), treeBefore_));
  }

  // Replaces the 11 label bytes `from` in the image (boot sector and root
  // folder) with `to`: labels no FAT tool would write.
  void PatchLabel(const std::string& from, const std::string& to) {
    ASSERT_EQ(from.size(), 11u);
    ASSERT_EQ(to.size(), 11u);
    std::string bytes = ImageBytes(floppy_);
    int patched = 0;
    for (std::size_t at = bytes.find(from); at != std::string::npos;
         at = bytes.find(from, at + 1)) {
      bytes.replace(at, 11, to);
      ++patched;
    }
    ASSERT_GE(patched, 1);
    test::WriteHostFile(floppy_, bytes);
    floppyBefore_ = bytes;
  }

  // A real archive of one small file, made by the library.
  std::string SmallArchive() {
    WriteOnC("made/small.txt", "small");
    const std::string made = home_.WindowsPathOf("made.lzh");
    lzh::ArchiverCommand(nullptr, AddCommand(made, "C:\\made\\small.txt", "").c_str(), nullptr, 0);
    std::optional<std::string> archive = ReadStored("made.lzh");
    std::filesystem::remove(home_.HostPathOf("made.lzh"));
    RemoveOnC("made");
    EXPECT_TRUE(archive);
    return archive.value_or("");
  }

  store::OptionsRecord WithDestination(const std::string& folder) {
    store::OptionsRecord record = RestoreEverything();
    record.extractUnassociated = 1;
    record.destinationFolder = folder;
    return record;
  }

  std::string floppy_;
  std::string floppyBefore_;
  Tree treeBefore_;
};

TEST_F(RestoreRefusalTest, NoDiskAsksUntilCancelAndTouchesNothing) {
  WriteList("DISK1", {"C:\\data\\docs"});
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kInsertDisk, MessageBoxButtons::RetryCancel, DialogResult::Cancel);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

// One refusal each: what the floppy and the program folder hold, then the
// questions in order. The floppy and the user's folders stay as they were.
struct Question {
  std::string_view text;  // UTF-8; empty: the system's text for `systemError`
  win::DWORD systemError;
  MessageBoxButtons buttons;
  DialogResult answer;
  bool buttonsOff;  // checked as the question is shown
};

struct OnFloppy {
  const char* file;  // null: nothing
  std::size_t size;
  std::uint32_t seed;
};

struct Refusal {
  const char* name;
  const char* label;
  const char* patchedLabel;  // 11 bytes no FAT tool writes, put over the label; or null
  OnFloppy onFloppy;
  const char* destination;  // null: the label's list instead of restore options
  bool programFolderKept;
  std::vector<Question> questions;
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

const Question kCopyFailed{res::kArchiveCopyFailed, 0, MessageBoxButtons::Ok, DialogResult::Ok,
                           true};
const Question kInvalidName{"", win::ERROR_INVALID_NAME, MessageBoxButtons::Ok, DialogResult::Ok,
                            false};
Question Offer(DialogResult answer) {
  return {res::kOfferExtractAndAssociate, 0, MessageBoxButtons::YesNo, answer, false};
}

const Refusal kRefusals[] = {
    // Even a list named ".txt" is not used.
    {"UnlabelledFloppy",
     "",
     nullptr,
     {"ARCHIVE.LZH", 100, 3},
     nullptr,
     true,
     {{res::kEmptyVolumeLabel, 0, MessageBoxButtons::Ok, DialogResult::Ok, false}}},
    {"NoToTheOffer",
     "DISK1",
     nullptr,
     {"ARCHIVE.LZH", 100, 3},
     "C:\\restore\\",
     true,
     {Offer(DialogResult::No)}},
    {"FloppyWithoutArchive", "DISK1", nullptr, {}, nullptr, true, {kCopyFailed}},
    {"NoAtTheJoinersPrompt",
     "DISK1",
     nullptr,
     {"ARCH.DIV", 1024, 5},
     nullptr,
     false,
     {{"2 枚目のディスクを入れてください。", 0, MessageBoxButtons::YesNo, DialogResult::No, true},
      kCopyFailed}},
    {"ExtractAndAssociateWithoutArchive",
     "DISK1",
     nullptr,
     {},
     "C:\\restore\\",
     true,
     {Offer(DialogResult::Yes), kCopyFailed}},
    // "..": the target folder would be the destination's parent.
    {"LabelThatCannotNameAFolder",
     "LABELXXXXXX",
     "..         ",
     {"ARCHIVE.LZH", 700, 4},
     "C:\\restore\\inner\\",
     true,
     {Offer(DialogResult::Yes), kInvalidName}},
    {"LabelWithABackslash",
     "LABELXXXXXX",
     "..\\UP      ",
     {"ARCHIVE.LZH", 700, 4},
     "C:\\restore\\",
     true,
     {Offer(DialogResult::Yes), kInvalidName}},
};

class RestoreRefusal : public RestoreRefusalTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RestoreRefusal, ChangesNoFolderAndTheFloppy) {
  const Refusal& r = GetParam();
  SetUpFloppy(r.label);
  if (r.onFloppy.file) {
    PutOnFloppy(floppy_, r.onFloppy.file, Noise(r.onFloppy.size, r.onFloppy.seed));
    floppyBefore_ = ImageBytes(floppy_);
  }
  if (r.patchedLabel) PatchLabel(r.label, r.patchedLabel);
  if (r.destination) {
    WriteOptions(WithDestination(r.destination));
  } else {
    WriteList(r.label, {"C:\\data\\docs"});
  }
  Tree before = ProgramFolder();
  PressExpand();
  for (const Question& q : r.questions) {
    if (q.buttonsOff) ExpectButtons(false);
    if (q.text.empty()) {
      AnswerCp932(win::SystemErrorText(q.systemError), q.buttons, q.answer);
    } else {
      Answer(q.text, q.buttons, q.answer);
    }
  }
  RunMainWindow();  // and the buttons are on again
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  if (r.programFolderKept) {
    EXPECT_TRUE(SameTree(ProgramFolder(), before));
  }
}

INSTANTIATE_TEST_SUITE_P(Refusals, RestoreRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// An empty archive.lzh, as an interrupted backup once left, or one with no
// sound entry, is a failed copy: nothing is extracted, and the working copy
// stays for a look.
TEST_F(RestoreRefusalTest, ArchiveWithoutASoundEntryIsAFailedCopy) {
  SetUpFloppy("DISK1");
  WriteList("DISK1", {"C:\\data\\docs"});
  PutOnFloppy(floppy_, "ARCHIVE.LZH", "");
  PressExpand();
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  user_.Run([this] {
    EXPECT_EQ(ReadStored("archive.lzh"), "");
    PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(700, 4));
    floppyBefore_ = ImageBytes(floppy_);
  });
  PressExpand();
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_EQ(ReadStored("archive.lzh"), Noise(700, 4));
}

TEST_F(RestoreRefusalTest, ExtractAndAssociateWithoutDestinationKeepsOnlyTheWorkingCopy) {
  SetUpFloppy("DISK1");
  std::string archive = SmallArchive();
  PutOnFloppy(floppy_, "ARCHIVE.LZH", archive);
  floppyBefore_ = ImageBytes(floppy_);
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectButtons(false);
  Answer(res::kNoDestinationFolder, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_EQ(ReadStored("archive.lzh"), archive);  // left behind, as the tool always has
  EXPECT_EQ(ReadStored("DISK1.txt"), std::nullopt);
}

TEST_F(RestoreRefusalTest, EmptyDestinationCountsAsNotSet) {
  SetUpFloppy("DISK1");
  PutOnFloppy(floppy_, "ARCHIVE.LZH", SmallArchive());
  floppyBefore_ = ImageBytes(floppy_);
  WriteOptions(WithDestination(""));
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  Answer(res::kNoDestinationFolder, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_EQ(ReadStored("DISK1.txt"), std::nullopt);
}

}  // namespace
}  // namespace pelko::archive::testing

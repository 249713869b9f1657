// Backups and restores killed from outside: strace sends SIGKILL to
// pelko-script at the N-th write to a floppy image (pwrite64) or the N-th
// rename of one kind, for N = 1, 2, ... until a run completes. After every
// killed run:
// - fsck.fat -n finds nothing on any floppy but lost clusters;
// - every file on a floppy is whole: byte for byte a file the floppies held
//   before the run or hold after an uninterrupted one;
// - every user file holds its old or its new bytes, none is missing, and
//   beside it lies at most the one temporary file named after it;
// - a following restore restores everything, or says that it could not and
//   changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "store/options_record.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelko {
namespace {

namespace fs = std::filesystem;
using test::ReadHostFile;
using test::RunCommand;
using test::ShellQuote;
using test::WriteHostFile;

constexpr char kConfirmBackup[] =
    "コンピュータからＦＤにデータを転送します。\\nＦＤ内の前回のアーカイブは削除されます。続けます"
    "か？";
constexpr char kCopyFailed[] = "アーカイブのコピーに失敗しました。";
// More kill points than any run here has: a run that never completes fails.
constexpr int kMostKillPoints = 200;

// Relative path (under the work folder) to bytes; folders are left out.
using Files = std::map<std::string, std::string>;

std::string Noise(std::size_t size, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

std::string Mtools(const std::string& command) {
  return "MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=1 " + command;
}

// The run's program folder: the floppies disk1.img … as images beside it,
// A.img a link to the one in the drive, the user's files in tree/ and the
// restore destination dest/. Every run starts from a saved copy of it, at
// the same place, so that the association list's paths hold.
class Workspace {
 public:
  Workspace()
      : home_(root_.Sub("work")),
        home_env_("PELKO_HOME", home_),
        drive_a_("PELKO_DRIVE_A", home_ + "/A.img"),
        drive_c_("PELKO_DRIVE_C", std::nullopt) {
    fs::create_directories(home_ + "/tree");
    fs::create_directories(home_ + "/dest");
  }

  std::string Host(const std::string& relative) const { return home_ + "/" + relative; }
  // The drive-letter path of a file or folder of the work folder.
  std::string OnC(const std::string& relative) const {
    std::string path = "C:" + Host(relative);
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }

  void Write(const std::string& relative, const std::string& bytes) const {
    fs::create_directories(fs::path(Host(relative)).parent_path());
    WriteHostFile(Host(relative), bytes);
  }
  void WriteList(const std::vector<std::string>& entries) const {
    std::string list;
    for (const std::string& entry : entries) list += OnC(entry) + "\r\n";
    Write("PELKO.txt", list);
  }
  void WriteOptions(bool extractUnassociated) const {
    store::OptionsRecord record;
    record.overwriteMode = 0;
    record.directoryMode = 0;
    record.keepNewer = 0;
    record.extractUnassociated = extractUnassociated ? 1 : 0;
    record.destinationFolder = OnC("dest") + "\\";
    Write("PELKO.opt", store::EncodeOptionsRecord(record));
  }

  // A blank floppy diskN.img; `tiny` has 44 clusters of 512 bytes.
  void MakeFloppy(int n, bool tiny) const {
    const std::string geometry = tiny ? "-T 48 -h 1 -s 48 -c 1 -r 1" : "-f 360";
    Run("mformat -C " + geometry + " -v PELKO -N 0000000" + std::to_string(n) + " -i " +
        ShellQuote(Host(Disk(n))) + " ::");
  }
  static std::string Disk(int n) { return "disk" + std::to_string(n) + ".img"; }
  // The `run` step that puts floppy N in drive A: (no rename: the kills
  // count renames of every process).
  static std::string InsertStep(int n) {
    return "run rm -f \"$PELKO_DRIVE_A\" && ln -s " + Disk(n) + " \"$PELKO_DRIVE_A\"";
  }
  void Insert(int n) const {
    fs::remove(Host("A.img"));
    fs::create_symlink(Disk(n), Host("A.img"));
  }

  struct Played {
    int exitCode = -1;
    bool killed = false;
    std::string transcript;
  };

  // pelko-script plays `script`; with `syscall`, killed at its `when`-th call.
  Played Play(const std::string& script, const std::string& syscall = "", int when = 0) const {
    WriteHostFile(root_.Sub("script.txt"), script);
    std::string command = ShellQuote(PELKO_SCRIPT) + " " + ShellQuote(root_.Sub("script.txt"));
    if (!syscall.empty()) {
      // The leak checker cannot work under a tracer; the runs without one check leaks.
      command =
          "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" strace -f -o /dev/null "
          "-e trace=" +
          syscall + " -e inject=" + syscall + ":signal=KILL:when=" + std::to_string(when) + " " +
          command;
    }
    // The shell, not strace, reports the kill (as 128 + 9), in its own output.
    test::CommandResult result =
        RunCommand(command + " >" + ShellQuote(root_.Sub("transcript.txt")) + " 2>" +
                   ShellQuote(root_.Sub("errors.txt")) + "; exit $?");
    Played played;
    played.exitCode = result.exitCode;
    played.killed = result.exitCode == 128 + 9 || result.exitCode == -1;
    played.transcript =
        ReadHostFile(root_.Sub("transcript.txt")) + ReadHostFile(root_.Sub("errors.txt"));
    return played;
  }

  // Copies keep the files' times: an archive made again is then the same.
  void Save(const std::string& name) const { Copy(home_, root_.Sub(name)); }
  void Load(const std::string& name) const { Copy(root_.Sub(name), home_); }

  // The user's files: everything in tree/ and dest/.
  Files UserFiles() const {
    Files files;
    for (const char* top : {"tree", "dest"}) {
      if (!fs::exists(Host(top))) continue;
      for (const auto& item : fs::recursive_directory_iterator(Host(top))) {
        if (!item.is_regular_file()) continue;
        files[item.path().lexically_relative(home_).generic_string()] =
            ReadHostFile(item.path().string());
      }
    }
    return files;
  }

  // The files at the root of floppy N, by their short names.
  Files FloppyFiles(int n) const {
    Files files;
    test::CommandResult listed =
        RunCommand(Mtools("mdir -b -i " + ShellQuote(Host(Disk(n))) + " ::"));
    std::istringstream lines(listed.output);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("::/", 0) != 0) continue;
      const std::string name = line.substr(3);
      const std::string copy = root_.Sub("floppy-file");
      fs::remove(copy);
      RunCommand(Mtools("mcopy -n -i " + ShellQuote(Host(Disk(n))) + " ::" + ShellQuote(name) +
                        " " + ShellQuote(copy)));
      std::string upper = name;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      files[upper] = ReadHostFile(copy);
    }
    return files;
  }

  // What fsck.fat -n says of floppy N beyond lost clusters ("" when nothing).
  std::string FsckBeyondLostClusters(int n) const {
    test::CommandResult checked = RunCommand("fsck.fat -n " + ShellQuote(Host(Disk(n))));
    std::istringstream lines(checked.output);
    std::string beyond;
    for (std::string line; std::getline(lines, line);) {
      const bool expected =
          line.empty() || line.rfind("fsck.fat ", 0) == 0 || line.rfind("Reclaimed ", 0) == 0 ||
          line == "Leaving filesystem unchanged." || line.find(".img: ") != std::string::npos;
      if (!expected) beyond += line + "\n";
    }
    return beyond;
  }

  static void Copy(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    test::CommandResult copied = RunCommand("cp -a " + ShellQuote(from) + " " + ShellQuote(to));
    ASSERT_EQ(copied.exitCode, 0) << copied.output;
  }

  void Run(const std::string& command) const {
    test::CommandResult result = RunCommand(Mtools(command));
    ASSERT_EQ(result.exitCode, 0) << command << "\n" << result.output;
  }

 private:
  test::TempFolder root_{"pelko-interrupted"};
  std::string home_;
  test::ScopedEnv home_env_;
  test::ScopedEnv drive_a_;
  test::ScopedEnv drive_c_;
};

// --- The runs to interrupt -------------------------------------------------

struct Scenario {
  const char* name;
  int floppies;
  // Lays the work folder out as it is before the run; returns the user's
  // files as each backup on the floppies would restore them.
  std::function<std::vector<Files>(Workspace&)> prepare;
  std::function<std::string(const Workspace&)> script;
  bool isRestore;
};

std::string BackupScript() {
  return "press 1001\nanswer YES " + std::string(kConfirmBackup) + "\n";
}

// docs/a.txt, docs/b.bin of `size` noise and memo.txt, in their `version`.
void WriteTree(Workspace& ws, int version, std::size_t size) {
  const std::string v = std::to_string(version);
  ws.Write("tree/docs/a.txt", "alpha " + v);
  ws.Write("tree/docs/b.bin", Noise(size, static_cast<std::uint32_t>(version)));
  ws.Write("tree/memo.txt", "memo " + v);
}

// A first backup of version 1 on floppy 1, then the tree changed to version 2.
std::vector<Files> BackedUpOnce(Workspace& ws, bool tiny, std::size_t sizeBefore,
                                std::size_t sizeAfter) {
  ws.MakeFloppy(1, tiny);
  ws.Insert(1);
  WriteTree(ws, 1, sizeBefore);
  ws.WriteList({"tree/docs", "tree/memo.txt"});
  ws.WriteOptions(false);
  Workspace::Played first = ws.Play(BackupScript());
  EXPECT_EQ(first.exitCode, 0) << first.transcript;
  Files before = ws.UserFiles();
  WriteTree(ws, 2, sizeAfter);
  return {before, ws.UserFiles()};
}

const Scenario kScenarios[] = {
    {"BackupBesideThePreviousArchive", 1,
     [](Workspace& ws) { return BackedUpOnce(ws, false, 20000, 21000); },
     [](const Workspace&) { return BackupScript(); }, false},
    {"BackupWithNoRoomBesideIt", 1,
     [](Workspace& ws) { return BackedUpOnce(ws, true, 12000, 12500); },
     [](const Workspace&) { return BackupScript(); }, false},
    {"SpannedBackup", 3,
     [](Workspace& ws) {
       std::vector<Files> versions = BackedUpOnce(ws, true, 3000, 50000);
       ws.MakeFloppy(2, true);
       ws.MakeFloppy(3, true);
       return versions;
     },
     [](const Workspace&) {
       return BackupScript() +
              "answer YES ディスクの空きスペースが足りません。\\n空フロッピー 3 "
              "枚に分割して保存しますか？\n" +
              Workspace::InsertStep(2) +
              "\nanswer YES ディスクが一杯です。2 枚目のディスクを入れてください。\n" +
              Workspace::InsertStep(3) +
              "\nanswer YES ディスクが一杯です。3 枚目のディスクを入れてください。\n";
     },
     false},
    // docs comes back to its place (two files replaced), memo.txt, no longer
    // associated, into dest/ over an older copy, through the Delete command's
    // rewrite of the working copy.
    {"Restore", 1,
     [](Workspace& ws) {
       BackedUpOnce(ws, false, 20000, 21000);
       ws.WriteList({"tree/docs"});
       ws.WriteOptions(true);
       ws.Write("dest/memo.txt", "an older memo");
       return std::vector<Files>{};
     },
     [](const Workspace&) { return std::string("press 1002\ndialog 134\nok\n"); }, true},
};

// --- The following restore ------------------------------------------------

struct FollowingRestore {
  std::string script;
  bool saysItCouldNot = false;
};

// The restore a user makes next, floppy by floppy as the tool asks for them,
// answering No where a floppy of the set has no piece.
FollowingRestore PlanRestore(const Workspace& ws, int floppies) {
  FollowingRestore plan;
  plan.script = Workspace::InsertStep(1) + "\npress 1002\n";
  const Files first = ws.FloppyFiles(1);
  if (first.count("ARCHIVE.LZH")) return plan;
  if (!first.count("ARCH.DIV")) {
    plan.script += "answer OK " + std::string(kCopyFailed) + "\n";
    plan.saysItCouldNot = true;
    return plan;
  }
  for (int n = 2;; ++n) {
    const std::string ask = std::to_string(n) + " 枚目のディスクを入れてください。";
    if (n <= floppies) plan.script += Workspace::InsertStep(n) + "\n";
    plan.script += "answer YES " + ask + "\n";
    const Files disk = n <= floppies ? ws.FloppyFiles(n) : Files{};
    auto piece = disk.find("ARCH.DIV");
    if (piece == disk.end()) {
      plan.script += "answer NO " + ask + "\nanswer OK " + std::string(kCopyFailed) + "\n";
      plan.saysItCouldNot = true;
      return plan;
    }
    if (piece->second.size() >= 2 && static_cast<unsigned char>(piece->second[1]) == 0xFF)
      return plan;
  }
}

// --- The test --------------------------------------------------------------

std::set<std::string> FloppyContents(const Workspace& ws, int floppies) {
  std::set<std::string> contents;
  for (int disk = 1; disk <= floppies; ++disk) {
    for (const auto& [name, bytes] : ws.FloppyFiles(disk)) contents.insert(bytes);
  }
  return contents;
}

struct KillPoints {
  const Scenario* scenario;
  const char* syscall;
};

class InterruptedRun : public ::testing::TestWithParam<KillPoints> {
 protected:
  void ExpectFloppiesSound(const Workspace& ws, const std::set<std::string>& wholeFiles, int n) {
    for (int disk = 1; disk <= scenario().floppies; ++disk) {
      EXPECT_EQ(ws.FsckBeyondLostClusters(disk), "") << "floppy " << disk << ", kill point " << n;
      for (const auto& [name, bytes] : ws.FloppyFiles(disk)) {
        EXPECT_TRUE(wholeFiles.count(bytes)) << name << " on floppy " << disk << " is not whole ("
                                             << bytes.size() << " bytes), kill point " << n;
      }
    }
  }

  // Old or new bytes, nothing missing, at most "~NAME.pelko" beside NAME.
  void ExpectUserFilesOldOrNew(const Files& now, const Files& before, const Files& after, int n) {
    for (const auto& [path, bytes] : before) {
      auto found = now.find(path);
      ASSERT_NE(found, now.end()) << path << " is missing, kill point " << n;
      auto renewed = after.find(path);
      EXPECT_TRUE(bytes == found->second ||
                  (renewed != after.end() && renewed->second == found->second))
          << path << " holds neither its old nor its new bytes, kill point " << n;
    }
    for (const auto& [path, bytes] : now) {
      if (before.count(path)) continue;
      if (after.count(path)) {
        EXPECT_EQ(bytes, after.at(path)) << path << ", kill point " << n;
        continue;
      }
      fs::path name(path);
      const std::string file = name.filename().string();
      const bool temporary =
          file.size() > 7 && file[0] == '~' && file.ends_with(".pelko") &&
          (before.count((name.parent_path() / file.substr(1, file.size() - 7)).string()) ||
           after.count((name.parent_path() / file.substr(1, file.size() - 7)).string()));
      EXPECT_TRUE(temporary) << path << " should not be there, kill point " << n;
    }
  }

  const Scenario& scenario() const { return *GetParam().scenario; }
};

TEST_P(InterruptedRun, LeavesOldOrNewAndTheNextRestoreSaysWhatItDid) {
  const Scenario& s = scenario();
  Workspace ws;
  std::vector<Files> restorable = s.prepare(ws);
  ASSERT_FALSE(HasFailure());
  const std::string script = s.script(ws);
  ws.Save("before");
  const Files userBefore = ws.UserFiles();

  // The uninterrupted run: what the floppies and the user's files hold after it.
  Workspace::Played whole = ws.Play(script);
  ASSERT_EQ(whole.exitCode, 0) << whole.transcript;
  const Files userAfter = ws.UserFiles();
  std::set<std::string> wholeFiles = FloppyContents(ws, s.floppies);
  ws.Load("before");
  wholeFiles.merge(FloppyContents(ws, s.floppies));
  if (s.isRestore) restorable = {userAfter};

  int killed = 0;
  for (int n = 1;; ++n) {
    ASSERT_LE(n, kMostKillPoints) << "the run never completed";
    ws.Load("before");
    Workspace::Played run = ws.Play(script, GetParam().syscall, n);
    if (!run.killed) {
      ASSERT_EQ(run.exitCode, 0) << "kill point " << n << ":\n" << run.transcript;
      break;
    }
    ++killed;
    ExpectFloppiesSound(ws, wholeFiles, n);
    ExpectUserFilesOldOrNew(ws.UserFiles(), userBefore, userAfter, n);

    // A backup's restore is seen only on files that differ from every backup.
    if (!s.isRestore) {
      for (const auto& [path, bytes] : ws.UserFiles()) ws.Write(path, "changed since");
    }
    const Files scrambled = ws.UserFiles();
    FollowingRestore next =
        s.isRestore ? FollowingRestore{script, false} : PlanRestore(ws, s.floppies);
    Workspace::Played restore = ws.Play(next.script);
    ASSERT_EQ(restore.exitCode, 0) << "kill point " << n << ", following restore:\n"
                                   << restore.transcript;
    const Files restored = ws.UserFiles();
    if (next.saysItCouldNot) {
      EXPECT_EQ(restored, scrambled) << "kill point " << n;
      EXPECT_FALSE(s.isRestore) << "kill point " << n;
    } else {
      bool matched = false;
      for (const Files& version : restorable) matched = matched || restored == version;
      EXPECT_TRUE(matched) << "kill point " << n
                           << ": the following restore brought back no whole backup";
    }
    if (HasFailure()) return;
  }
  std::cout << s.name << " / " << GetParam().syscall << ": " << killed << " kill points\n";
}

// Scratch files ("~LZ*.TMP") in the program folder.
std::vector<std::string> ScratchFiles(const Workspace& ws) {
  std::vector<std::string> found;
  for (const auto& item : fs::directory_iterator(ws.Host(""))) {
    const std::string name = item.path().filename().string();
    if (name.rfind("~LZ", 0) == 0 && name.ends_with(".TMP")) found.push_back(name);
  }
  return found;
}

// A backup cut off as the library puts its first working copy in place
// leaves it as a scratch file; the next backup removes it.
TEST(InterruptedBackup, LeavesScratchFilesThatTheNextBackupRemoves) {
  Workspace ws;
  BackedUpOnce(ws, false, 2000, 3000);
  ASSERT_FALSE(::testing::Test::HasFailure());
  ASSERT_TRUE(ws.Play(BackupScript(), "renameat2", 1).killed);
  EXPECT_EQ(ScratchFiles(ws), std::vector<std::string>{"~LZ00001.TMP"});
  Workspace::Played next = ws.Play(BackupScript());
  ASSERT_EQ(next.exitCode, 0) << next.transcript;
  EXPECT_EQ(ScratchFiles(ws), std::vector<std::string>{});
}

std::vector<KillPoints> AllKillPoints() {
  std::vector<KillPoints> points;
  for (const Scenario& s : kScenarios) {
    for (const char* syscall : {"pwrite64", "rename", "renameat", "renameat2"})
      points.push_back({&s, syscall});
  }
  return points;
}

INSTANTIATE_TEST_SUITE_P(EveryWriteAndRename, InterruptedRun, ::testing::ValuesIn(AllKillPoints()),
                         [](const ::testing::TestParamInfo<KillPoints>& info) {
                           return std::string(info.param.scenario->name) + "_" + info.param.syscall;
                         });

}  // namespace
}  // namespace pelko

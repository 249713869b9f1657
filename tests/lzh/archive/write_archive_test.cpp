// Archives we write, read by the peers (lhasa, 7z, bsdtar) and by our own
// reader byte for byte; add replaces in place, delete takes an entry with
// all below it, and a failed change leaves the old archive as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "lzh/archive/add_files.h"
#include "lzh/archive/archive_reader.h"
#include "lzh/archive/delete_entries.h"
#include "lzh/archive/memory_stream.h"
#include "lzh/archive/path_names.h"
#include "lzh/codec/byte_sink.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/scripted_message_box_host.h"
#include "support/temp_folder.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

namespace fs = std::filesystem;
using test::ReadHostFile;
using test::RunCommand;
using test::ShellQuote;
using test::WriteHostFile;

std::string Sjis(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(random() & 0xFF);
  return s;
}

std::string Text(std::size_t n) {
  std::string s;
  for (int i = 0; s.size() < n; ++i) s += "line " + std::to_string(i % 97) + " of the backup\n";
  s.resize(n);
  return s;
}

struct ReadBack {
  std::string path;
  std::string method;
  std::string content;
  bool folder = false;
};

// Our reader: every entry, extracted with its CRC checked.
std::vector<ReadBack> ReadArchive(const std::string& hostPath) {
  MemoryStream stream(ReadHostFile(hostPath));
  ArchiveReader reader(stream);
  std::vector<ReadBack> out;
  Entry entry;
  ReadStep step;
  while ((step = reader.Next(entry)) == ReadStep::Entry) {
    StringSink sink;
    EXPECT_EQ(reader.Extract(entry, sink), LzhError::None) << entry.header.path;
    out.push_back(
        {entry.header.path, entry.header.Method(), sink.bytes, entry.header.IsDirectory()});
  }
  EXPECT_EQ(step, ReadStep::End) << Describe(reader.Error());
  return out;
}

std::vector<std::string> Paths(const std::vector<ReadBack>& entries) {
  std::vector<std::string> paths;
  for (const ReadBack& e : entries) paths.push_back(e.path);
  return paths;
}

// Drive C: is a temporary folder holding "src" (what is added) and "out".
class WriteArchive : public ::testing::Test {
 protected:
  WriteArchive() : driveC_("PELKO_DRIVE_C", folder_.Path()) {
    fs::create_directories(folder_.Sub("src"));
  }
  std::string Host(std::string_view relative) const { return folder_.Sub(relative); }
  void Put(std::string_view relative, std::string_view bytes) {
    fs::create_directories(fs::path(Host(relative)).parent_path());
    WriteHostFile(Host(relative), bytes);
  }
  static AddRequest Request(std::vector<std::string> names, PackMethod method = PackMethod::Lh7,
                            std::string archive = "C:\\out.lzh") {
    AddRequest request;
    request.archivePath = std::move(archive);
    request.baseFolder = "C:\\src\\";
    request.names = std::move(names);
    request.options.method = method;
    return request;
  }
  AddReport Add(std::vector<std::string> names, PackMethod method = PackMethod::Lh7,
                std::string archive = "C:\\out.lzh") {
    return AddToArchive(Request(std::move(names), method, std::move(archive)));
  }
  // Extracts with a peer into a fresh folder and compares every file with src/.
  void ExpectPeerExtractsSame(const std::string& command, const std::vector<std::string>& files) {
    const std::string out = Host("peer");
    fs::remove_all(out);
    fs::create_directories(out);
    const test::CommandResult result = RunCommand("cd " + ShellQuote(out) + " && " + command);
    ASSERT_EQ(result.exitCode, 0) << command << "\n" << result.output;
    for (const std::string& file : files) {
      EXPECT_TRUE(test::HostPathExists(out + "/" + file)) << command << ": " << file;
      EXPECT_EQ(ReadHostFile(out + "/" + file), ReadHostFile(Host("src/" + file)))
          << command << ": " << file;
    }
  }

  test::TempFolder folder_{"pelko-lzhw"};
  test::ScopedEnv driveC_;
};

TEST_F(WriteArchive, EveryMethodNestedAndEmptyFoldersReadByAllPeers) {
  Put("src/proj/readme.txt", Text(5000));
  Put("src/proj/empty.dat", "");
  Put("src/proj/sub/deeper/data.bin", RandomBytes(3000, 1));  // stored: packing would not shrink it
  Put("src/proj/sub/deeper/boundary.txt", Text(512));
  Put("src/proj/sub/big.txt", Text(300000) + RandomBytes(70000, 2) + Text(100000));
  fs::create_directories(Host("src/proj/empty_folder"));
  const std::vector<std::string> files = {"proj/readme.txt", "proj/empty.dat",
                                          "proj/sub/deeper/data.bin",
                                          "proj/sub/deeper/boundary.txt", "proj/sub/big.txt"};
  for (PackMethod method : {PackMethod::Lh5, PackMethod::Lh6, PackMethod::Lh7}) {
    fs::remove(Host("out.lzh"));
    const AddReport report = Add({"proj"}, method);
    ASSERT_TRUE(report.Succeeded()) << report.win32;
    EXPECT_TRUE(report.leftOut.empty());
    const std::string id(EncoderMethodOf(method).id);

    const std::vector<ReadBack> entries = ReadArchive(Host("out.lzh"));
    // Folders before what they hold, in name order.
    EXPECT_EQ(Paths(entries),
              (std::vector<std::string>{"proj", "proj\\empty.dat", "proj\\empty_folder",
                                        "proj\\readme.txt", "proj\\sub", "proj\\sub\\big.txt",
                                        "proj\\sub\\deeper", "proj\\sub\\deeper\\boundary.txt",
                                        "proj\\sub\\deeper\\data.bin"}));
    for (const ReadBack& e : entries) {
      if (e.folder) {
        EXPECT_EQ(e.method, "-lhd-");
        continue;
      }
      std::string host = e.path;
      std::replace(host.begin(), host.end(), '\\', '/');
      EXPECT_EQ(e.content, ReadHostFile(Host("src/" + host))) << e.path;
      const bool incompressible = e.path.ends_with("data.bin") || e.path.ends_with("empty.dat");
      EXPECT_EQ(e.method, incompressible ? "-lh0-" : id) << e.path;
    }
    const std::string archive = ShellQuote(Host("out.lzh"));
    ExpectPeerExtractsSame("lhasa x " + archive, files);
    ExpectPeerExtractsSame("7z x -y " + archive, files);
    ExpectPeerExtractsSame("bsdtar -xf " + archive, files);
    EXPECT_TRUE(fs::is_directory(Host("peer/proj/empty_folder")));
    EXPECT_EQ(RunCommand("lhasa t " + archive).exitCode, 0);
    EXPECT_EQ(RunCommand("7z t " + archive).exitCode, 0);
  }
}

// Files packed on several threads: the archive is byte for byte the one a
// single thread writes, for every method, and every peer reads it back.
TEST_F(WriteArchive, PackedOnSeveralThreadsTheSameBytesReadByAllPeers) {
  std::vector<std::string> files;
  for (int i = 0; i < 12; ++i) {
    const std::string name = "tree/d" + std::to_string(i % 3) + "/f" + std::to_string(i);
    // Text, noise (stored), empty, and files larger than what a thread may
    // hold before the writer takes it.
    const std::string bytes = i % 4 == 0   ? Text(600000 + 1000 * i)
                              : i % 4 == 1 ? RandomBytes(70000, i)
                              : i % 4 == 2 ? std::string()
                                           : Text(100 * i) + RandomBytes(300000, i);
    Put("src/" + name, bytes);
    files.push_back(name);
  }
  for (PackMethod method : {PackMethod::Lh5, PackMethod::Lh6, PackMethod::Lh7}) {
    std::string single;
    for (unsigned threads : {1u, 2u, 3u, 8u}) {
      fs::remove(Host("out.lzh"));
      AddRequest request;
      request.archivePath = "C:\\out.lzh";
      request.baseFolder = "C:\\src\\";
      request.names = {"tree"};
      request.options.method = method;
      request.options.threads = threads;
      ASSERT_TRUE(AddToArchive(request).Succeeded());
      const std::string bytes = ReadHostFile(Host("out.lzh"));
      if (threads == 1) {
        single = bytes;
        continue;
      }
      EXPECT_TRUE(bytes == single) << EncoderMethodOf(method).id << " on " << threads << " threads";
      const std::string archive = ShellQuote(Host("out.lzh"));
      ExpectPeerExtractsSame("lhasa x " + archive, files);
      ExpectPeerExtractsSame("7z x -y " + archive, files);
      ExpectPeerExtractsSame("bsdtar -xf " + archive, files);
    }
  }
}

TEST_F(WriteArchive, JapaneseNamesWithTrailByte5CReadByBsdtarAndOurReader) {
  Put("src/資料/表.txt", Text(2000));
  Put("src/資料/ソフト/能力.txt", Text(100));
  const AddReport report = Add({Sjis("資料")});
  ASSERT_TRUE(report.Succeeded());
  const std::vector<ReadBack> entries = ReadArchive(Host("out.lzh"));
  EXPECT_EQ(Paths(entries),
            (std::vector<std::string>{Sjis("資料"), Sjis("資料\\ソフト"),
                                      Sjis("資料\\ソフト\\能力.txt"), Sjis("資料\\表.txt")}));
  ExpectPeerExtractsSame(
      "LC_ALL=C.UTF-8 bsdtar --options hdrcharset=CP932 -xf " + ShellQuote(Host("out.lzh")),
      {"資料/表.txt", "資料/ソフト/能力.txt"});
}

TEST_F(WriteArchive, SameNameIsReplacedWhereItStandsOthersAreAppended) {
  Put("src/a.txt", "first a");
  Put("src/b.txt", "first b");
  ASSERT_TRUE(Add({"a.txt"}).Succeeded());
  ASSERT_TRUE(Add({"b.txt"}).Succeeded());
  // Names in an archive compare without case, as Windows names do.
  fs::remove(Host("src/a.txt"));
  Put("src/A.TXT", "second a, longer than before");
  Put("src/c.txt", "c");
  const AddReport report = Add({"A.TXT", "c.txt"});
  ASSERT_TRUE(report.Succeeded());
  ASSERT_EQ(report.added.size(), 2u);
  EXPECT_TRUE(report.added[0].replaced);
  EXPECT_FALSE(report.added[1].replaced);
  const std::vector<ReadBack> entries = ReadArchive(Host("out.lzh"));
  ASSERT_EQ(Paths(entries), (std::vector<std::string>{"A.TXT", "b.txt", "c.txt"}));
  EXPECT_EQ(entries[0].content, "second a, longer than before");
  EXPECT_EQ(entries[1].content, "first b");
  EXPECT_EQ(RunCommand("bsdtar -tf " + ShellQuote(Host("out.lzh"))).exitCode, 0);
}

// A backup's adds, one per entry, go into the archive its record says it
// started, at its end; an archive that was there before is rebuilt beside
// and renamed, even by the same run of adds. Both end byte for byte the same.
TEST_F(WriteArchive, AddsIntoAStartedArchiveAppendInPlaceWithTheBytesOfARebuild) {
  Put("src/a.txt", Text(20000));
  Put("src/b.bin", RandomBytes(5000, 4));
  Put("src/c.txt", "");
  Put("src/d/e.txt", Text(300));
  StartedArchives started;
  ASSERT_TRUE(AddToArchive(Request({"a.txt"}), started).Succeeded());
  fs::copy_file(Host("out.lzh"), Host("had.lzh"));
  const auto inode = [&](const char* name) {
    struct stat st {};
    ::stat(Host(name).c_str(), &st);
    return st.st_ino;
  };
  const ino_t startedInode = inode("out.lzh");
  ino_t hadInode = inode("had.lzh");
  for (const char* name : {"b.bin", "c.txt", "d\\e.txt", "missing.txt"}) {
    AddToArchive(Request({name}), started);
    AddToArchive(Request({name}, PackMethod::Lh7, "C:\\had.lzh"), started);
    ASSERT_EQ(ReadHostFile(Host("out.lzh")), ReadHostFile(Host("had.lzh"))) << name;
    EXPECT_EQ(inode("out.lzh"), startedInode) << name;
    if (std::string_view(name) != "missing.txt") {    // else nothing to add, nothing rebuilt
      EXPECT_NE(inode("had.lzh"), hadInode) << name;  // a new file each time
    }
    hadInode = inode("had.lzh");
  }
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))),
            (std::vector<std::string>{"a.txt", "b.bin", "c.txt", "d", "d\\e.txt"}));
  EXPECT_EQ(RunCommand("lhasa t " + ShellQuote(Host("out.lzh"))).exitCode, 0);
}

TEST_F(WriteArchive, NamesRelativeToTheBaseWithParentsAddedFirst) {
  Put("src/x/y/z.txt", "zz");
  ASSERT_TRUE(Add({"x\\y\\z.txt"}).Succeeded());
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))),
            (std::vector<std::string>{"x", "x\\y", "x\\y\\z.txt"}));
}

TEST_F(WriteArchive, WildcardNameAndWholeBaseFolder) {
  Put("src/one.txt", "1");
  Put("src/two.log", "2");
  Put("src/three.txt", "3");
  ASSERT_TRUE(Add({"*.TXT"}).Succeeded());
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))),
            (std::vector<std::string>{"one.txt", "three.txt"}));
  fs::remove(Host("out.lzh"));
  ASSERT_TRUE(Add({""}).Succeeded());
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))),
            (std::vector<std::string>{"one.txt", "three.txt", "two.log"}));
}

TEST_F(WriteArchive, ExclusionPatternsAtSeveralDepths) {
  Put("src/p/tmp/a.txt", "a");
  Put("src/p/src/tmp/b.txt", "b");
  Put("src/p/src/x/tmp/c.txt", "c");
  Put("src/p/keep.txt", "k");
  Put("src/p/old.bak", "o");
  AddRequest request;
  request.archivePath = "C:\\out.lzh";
  request.baseFolder = "C:\\src";
  request.names = {"p"};
  request.options.exclusions.Add("*.bak");
  request.options.exclusions.Add("*\\tmp");
  request.options.exclusions.Add("*\\*\\tmp");
  ASSERT_TRUE(AddToArchive(request).Succeeded());
  // tmp two levels below p is beyond the patterns' depth and stays.
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))),
            (std::vector<std::string>{"p", "p\\keep.txt", "p\\src", "p\\src\\x", "p\\src\\x\\tmp",
                                      "p\\src\\x\\tmp\\c.txt"}));
}

TEST_F(WriteArchive, HiddenAndDotNamesOnlyWhenAsked) {
  Put("src/p/.hidden", "h");
  Put("src/p/.git/config", "g");
  Put("src/p/seen.txt", "s");
  AddRequest request;
  request.archivePath = "C:\\out.lzh";
  request.baseFolder = "C:\\src\\";
  request.names = {"p"};
  request.options.includeHiddenSystem = false;
  ASSERT_TRUE(AddToArchive(request).Succeeded());
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))), (std::vector<std::string>{"p", "p\\seen.txt"}));
  fs::remove(Host("out.lzh"));
  request.options.includeHiddenSystem = true;
  ASSERT_TRUE(AddToArchive(request).Succeeded());
  EXPECT_EQ(
      Paths(ReadArchive(Host("out.lzh"))),
      (std::vector<std::string>{"p", "p\\.git", "p\\.git\\config", "p\\.hidden", "p\\seen.txt"}));
}

TEST_F(WriteArchive, TheArchiveIsNeverAddedToItself) {
  Put("src/a.txt", "a");
  ASSERT_TRUE(Add({""}, PackMethod::Lh7, "C:\\src\\self.lzh").Succeeded());
  ASSERT_TRUE(Add({""}, PackMethod::Lh7, "C:\\src\\self.lzh").Succeeded());
  EXPECT_EQ(Paths(ReadArchive(Host("src/self.lzh"))), (std::vector<std::string>{"a.txt"}));
  // No scratch file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(Host("src")), fs::directory_iterator()), 2);
}

TEST_F(WriteArchive, ProgressReportsBytesOfTheWhole) {
  Put("src/a.txt", Text(200000));
  Put("src/b.txt", Text(100000));
  test::ScriptedMessageBoxHost user;
  ASSERT_TRUE(Add({"a.txt", "b.txt"}).Succeeded());
  ASSERT_FALSE(user.ProgressReports().empty());
  EXPECT_EQ(user.LongWorkBegun(), 1);
  EXPECT_EQ(user.LongWorkEnded(), 1);
  const auto& last = user.ProgressReports().back();
  EXPECT_EQ(last.entry, "b.txt");
  EXPECT_EQ(last.done, 300000u);
  EXPECT_EQ(last.total, 300000u);
}

TEST_F(WriteArchive, DeleteTakesTheEntryAndEverythingBelowIt) {
  Put("src/p/a.txt", "a");
  Put("src/p/sub/b.txt", "b");
  Put("src/p/subway.txt", "s");
  ASSERT_TRUE(Add({"p"}).Succeeded());
  const DeleteReport report = DeleteFromArchive("C:\\out.lzh", {"p\\SUB", "p\\nothing"});
  ASSERT_TRUE(report.Succeeded());
  EXPECT_EQ(report.deleted, (std::vector<std::string>{"p\\sub", "p\\sub\\b.txt"}));
  EXPECT_EQ(report.unmatched, (std::vector<std::string>{"p\\nothing"}));
  const std::vector<ReadBack> entries = ReadArchive(Host("out.lzh"));
  EXPECT_EQ(Paths(entries), (std::vector<std::string>{"p", "p\\a.txt", "p\\subway.txt"}));
  EXPECT_EQ(RunCommand("lhasa t " + ShellQuote(Host("out.lzh"))).exitCode, 0);
}

TEST_F(WriteArchive, DeleteOfNothingLeavesTheFileUntouched) {
  Put("src/a.txt", "a");
  ASSERT_TRUE(Add({"a.txt"}).Succeeded());
  const std::string before = ReadHostFile(Host("out.lzh"));
  const DeleteReport report = DeleteFromArchive("C:\\out.lzh", {"b.txt"});
  EXPECT_TRUE(report.Succeeded());
  EXPECT_TRUE(report.deleted.empty());
  EXPECT_EQ(ReadHostFile(Host("out.lzh")), before);
}

TEST_F(WriteArchive, DeletingEverythingLeavesAnEmptyArchive) {
  Put("src/a.txt", "a");
  ASSERT_TRUE(Add({"a.txt"}).Succeeded());
  ASSERT_TRUE(DeleteFromArchive("C:\\out.lzh", {"*"}).Succeeded());
  EXPECT_EQ(ReadHostFile(Host("out.lzh")), std::string(1, '\0'));
}

TEST_F(WriteArchive, FailedAddOnADamagedArchiveLeavesItByteIdentical) {
  Put("src/a.txt", Text(10000));
  Put("src/b.txt", "b");
  ASSERT_TRUE(Add({"a.txt"}).Succeeded());
  std::string damaged = ReadHostFile(Host("out.lzh"));
  damaged.insert(damaged.size() - 1, "\x30garbage that is no header at all");
  WriteHostFile(Host("out.lzh"), damaged);
  const AddReport report = Add({"b.txt"});
  EXPECT_FALSE(report.Succeeded());
  EXPECT_NE(report.archiveError, LzhError::None);
  EXPECT_EQ(ReadHostFile(Host("out.lzh")), damaged);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()),
            2);  // src, out.lzh
  const DeleteReport deleted = DeleteFromArchive("C:\\out.lzh", {"a.txt"});
  EXPECT_FALSE(deleted.Succeeded());
  EXPECT_EQ(ReadHostFile(Host("out.lzh")), damaged);
}

TEST_F(WriteArchive, FailedAddIntoAMissingFolderCreatesNothing) {
  Put("src/a.txt", "a");
  const AddReport report = Add({"a.txt"}, PackMethod::Lh7, "C:\\no\\such\\folder\\out.lzh");
  EXPECT_FALSE(report.Succeeded());
  EXPECT_NE(report.win32, win::ERROR_SUCCESS);
  EXPECT_FALSE(fs::exists(Host("no")));
}

TEST_F(WriteArchive, NameThatDoesNotExistIsReportedNotAdded) {
  Put("src/a.txt", "a");
  const AddReport report = Add({"a.txt", "missing.txt"});
  ASSERT_TRUE(report.Succeeded());
  ASSERT_EQ(report.leftOut.size(), 1u);
  EXPECT_EQ(report.leftOut[0].reason, LeftOutReason::NotFound);
  EXPECT_EQ(report.leftOut[0].path, "C:\\src\\missing.txt");
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))), (std::vector<std::string>{"a.txt"}));
}

TEST_F(WriteArchive, NamesReachingOutsideTheBaseAreRefused) {
  Put("secret.txt", "outside the base folder");
  Put("src/a.txt", "a");
  const AddReport report = Add({"..\\secret.txt", "C:\\secret.txt", "a.txt"});
  ASSERT_TRUE(report.Succeeded());
  ASSERT_EQ(report.leftOut.size(), 2u);
  EXPECT_EQ(report.leftOut[0].reason, LeftOutReason::NotFound);
  EXPECT_EQ(report.leftOut[0].win32, win::ERROR_INVALID_NAME);
  EXPECT_EQ(report.leftOut[1].reason, LeftOutReason::NotFound);
  EXPECT_EQ(Paths(ReadArchive(Host("out.lzh"))), (std::vector<std::string>{"a.txt"}));
}

}  // namespace
}  // namespace pelko::lzh

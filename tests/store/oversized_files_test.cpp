// Stored files far larger than their layouts, as a damaged disk or a wrong
// copy can leave them: each reader keeps only what it can use, so memory does
// not follow the file's size. The files are sparse and cost no disk.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "program_folder_fixture.h"
#include "store/association_list.h"
#include "store/exclusion_lists.h"
#include "store/options_record.h"

namespace pelko::store {
namespace {

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

using OversizedFilesTest = testing::ProgramFolderTest;

TEST_F(OversizedFilesTest, HugeStoredFilesAreReadForWhatTheirLayoutsUse) {
  // Each file: its head, zeros up to 320 MB, then its tail.
  auto writeHuge = [this](const std::string& name, const std::string& head,
                          const std::string& tail) {
    WriteHostFile(name, head);
    std::filesystem::resize_file(HostPath(name), std::uintmax_t{320} << 20);
    std::ofstream(HostPath(name), std::ios::binary | std::ios::app) << tail;
  };
  OptionsRecord record;
  record.destinationFolder = "D:\\restore\\";
  writeHuge("PELKO.opt", EncodeOptionsRecord(record), "");
  writeHuge("ExtFiles.exc", std::string("\x01\0\0\0*.bak", 9), "");
  writeHuge("ExtFolder.exc", std::string("\x03tmp", 4), "");
  writeHuge("DISK1.txt", "C:\\a\r\n", "\r\nC:\\b\r\n");  // the zeros: one line, its text empty
  const long before = PeakKilobytes();

  EXPECT_EQ(ReadOptionsRecord(DialogOptionsDefaults()), record);
  EXPECT_EQ(ReadExcludedFilesList(), (ExcludedFilesList{1, {"*.bak"}}));
  EXPECT_EQ(ReadExcludedFoldersList(), (ExcludedFoldersList{3, {"tmp"}}));
  EXPECT_EQ(ReadAssociationList("DISK1"), (AssociationList{"C:\\a", "", "C:\\b"}));
  EXPECT_LT(PeakKilobytes() - before, 64 * 1024) << "kilobytes more at the peak";
}

}  // namespace
}  // namespace pelko::store

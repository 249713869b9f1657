// A fresh program folder (C:\PELKO\ on a temporary drive C:) for each test,
// with direct host access to the files the tool stores there.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "support/temp_folder.h"
#include "support/test_program_folder.h"

namespace pelko::store::testing {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::make_unique<test::TestProgramFolder>();
    folder_ = home_->HostPath();
  }
  void TearDown() override { home_.reset(); }

  // Host file names are UTF-8.
  std::filesystem::path HostPath(const std::string& utf8Name) const { return folder_ / utf8Name; }

  void WriteHostFile(const std::string& utf8Name, const std::string& bytes) const {
    test::WriteHostFile(HostPath(utf8Name).string(), bytes);
  }

  std::optional<std::string> ReadHostFile(const std::string& utf8Name) const {
    if (!HostFileExists(utf8Name)) return std::nullopt;
    return test::ReadHostFile(HostPath(utf8Name).string());
  }

  bool HostFileExists(const std::string& utf8Name) const {
    return std::filesystem::exists(HostPath(utf8Name));
  }

  std::size_t FileCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                  std::filesystem::directory_iterator()));
  }

  std::filesystem::path folder_;

 private:
  std::unique_ptr<test::TestProgramFolder> home_;
};

}  // namespace pelko::store::testing

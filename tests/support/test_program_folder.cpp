#include "support/test_program_folder.h"

#include <filesystem>

namespace pelko::test {

TestProgramFolder::TestProgramFolder()
    : root_("pelko-home"), cDrive_(root_.Sub("c-drive")), home_(cDrive_ + "/PELKO") {
  std::filesystem::create_directories(home_);
  environment_.push_back(std::make_unique<ScopedEnv>("PELKO_HOME", home_));
  environment_.push_back(std::make_unique<ScopedEnv>("PELKO_DRIVE_C", cDrive_));
  environment_.push_back(std::make_unique<ScopedEnv>("PELKO_DRIVE_A", std::nullopt));
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    environment_.push_back(
        std::make_unique<ScopedEnv>(std::string("PELKO_DRIVE_") + letter, std::nullopt));
  }
}

}  // namespace pelko::test

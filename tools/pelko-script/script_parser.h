// Reads a pelko-script file (UTF-8, one step a line) into scripted-user steps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/headless/scripted_user.h"

namespace pelko::script {

struct ParsedScript {
  std::vector<ui::headless::ScriptStep> steps;  // Run steps without their action yet
  std::string error;                            // "line 3: ..." when the script is unusable
};

ParsedScript ParseScript(std::string_view utf8Text);

}  // namespace pelko::script

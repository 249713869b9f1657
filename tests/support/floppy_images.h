// Blank floppy images made by mformat (an outside tool), for tests that put
// a disk in drive A:.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "support/run_command.h"

namespace pelko::test {

// A blank 360K FAT12 image; an empty label makes an unlabelled floppy.
inline void MakeFloppyImage(const std::string& hostPath, const std::string& label,
                            std::uint32_t serial) {
  char serialHex[9];
  std::snprintf(serialHex, sizeof serialHex, "%08X", static_cast<unsigned>(serial));
  std::string command = "rm -f " + ShellQuote(hostPath) + " && mformat -C -f 360 -i " +
                        ShellQuote(hostPath) + " -N " + serialHex;
  if (!label.empty()) command += " -v " + ShellQuote(label);
  command += " ::";
  CommandResult result = RunCommand(command);
  ASSERT_EQ(result.exitCode, 0) << result.output;
}

}  // namespace pelko::test

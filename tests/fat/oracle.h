// The independent tools that judge our images: fsck.fat, mtools and blkid,
// run on plain image files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelko::fat::test {

// Runs a shell command; the output when it fails is part of the message.
struct ToolRun {
  int exitCode;
  std::string output;
};
ToolRun RunTool(const std::string& command);

// Empty when `fsck.fat -n` finds nothing wrong; else its complaints. Two
// complaints fsck.fat 4.2 makes about valid Shift-JIS content are not
// counted: a label with bytes >= 0x80, and a short name holding a 0x5C or
// 0x7C trail byte.
std::string FsckProblems(const std::string& image);

// The root label as blkid reads it (byte exact, \xNN escapes undone).
std::string BlkidLabel(const std::string& image);
std::string BlkidSerial(const std::string& image);  // "XXXX-XXXX"
// Free clusters from mdir's "bytes free" line.
std::uint32_t MdirFreeClusters(const std::string& image, std::uint32_t clusterBytes);
// `mdir -b` names, without the "::/" prefix.
std::vector<std::string> MdirNames(const std::string& image);

void McopyIn(const std::string& image, const std::string& hostFile, const std::string& name);
void McopyOut(const std::string& image, const std::string& name, const std::string& hostFile);

std::vector<std::uint8_t> ReadBytes(const std::string& hostPath);
void WriteBytes(const std::string& hostPath, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed);

}  // namespace pelko::fat::test

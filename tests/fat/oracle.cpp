#include "oracle.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "support/run_command.h"

namespace pelko::fat::test {

using pelko::test::ShellQuote;

ToolRun RunTool(const std::string& command) {
  auto r = pelko::test::RunCommand(command);
  return {r.exitCode, r.output};
}

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  std::size_t e = s.find_last_not_of(' ');
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

bool HasHighByte(const std::string& s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return true;
  }
  return false;
}

}  // namespace

std::string FsckProblems(const std::string& image) {
  ToolRun r = RunTool("fsck.fat -n " + ShellQuote(image));
  std::vector<std::string> lines = Lines(r.output);
  std::string problems;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.empty() || StartsWith(l, "fsck.fat ") || l == "Leaving filesystem unchanged." ||
        StartsWith(l, image + ":")) {
      continue;
    }
    if (StartsWith(l, "Volume label ") && HasHighByte(l) && i + 1 < lines.size() &&
        Trim(lines[i + 1]) == "Auto-removing label.") {
      ++i;
      continue;
    }
    if (StartsWith(l, "/") && i + 3 < lines.size() &&
        StartsWith(Trim(lines[i + 1]), "Bad short file name (") &&
        (lines[i + 1].find('\\') != std::string::npos ||
         lines[i + 1].find('|') != std::string::npos) &&
        Trim(lines[i + 2]) == "Auto-renaming it." &&
        StartsWith(Trim(lines[i + 3]), "Renamed to FSCK")) {
      i += 3;
      continue;
    }
    problems += l + "\n";
  }
  if (r.exitCode != 0 && r.exitCode != 1)
    problems += "fsck.fat exit " + std::to_string(r.exitCode) + "\n";
  if (r.exitCode == 1 && problems.empty()) return "";
  if (r.exitCode != 0 && problems.empty()) problems = r.output;
  return problems;
}

namespace {

std::string BlkidValue(const std::string& image, const std::string& key) {
  ToolRun r = RunTool("blkid -p -o udev " + ShellQuote(image));
  for (const std::string& line : Lines(r.output)) {
    if (StartsWith(line, key + "=")) return line.substr(key.size() + 1);
  }
  return "";
}

// blkid's \xNN escapes back to bytes.
std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x') {
      out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

std::string BlkidLabel(const std::string& image) {
  return Unescape(BlkidValue(image, "ID_FS_LABEL_ENC"));
}
std::string BlkidSerial(const std::string& image) { return BlkidValue(image, "ID_FS_UUID"); }

std::uint32_t MdirFreeClusters(const std::string& image, std::uint32_t clusterBytes) {
  ToolRun r = RunTool("mdir -a -i " + ShellQuote(image) + " ::");
  for (const std::string& line : Lines(r.output)) {
    std::size_t at = line.find(" bytes free");
    if (at == std::string::npos) continue;
    std::string digits;
    for (char c : line.substr(0, at)) {
      if (c >= '0' && c <= '9') digits += c;
    }
    return static_cast<std::uint32_t>(std::stoull(digits) / clusterBytes);
  }
  ADD_FAILURE() << "mdir gave no free count:\n" << r.output;
  return 0;
}

std::vector<std::string> MdirNames(const std::string& image) {
  ToolRun r = RunTool("mdir -a -b -i " + ShellQuote(image) + " ::");
  std::vector<std::string> names;
  for (const std::string& line : Lines(r.output)) {
    if (StartsWith(line, "::/")) names.push_back(line.substr(3));
  }
  return names;
}

void McopyIn(const std::string& image, const std::string& hostFile, const std::string& name) {
  ToolRun r = RunTool("mcopy -D o -i " + ShellQuote(image) + " " + ShellQuote(hostFile) + " " +
                      ShellQuote("::" + name) + " </dev/null");
  ASSERT_EQ(r.exitCode, 0) << r.output;
}

void McopyOut(const std::string& image, const std::string& name, const std::string& hostFile) {
  ToolRun r = RunTool("rm -f " + ShellQuote(hostFile) + " && mcopy -n -i " + ShellQuote(image) +
                      " " + ShellQuote("::" + name) + " " + ShellQuote(hostFile) + " </dev/null");
  ASSERT_EQ(r.exitCode, 0) << r.output;
}

std::vector<std::uint8_t> ReadBytes(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& hostPath, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(gen());
  return bytes;
}

}  // namespace pelko::fat::test

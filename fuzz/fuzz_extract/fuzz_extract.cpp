// Any bytes as an archive, extracted into a folder of a temporary drive C:
// and then cut down by a delete. Afterwards nothing may exist outside the
// target folder but the archive itself: no file written through "..", an
// absolute or drive-letter name, or a link, and no temporary file left
// behind by the rewrite of the delete. What was extracted is then added to a
// new archive and extracted again: every file must come back as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "lzh/archive/add_files.h"
#include "lzh/archive/delete_entries.h"
#include "lzh/archive/extractor.h"

namespace {

namespace fs = std::filesystem;
using namespace pelko::lzh;

// Drive C: is <root>; the archive is C:\jail\in.lzh, the target C:\jail\out.
// Two empty levels above the root catch a name that climbs higher.
struct Jail {
  Jail() {
    char pattern[] = "/tmp/fuzz_extract.XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    top = pattern;
    root = top / "a" / "root";
    fs::create_directories(root / "jail");
    ::setenv("PELKO_DRIVE_C", root.c_str(), 1);
  }
  ~Jail() {
    std::error_code ignored;
    fs::remove_all(top, ignored);
  }
  fs::path top;
  fs::path root;
};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_extract: %s\n", what);
  std::abort();
}

// Everything below `top`, as paths relative to it.
std::vector<std::string> Everything(const fs::path& top) {
  std::vector<std::string> found;
  for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator();
       ++it) {
    Require(!it->is_symlink(), "a link was made");
    found.push_back(fs::relative(it->path(), top).string());
  }
  return found;
}

void RequireOnlyTheJail(const fs::path& top) {
  for (const std::string& path : Everything(top)) {
    const bool allowed = path == "a" || path == "a/root" || path == "a/root/jail" ||
                         path == "a/root/jail/in.lzh" || path == "a/root/jail/out" ||
                         path.rfind("a/root/jail/out/", 0) == 0 || path == "a/root/again" ||
                         path.rfind("a/root/again/", 0) == 0 || path == "a/root/re.lzh";
    if (!allowed) std::fprintf(stderr, "fuzz_extract: outside the target: %s\n", path.c_str());
    Require(allowed, "something was written outside the target folder");
  }
}

std::string Bytes(const fs::path& file) {
  std::string bytes;
  if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

// Adds what was extracted to C:\re.lzh and extracts that into C:\again.
void RoundTrip(const fs::path& root) {
  AddRequest add;
  add.archivePath = "C:\\re.lzh";
  add.baseFolder = "C:\\jail\\out\\";
  const AddReport added = AddToArchive(add);
  if (!added.Succeeded() || added.added.empty()) return;
  ExtractOptions options;
  options.targetFolder = "C:\\again";
  options.overwrite = Policy::Always;
  options.createFolder = Policy::Always;
  Require(ExtractArchive("C:\\re.lzh", options).Succeeded(), "our own archive did not extract");
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root / "again")) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const fs::path original = root / "jail" / "out" / fs::relative(entry.path(), root / "again");
    Require(Bytes(entry.path()) == Bytes(original), "a file changed on its way through an archive");
  }
  if (added.leftOut.empty()) {
    std::size_t extracted = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "jail" / "out")) {
      extracted += entry.is_regular_file() ? 1 : 0;
    }
    Require(files == extracted, "a file went missing on its way through an archive");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Jail jail;
  const fs::path archive = jail.root / "jail" / "in.lzh";
  {
    std::FILE* f = std::fopen(archive.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  ExtractOptions options;
  options.targetFolder = "C:\\jail\\out";
  options.overwrite = Policy::Always;
  options.createFolder = Policy::Always;
  options.resumeAfterBrokenHeader = size % 2 == 0;
  const ExtractReport report = ExtractArchive("C:\\jail\\in.lzh", options);
  RequireOnlyTheJail(jail.top);

  // The first stored name (and everything below it) out again.
  if (!report.entries.empty()) {
    (void)DeleteFromArchive("C:\\jail\\in.lzh", {report.entries.front().path});
    RequireOnlyTheJail(jail.top);
  }
  std::error_code ignored;
  if (fs::is_directory(jail.root / "jail" / "out", ignored)) {
    RoundTrip(jail.root);
    RequireOnlyTheJail(jail.top);
  }
  fs::remove_all(jail.root / "jail" / "out", ignored);
  fs::remove_all(jail.root / "again", ignored);
  fs::remove(jail.root / "re.lzh", ignored);
  return 0;
}

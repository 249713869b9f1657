// bench_lzh_backup_adds FOLDER N...
//
// For each N: N small files in FOLDER, then N Add commands (as a backup
// issues them, one per single-file list entry, in one session) into a fresh
// working copy. Prints "N seconds microseconds-per-entry archive-bytes".
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "archive/archive_commands.h"
#include "lzh/command/archiver_command.h"

namespace {

std::string OnC(const std::string& host) {
  std::string path = "C:" + host;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER N...\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  for (int a = 2; a < argc; ++a) {
    const int n = std::atoi(argv[a]);
    const std::string files = folder + "/files" + std::to_string(n);
    ::mkdir(files.c_str(), 0755);
    for (int i = 0; i < n; ++i) {
      std::ofstream(files + "/f" + std::to_string(i) + ".txt") << "file " << i << "\n";
    }
    const std::string workingCopy = OnC(folder + "/work" + std::to_string(n) + ".lzh");
    std::remove((folder + "/work" + std::to_string(n) + ".lzh").c_str());
    const auto start = std::chrono::steady_clock::now();
    pelko::lzh::ArchiverSession session;  // one backup, one session
    for (int i = 0; i < n; ++i) {
      const std::string entry = OnC(files + "/f" + std::to_string(i) + ".txt");
      const std::string command = pelko::archive::AddCommand(workingCopy, entry, "");
      pelko::lzh::ArchiverCommand(session, nullptr, command.c_str(), nullptr, 0);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct stat st {};
    ::stat((folder + "/work" + std::to_string(n) + ".lzh").c_str(), &st);
    std::printf("%d %.3f %.1f %lld\n", n, seconds, seconds * 1e6 / n,
                static_cast<long long>(st.st_size));
    std::fflush(stdout);
  }
  return 0;
}

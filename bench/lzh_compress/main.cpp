// bench_lzh_compress [CORPUS_FOLDER] [RUNS]
//
// Packs the benchmark corpus (text.tar, bin.dat, comp.gz, unpacked with xz
// into a temporary folder) into one archive per method, each in a process of
// its own so that its peak memory is its own, and runs gzip -6 (and jlha,
// when installed) on the same bytes. Speeds are input MiB per CPU second
// (user + system), the fairest figure on a busy machine; wall time is shown
// too. The best of RUNS runs counts.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lzh/archive/add_files.h"
#include "lzh/archive/archive_reader.h"
#include "lzh/codec/byte_sink.h"
#include "platform/file_stream.h"

namespace {

const char* const kFiles[] = {"text.tar", "bin.dat", "comp.gz"};

struct Measure {
  bool ok = false;
  double cpuSeconds = 0;
  double wallSeconds = 0;
  double peakMiB = 0;
  std::uint64_t outBytes = 0;
};

std::uint64_t FileSize(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

// Runs `work` in a child process and measures it.
Measure InChild(const std::function<int()>& work, const std::string& output) {
  Measure m;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::fflush(nullptr);
    ::_exit(work());
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return m;
  m.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                 usage.ru_stime.tv_usec / 1e6;
  m.peakMiB = usage.ru_maxrss / 1024.0;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  m.outBytes = FileSize(output);
  return m;
}

Measure Best(int runs, const std::function<Measure()>& once) {
  Measure best;
  for (int i = 0; i < runs; ++i) {
    const Measure m = once();
    if (!m.ok) return m;
    if (!best.ok || m.cpuSeconds < best.cpuSeconds) best = m;
  }
  return best;
}

int Exec(const std::vector<std::string>& argv, const std::string& folder,
         const std::string& stdoutTo) {
  if (::chdir(folder.c_str()) != 0) return 127;
  if (!stdoutTo.empty()) {
    const int fd = ::open(stdoutTo.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::dup2(fd, 1) < 0) return 127;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  ::execvp(args[0], args.data());
  return 127;
}

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Every entry decodes with its CRC: the sizes below are of a valid archive.
bool Verify(const std::string& windowsArchive) {
  auto file = pelko::win::OpenFile(windowsArchive, pelko::win::OpenMode::Read);
  if (!file) return false;
  pelko::lzh::ArchiveReader reader(*file);
  pelko::lzh::Entry entry;
  int entries = 0;
  pelko::lzh::ReadStep step;
  while ((step = reader.Next(entry)) == pelko::lzh::ReadStep::Entry) {
    pelko::lzh::NullSink sink;
    if (reader.Extract(entry, sink) != pelko::lzh::LzhError::None) return false;
    ++entries;
  }
  return step == pelko::lzh::ReadStep::End && entries == 3;
}

std::string Mark(bool met) { return met ? "yes" : "NO"; }

}  // namespace

int main(int argc, char** argv) {
  const std::string corpus = argc > 1 ? argv[1] : PELKO_BENCH_CORPUS;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  char pattern[] = "/tmp/bench-lzh-compress-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return 1;
  const std::string work = pattern;
  const std::string unpack = "xz -dc '" + corpus + "/text.tar.xz' > '" + work +
                             "/text.tar' && xz -dc '" + corpus + "/bin.dat.xz' > '" + work +
                             "/bin.dat' && cp '" + corpus + "/comp.gz' '" + work + "/'";
  if (std::system(unpack.c_str()) != 0) {
    std::fprintf(stderr, "cannot unpack the corpus from %s\n", corpus.c_str());
    return 1;
  }
  std::uint64_t inBytes = 0;
  for (const char* f : kFiles) inBytes += FileSize(work + "/" + f);
  ::setenv("PELKO_DRIVE_C", work.c_str(), 1);

  struct Row {
    std::string who;
    std::string method;
    Measure m;
  };
  std::vector<Row> rows;

  const std::vector<std::string> files(std::begin(kFiles), std::end(kFiles));
  rows.push_back({"gzip 1.x", "-6", Best(runs, [&] {
                    std::vector<std::string> args = {"gzip", "-6", "-c"};
                    args.insert(args.end(), files.begin(), files.end());
                    return InChild([&] { return Exec(args, work, work + "/out.gz"); },
                                   work + "/out.gz");
                  })});
  const std::pair<const char*, pelko::lzh::PackMethod> methods[] = {
      {"-lh5-", pelko::lzh::PackMethod::Lh5},
      {"-lh6-", pelko::lzh::PackMethod::Lh6},
      {"-lh7-", pelko::lzh::PackMethod::Lh7}};
  bool verified = true;
  for (const auto& [name, method] : methods) {
    const std::string archive = std::string("out") + (name + 1) + "lzh";
    const std::string host = work + "/" + archive;
    rows.push_back({"pelko", name, Best(runs, [&] {
                      ::unlink(host.c_str());
                      return InChild(
                          [&] {
                            pelko::lzh::AddRequest request;
                            request.archivePath = "C:\\" + archive;
                            request.baseFolder = "C:\\";
                            request.names = files;
                            request.options.method = method;
                            const auto report = pelko::lzh::AddToArchive(request);
                            return report.Succeeded() && report.leftOut.empty() ? 0 : 1;
                          },
                          host);
                    })});
    verified = verified && Verify("C:\\" + archive);
  }
  if (OnPath("jlha")) {
    for (const char* option : {"-c2qo5", "-c2qo7"}) {
      const std::string out = work + "/jlha.lzh";
      rows.push_back({"jlha", option + 4, Best(runs, [&] {
                        ::unlink(out.c_str());
                        std::vector<std::string> args = {"jlha", option, out};
                        args.insert(args.end(), files.begin(), files.end());
                        return InChild([&] { return Exec(args, work, ""); }, out);
                      })});
    }
  }

  const double gzipCpu = rows[0].m.cpuSeconds;
  std::printf("corpus: %s, %llu bytes in %zu files; best of %d run(s)\n\n", corpus.c_str(),
              static_cast<unsigned long long>(inBytes), files.size(), runs);
  std::printf(
      "| tool | method | out bytes | ratio | CPU s | wall s | MiB/CPU s | speed / gzip -6 | peak "
      "RSS MiB |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|\n");
  for (const Row& r : rows) {
    if (!r.m.ok) {
      std::printf("| %s | %s | failed | | | | | | |\n", r.who.c_str(), r.method.c_str());
      continue;
    }
    std::printf("| %s | %s | %llu | %.3f | %.3f | %.3f | %.1f | %.2fx | %.1f |\n", r.who.c_str(),
                r.method.c_str(), static_cast<unsigned long long>(r.m.outBytes),
                double(r.m.outBytes) / double(inBytes), r.m.cpuSeconds, r.m.wallSeconds,
                double(inBytes) / 1048576.0 / r.m.cpuSeconds, gzipCpu / r.m.cpuSeconds,
                r.m.peakMiB);
  }
  if (!OnPath("jlha")) std::printf("\njlha: not installed, not measured\n");
  std::printf("\nour archives decode with their CRCs: %s\n\n", verified ? "yes" : "NO");

  // The aims, from LHa for UNIX's figures on this corpus.
  auto find = [&](const char* method) -> const Measure& {
    for (const Row& r : rows) {
      if (r.who == "pelko" && r.method == method) return r.m;
    }
    return rows[0].m;
  };
  const Measure& lh5 = find("-lh5-");
  const Measure& lh7 = find("-lh7-");
  std::printf("| aim | wanted | measured | met |\n|---|---|---|---|\n");
  std::printf("| -lh7- size | <= 7,310,000 | %llu | %s |\n",
              static_cast<unsigned long long>(lh7.outBytes), Mark(lh7.outBytes <= 7310000).c_str());
  std::printf("| -lh7- speed | >= 0.37x gzip -6 | %.2fx | %s |\n", gzipCpu / lh7.cpuSeconds,
              Mark(gzipCpu / lh7.cpuSeconds >= 0.37).c_str());
  std::printf("| -lh5- size | <= 8,104,325 | %llu | %s |\n",
              static_cast<unsigned long long>(lh5.outBytes), Mark(lh5.outBytes <= 8104325).c_str());
  std::printf("| -lh5- speed | >= 1.2x gzip -6 | %.2fx | %s |\n", gzipCpu / lh5.cpuSeconds,
              Mark(gzipCpu / lh5.cpuSeconds >= 1.2).c_str());
  double peak = 0;
  for (const Row& r : rows) {
    if (r.who == "pelko") peak = std::max(peak, r.m.peakMiB);
  }
  std::printf("| peak memory | < 8 MiB | %.1f MiB | %s |\n", peak, Mark(peak < 8.0).c_str());

  std::system(("rm -rf '" + work + "'").c_str());
  return 0;
}

// bench_lzh_extract [CORPUS_DIR]
//
// Packs the benchmark corpus as -lh5- and -lh7- archives (with jlha when it
// is installed, else with this library's own encoder), then extracts each
// archive with our reader and with the installed LZH readers, and the same
// files with gzip -d, in one run. Prints a table next to the aim: at least
// 1.5x LHa for UNIX's extraction speed (about 1.1x gzip -d) and a peak
// memory under 8 MiB.
//
// The comparison uses CPU time (user+sys of the extracting process), which a
// busy machine disturbs far less than wall time; both are printed.
//
// bench_lzh_extract --extract ARCHIVE DIR   (what the "ours" rows run)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lzh/archive/extractor.h"
#include "lzh/archive/header_writer.h"
#include "lzh/codec/byte_sink.h"
#include "lzh/codec/crc16.h"
#include "lzh/codec/lh_encoder.h"
#include "platform/drive_table.h"

namespace {

using namespace pelko;

const std::vector<std::string> kFiles = {"text.tar", "bin.dat", "comp.gz"};
constexpr int kRuns = 3;
constexpr double kAimVersusGzip = 1.1;
constexpr double kAimPeakMiB = 8.0;

int ExtractMode(const std::string& archive, const std::string& folder) {
  const auto archivePath = win::ToWindowsPath(archive);
  const auto folderPath = win::ToWindowsPath(folder);
  if (!archivePath || !folderPath) return 2;
  lzh::ExtractOptions options;
  options.targetFolder = *folderPath;
  options.overwrite = lzh::Policy::Always;
  return lzh::ExtractArchive(*archivePath, options).Succeeded() ? 0 : 1;
}

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// An archive of the corpus files, packed by our own encoder (a file that
// does not shrink is stored, as the peers do).
bool MakeArchiveWithOurEncoder(const std::string& corpus, lzh::PackMethod method,
                               const std::string& archive) {
  std::string out;
  for (const auto& name : kFiles) {
    const std::string content = ReadFile(corpus + "/" + name);
    lzh::StringSink packed;
    lzh::LhEncoder encoder(method, packed);
    if (!encoder.Write(std::as_bytes(std::span(content.data(), content.size()))) ||
        !encoder.Finish())
      return false;
    lzh::Header h;
    const bool store = packed.bytes.size() >= content.size();
    const std::string id = store ? "-lh0-" : std::string(lzh::EncoderMethodOf(method).id);
    std::copy(id.begin(), id.end(), h.method.begin());
    h.packedSize = store ? content.size() : packed.bytes.size();
    h.originalSize = content.size();
    h.unixTime = 1704164646;
    h.crc = lzh::Crc16(std::as_bytes(std::span(content.data(), content.size())));
    h.path = name;
    std::string header;
    if (lzh::BuildLevel2Header(h, header) != lzh::HeaderWriteResult::Ok) return false;
    out += header + (store ? content : packed.bytes);
  }
  out.push_back('\0');
  std::ofstream(archive, std::ios::binary) << out;
  return true;
}

struct Measure {
  double seconds = 0;     // best wall time of kRuns
  double cpuSeconds = 0;  // best user+sys time: steadier on a busy machine
  double peakMiB = 0;
  bool ok = false;
};

// Runs `command` (in a fresh `outDir`) kRuns times: best wall time, and the
// peak RSS of the command's own process from GNU time.
Measure Time(const std::string& command, const std::string& outDir, const std::string& work) {
  Measure m;
  m.seconds = 1e9;
  m.cpuSeconds = 1e9;
  const std::string rss = work + "/rss.txt";
  for (int i = 0; i < kRuns; ++i) {
    Run("rm -rf " + Quote(outDir) + " && mkdir -p " + Quote(outDir));
    const auto start = std::chrono::steady_clock::now();
    const bool ok = Run("cd " + Quote(outDir) + " && /usr/bin/time -f '%M %U %S' -o " + Quote(rss) +
                        " " + command + " >/dev/null 2>&1");
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) return m;
    m.seconds = std::min(m.seconds, s);
    double kib = 0, user = 0, system = 0;
    std::istringstream(ReadFile(rss)) >> kib >> user >> system;
    m.peakMiB = kib / 1024.0;
    m.cpuSeconds = std::min(m.cpuSeconds, user + system);
  }
  m.ok = true;
  return m;
}

bool Have(const std::string& tool) { return Run("command -v " + tool + " >/dev/null 2>&1"); }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--extract") return ExtractMode(argv[2], argv[3]);
  const std::string corpusSource = argc > 1 ? argv[1] : PELKO_BENCH_CORPUS;
  char pattern[] = "/tmp/pelko-bench-lzh-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string work = pattern;
  const std::string corpus = work + "/corpus";
  const std::string self = [&] {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string(argv[0]);
  }();

  std::printf("# corpus: %s (unpacking into %s)\n", corpusSource.c_str(), work.c_str());
  if (!Run("mkdir -p " + Quote(corpus) + " && xz -dc " + Quote(corpusSource + "/text.tar.xz") +
           " > " + Quote(corpus + "/text.tar") + " && xz -dc " +
           Quote(corpusSource + "/bin.dat.xz") + " > " + Quote(corpus + "/bin.dat") + " && cp " +
           Quote(corpusSource + "/comp.gz") + " " + Quote(corpus))) {
    std::fprintf(stderr, "cannot unpack the corpus from %s\n", corpusSource.c_str());
    return 1;
  }
  std::uint64_t total = 0;
  std::string fileList;
  for (const auto& f : kFiles) {
    total += ReadFile(corpus + "/" + f).size();
    fileList += " " + f;
  }

  // The archives: jlha's if it is installed, else our own encoder's.
  const bool jlha = Have("jlha");
  std::printf("# archives made by %s\n",
              jlha ? "jlha" : "this library's encoder (jlha is not installed)");
  std::vector<std::pair<std::string, std::string>> archives = {{"lh5", work + "/corpus_lh5.lzh"},
                                                               {"lh7", work + "/corpus_lh7.lzh"}};
  for (const auto& [method, path] : archives) {
    const bool made =
        jlha ? Run("cd " + Quote(corpus) + " && jlha -c2qo" + method.substr(2) + " " + Quote(path) +
                   fileList + " >/dev/null 2>&1")
             : MakeArchiveWithOurEncoder(
                   corpus, method == "lh5" ? lzh::PackMethod::Lh5 : lzh::PackMethod::Lh7, path);
    if (!made) {
      std::fprintf(stderr, "cannot make the %s archive\n", method.c_str());
      return 1;
    }
  }
  std::string gzipped;
  for (const auto& f : kFiles) {
    Run("gzip -6 -n -c " + Quote(corpus + "/" + f) + " > " + Quote(work + "/" + f + ".gz"));
    gzipped += "gzip -dc " + Quote(work + "/" + f + ".gz") + " > " + f + "; ";
  }

  struct Row {
    std::string reader, archive, command;
  };
  std::vector<Row> rows;
  rows.push_back({"gzip -d", "gzip -6", "sh -c " + Quote(gzipped)});
  for (const auto& [method, path] : archives) {
    rows.push_back({"ours (pelko_lzh)", method, Quote(self) + " --extract " + Quote(path) + " ."});
    if (Have("lhasa")) rows.push_back({"lhasa", method, "lhasa xq " + Quote(path)});
    if (Have("7z")) rows.push_back({"7z", method, "7z x -y " + Quote(path)});
    if (Have("bsdtar")) rows.push_back({"bsdtar", method, "bsdtar -xf " + Quote(path)});
  }

  std::printf("# %llu bytes out per extraction, best of %d runs, wall time incl. process start\n\n",
              static_cast<unsigned long long>(total), kRuns);
  std::printf(
      "| reader | archive | best wall s | MiB/s wall | best CPU s | MiB/s CPU | peak RSS MiB | CPU "
      "speed vs gzip -d |\n"
      "|---|---|---|---|---|---|---|---|\n");
  double gzipSeconds = 0;
  double worstOursRatio = 1e9;
  double worstOursPeak = 0;
  for (const Row& row : rows) {
    const Measure m = Time(row.command, work + "/out", work);
    if (!m.ok) {
      std::printf("| %s | %s | failed | | | | | |\n", row.reader.c_str(), row.archive.c_str());
      if (row.reader.rfind("ours", 0) == 0) worstOursRatio = 0;
      continue;
    }
    if (row.reader == "gzip -d") gzipSeconds = m.cpuSeconds;
    const double ratio = gzipSeconds > 0 && m.cpuSeconds > 0 ? gzipSeconds / m.cpuSeconds : 0;
    if (row.reader.rfind("ours", 0) == 0) {
      worstOursRatio = std::min(worstOursRatio, ratio);
      worstOursPeak = std::max(worstOursPeak, m.peakMiB);
    }
    const double mib = static_cast<double>(total) / 1048576.0;
    std::printf("| %s | %s | %.3f | %.1f | %.3f | %.1f | %.1f | %.2fx |\n", row.reader.c_str(),
                row.archive.c_str(), m.seconds, mib / m.seconds, m.cpuSeconds,
                m.cpuSeconds > 0 ? mib / m.cpuSeconds : 0.0, m.peakMiB, ratio);
  }
  std::printf("\n## aim\n");
  std::printf("- speed: at least %.1fx gzip -d (= 1.5x LHa for UNIX): ours %.2fx -> %s\n",
              kAimVersusGzip, worstOursRatio, worstOursRatio >= kAimVersusGzip ? "met" : "NOT met");
  std::printf("- peak memory under %.0f MiB: ours %.1f MiB -> %s\n", kAimPeakMiB, worstOursPeak,
              worstOursPeak < kAimPeakMiB ? "met" : "NOT met");
  Run("rm -rf " + Quote(work));
  return 0;
}

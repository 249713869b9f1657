#include "floppy_commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "fat/block_device.h"
#include "fat/boot_sector.h"
#include "fat/fat_check.h"
#include "fat/fat_volume.h"
#include "fat/format.h"
#include "fat/volume_label.h"
#include "text/code_page.h"
#include "text/dos_time.h"

namespace pelko::floppy {
namespace {

int Error(const std::string& message) {
  std::fprintf(stderr, "pelko-floppy: %s\n", message.c_str());
  return 1;
}

std::string Describe(fat::ErrorCode code) {
  switch (code) {
    case win::ERROR_NOT_READY:
      return "no FAT floppy there (missing, unreadable or not FAT12/16)";
    case win::ERROR_WRITE_PROTECT:
      return "the image is read-only (write-protected)";
    case win::ERROR_LABEL_TOO_LONG:
      return "the label is longer than 11 bytes in Shift-JIS";
    case win::ERROR_INVALID_NAME:
      return "the label holds a character a volume label may not hold";
    case win::ERROR_DISK_FULL:
      return "the disk is full";
    case win::ERROR_FILE_CORRUPT:
      return "the file system is damaged";
    case win::ERROR_INVALID_PARAMETER:
      return "unsupported size";
    default:
      return "error " + std::to_string(code);
  }
}

std::string ToTerminal(const std::string& cp932) {
  if (auto utf8 = cp932::ToUtf8(cp932)) return *utf8;
  std::string escaped;
  for (unsigned char c : cp932) {
    char hex[8];
    std::snprintf(hex, sizeof hex, c < 0x80 ? "%c" : "\\x%02X", c);
    escaped += hex;
  }
  return escaped;
}

// A label typed on the command line, checked as Windows would check it.
std::optional<std::string> LabelFromUtf8(const std::string& utf8, std::string& problem) {
  auto cp932Label = cp932::FromUtf8(utf8);
  if (!cp932Label) {
    problem = "the label has characters with no Shift-JIS form";
    return std::nullopt;
  }
  auto checked = fat::MakeVolumeLabel(*cp932Label);
  if (!checked) {
    problem = Describe(checked.error());
    return std::nullopt;
  }
  return *checked;
}

// Opens (locked for `access`) and mounts, then runs `body` on the volume.
int WithVolume(const std::string& image, fat::Access access,
               const std::function<int(fat::FatVolume&)>& body) {
  auto device = fat::FileDevice::Open(image, access);
  if (!device) return Error(image + ": " + OpenProblem(image, device.error()));
  auto volume = fat::FatVolume::Mount(**device);
  if (!volume) return Error(image + ": " + Describe(volume.error()));
  return body(*volume);
}

std::string Serial(std::uint32_t serial) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X-%04X", serial >> 16, serial & 0xFFFF);
  return text;
}

// Each folder is entered once, known by its first cluster: on a damaged disk
// a folder may hold itself, an ancestor, or the same folder many times over.
struct Listing {
  fat::FatVolume& volume;
  std::set<std::uint32_t> entered{0};  // the root
  std::vector<std::string> leftOut;
};

int ListFolder(Listing& listing, const fat::Path& folder, const std::string& prefix) {
  auto items = listing.volume.List(folder);
  if (!items)
    return Error("cannot list " + (prefix.empty() ? std::string("the root") : prefix) + ": " +
                 Describe(items.error()));
  for (const fat::DirectoryItem& item : *items) {
    std::int64_t when = text::FromDosTime(item.entry.written);
    std::time_t t = static_cast<std::time_t>(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &tm);
    std::string size = item.entry.IsDirectory() ? "<DIR>" : std::to_string(item.entry.size);
    const std::string name = prefix + ToTerminal(item.name);
    std::printf("%10s  %s  %s\n", size.c_str(), date, name.c_str());
    if (!item.entry.IsDirectory()) continue;
    if (!listing.entered.insert(item.entry.firstCluster).second) {
      listing.leftOut.push_back(name + "/");
      continue;
    }
    fat::Path sub = folder;
    sub.push_back(item.name);
    if (int rc = ListFolder(listing, sub, name + "/"); rc != 0) return rc;
  }
  return 0;
}

std::string ProblemText(const fat::Problem& p) {
  std::string path = ToTerminal(p.path);
  switch (p.kind) {
    case fat::ProblemKind::CrossLinked:
      return path + " and " + ToTerminal(p.other) + " share clusters";
    case fat::ProblemKind::FolderReentered:
      return path + " is the folder " + ToTerminal(p.other) + " again (a loop)";
    case fat::ProblemKind::ChainLoops:
      return path + ": its cluster chain loops";
    case fat::ProblemKind::ChainLeavesVolume:
      return path + ": its cluster chain leaves the volume";
    case fat::ProblemKind::ChainBroken:
      return path + ": its cluster chain runs into a free or bad cluster";
    case fat::ProblemKind::SizeMismatch:
      return path + ": its size does not fit its cluster chain";
    case fat::ProblemKind::StrayLongName:
      return path + ": " + std::to_string(p.count) + " long-name piece(s) belong to no entry";
    case fat::ProblemKind::LostClusters:
      return std::to_string(p.count) + " lost cluster(s): marked used, owned by nothing";
    case fat::ProblemKind::FatCopiesDiffer:
      return "the FAT copies differ (the first is intact)";
    case fat::ProblemKind::FirstFatDamaged:
      return "the FAT copies differ and the first is damaged";
  }
  return path;
}

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

void WarnWhenOverridden() {
  if (const char* drive = std::getenv("PELKO_DRIVE_A"); drive && *drive) {
    std::fprintf(stderr,
                 "pelko-floppy: warning: PELKO_DRIVE_A is set (%s); it wins over A.img in the "
                 "program folder\n",
                 drive);
  }
}

// Why formatting could not start: the open's reasons, or the format's own.
std::string FormatProblem(const std::string& image, fat::ErrorCode code) {
  switch (code) {
    case win::ERROR_ACCESS_DENIED:
    case win::ERROR_SHARING_VIOLATION:
    case win::ERROR_NOT_SUPPORTED:
      return OpenProblem(image, code);
    default:
      return Describe(code);
  }
}

// Drive A: takes anything that might hold a floppy, a drive without a disk
// included, but never a device larger than a floppy. What it cannot read now
// is said in a warning.
bool CheckInsertable(const std::string& image, const std::string& target) {
  auto device = fat::FileDevice::Open(target, fat::Access::Read);
  if (!device && device.error() == win::ERROR_NOT_SUPPORTED) {
    Error(image + ": " + OpenProblem(target, device.error()));
    return false;
  }
  if (!device && device.error() == win::ERROR_ACCESS_DENIED) {
    std::fprintf(stderr, "pelko-floppy: warning: %s: %s\n", image.c_str(),
                 OpenProblem(target, device.error()).c_str());
  } else if (!device || !fat::FatVolume::Mount(**device)) {
    std::fprintf(
        stderr,
        "pelko-floppy: warning: %s holds no FAT volume; drive A: will say there is no disk\n",
        image.c_str());
  }
  return true;
}

}  // namespace

int Format(const std::string& image, const FormatOptions& options) {
  auto bpb = fat::StandardFloppy(options.sizeKiB);
  if (!bpb) {
    return Error("unsupported size " + std::to_string(options.sizeKiB) +
                 " (160 180 320 360 720 1200 1440 2880)");
  }
  std::string problem;
  auto label = LabelFromUtf8(options.labelUtf8, problem);
  if (!label) return Error(problem);
  auto plan = fat::PlanVolume(*bpb);
  if (!plan) return Error(Describe(plan.error()));
  // DOS made the serial from the date and time of formatting.
  std::uint32_t serial = options.serial
                             ? *options.serial
                             : static_cast<std::uint32_t>(std::time(nullptr)) * 2654435761u ^
                                   static_cast<std::uint32_t>(::getpid());
  auto device = fat::FileDevice::CreateForFormat(image, std::uint64_t{options.sizeKiB} * 1024);
  if (!device) return Error(image + ": " + FormatProblem(image, device.error()));
  if (fat::Status s = fat::FormatVolume(**device, *plan, *label, serial); !s)
    return Error(image + ": " + Describe(s.code));
  return 0;
}

namespace {

// Why the image holds no FAT volume, when its boot sector is what refuses it.
std::optional<std::string> BootSectorProblem(const std::string& image) {
  auto device = fat::FileDevice::Open(image, fat::Access::Read);
  if (!device) return std::nullopt;
  std::optional<fat::BootSectorRefusal> refusal = fat::WhyNotFat(**device);
  if (!refusal) return std::nullopt;
  return std::string("not a FAT12/16 volume: ") + fat::BootSectorRefusalText(*refusal);
}

}  // namespace

int Info(const std::string& image) {
  if (std::optional<std::string> problem = BootSectorProblem(image)) {
    return Error(image + ": " + *problem);
  }
  return WithVolume(image, fat::Access::Read, [](fat::FatVolume& v) {
    auto label = v.Label();
    if (!label) return Error(Describe(label.error()));
    std::uint64_t clusterBytes = v.Boot().ClusterBytes();
    std::printf("label:  %s\n", ToTerminal(*label).c_str());
    std::printf("serial: %s\n", Serial(v.Boot().serial).c_str());
    std::printf("free:   %llu bytes\n",
                static_cast<unsigned long long>(v.FreeClusters()) * clusterBytes);
    std::printf("total:  %llu bytes\n",
                static_cast<unsigned long long>(v.TotalClusters()) * clusterBytes);
    return 0;
  });
}

int Label(const std::string& image, const std::optional<std::string>& labelUtf8) {
  std::string problem;
  auto label = LabelFromUtf8(labelUtf8.value_or(""), problem);
  if (!label) return Error(problem);
  return WithVolume(image, fat::Access::Write, [&](fat::FatVolume& v) {
    if (fat::Status s = v.SetLabel(*label); !s) return Error(image + ": " + Describe(s.code));
    return 0;
  });
}

int List(const std::string& image) {
  return WithVolume(image, fat::Access::Read, [](fat::FatVolume& v) {
    Listing listing{v, {0}, {}};
    int rc = ListFolder(listing, {}, "");
    for (const std::string& folder : listing.leftOut) {
      std::fprintf(stderr,
                   "pelko-floppy: left out %s: a folder listed before (the disk is damaged)\n",
                   folder.c_str());
    }
    return rc;
  });
}

int Check(const std::string& image, bool repair) {
  auto device = fat::FileDevice::Open(image, repair ? fat::Access::Write : fat::Access::Read);
  constexpr int kUnreadable = 3;
  if (!device) {
    Error(image + ": " + OpenProblem(image, device.error()));
    return kUnreadable;
  }
  auto report = repair ? fat::RepairVolume(**device) : fat::CheckVolume(**device);
  if (!report) {
    Error(image + ": " + Describe(report.error()));
    return kUnreadable;
  }
  for (const fat::Problem& p : report->problems) {
    std::printf("%s%s\n", ProblemText(p).c_str(), p.repaired ? " - repaired" : "");
  }
  if (report->Sound()) {
    std::printf("%s: sound\n", image.c_str());
    return 0;
  }
  std::printf("%s: damaged%s\n", image.c_str(),
              report->SafeToWrite() ? "" : "; it will not be written until repaired");
  return 1;
}

int Insert(const std::string& home, const std::string& image) {
  char* real = ::realpath(image.c_str(), nullptr);
  if (real == nullptr) return Error(image + ": " + std::strerror(errno));
  std::string target = real;
  std::free(real);
  if (!CheckInsertable(image, target)) return 1;
  std::string link = home + "/A.img";
  if (Exists(link) && !IsLink(link)) {
    return Error(link + " is a real image, not a link; move it away before inserting another");
  }
  // A new link renamed over the old one: the drive is never seen half-changed.
  std::string fresh = link + ".new." + std::to_string(::getpid());
  ::unlink(fresh.c_str());
  if (::symlink(target.c_str(), fresh.c_str()) != 0)
    return Error(fresh + ": " + std::strerror(errno));
  if (::rename(fresh.c_str(), link.c_str()) != 0) {
    int error = errno;
    ::unlink(fresh.c_str());
    return Error(link + ": " + std::strerror(error));
  }
  WarnWhenOverridden();
  return 0;
}

int Eject(const std::string& home) {
  std::string link = home + "/A.img";
  if (!Exists(link)) return 0;  // the drive is empty already
  if (!IsLink(link)) return Error(link + " is a real image, not a link; it is left alone");
  if (::unlink(link.c_str()) != 0) return Error(link + ": " + std::strerror(errno));
  WarnWhenOverridden();
  return 0;
}

std::string CurrentDriveA(const std::string& home) {
  if (const char* drive = std::getenv("PELKO_DRIVE_A"); drive && *drive) return drive;
  return home + "/A.img";
}

}  // namespace pelko::floppy

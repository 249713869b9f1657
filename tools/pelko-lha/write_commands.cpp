// pelko-lha a and d: add files and folders (with everything below them) to
// an archive, and delete entries from it.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "lzh/archive/add_files.h"
#include "lzh/archive/delete_entries.h"
#include "lzh/codec/encoder_method.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::lha {
namespace {

// A host path as given, made absolute without following links (the named
// item itself may be a link, to be reported rather than followed).
std::string Absolute(const std::string& hostPath) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(hostPath, error).lexically_normal();
  std::string text = path.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// "C:\dir\name" -> base "C:\dir\", name "name".
bool SplitBase(const std::string& windowsPath, std::string& base, std::string& name) {
  const std::size_t slash = cp932::FindLastBackslash(windowsPath);
  if (slash == std::string::npos || slash + 1 == windowsPath.size()) return false;
  base = windowsPath.substr(0, slash + 1);
  name = windowsPath.substr(slash + 1);
  return true;
}

void PrintLeftOut(const std::vector<lzh::LeftOutItem>& leftOut) {
  if (leftOut.empty()) return;
  std::cerr << ForTerminal(lzh::LeftOutWarningText(leftOut)) << "\n";
}

std::string Ratio(std::uint64_t packed, std::uint64_t original) {
  if (original == 0) return "";
  char text[32];
  std::snprintf(text, sizeof text, " %5.1f%%",
                100.0 * static_cast<double>(packed) / static_cast<double>(original));
  return text;
}

}  // namespace

int RunAdd(const std::vector<std::string>& args) {
  lzh::AddOptions options;
  std::vector<std::string> words;
  for (const std::string& arg : args) {
    if (auto method = lzh::PackMethodFromSwitch(arg)) {
      options.method = *method;
    } else if (!arg.empty() && arg[0] == '-' && arg.size() > 1) {
      PrintError("unknown switch " + arg + " (known: -lh5, -lh6, -lh7)");
      return 2;
    } else {
      words.push_back(arg);
    }
  }
  if (words.size() < 2) {
    PrintError("usage: a ARCHIVE [-lh5|-lh6|-lh7] FILE...");
    return 2;
  }
  const auto archive = WindowsPathOf(Absolute(words[0]));
  if (!archive) return 1;

  // Consecutive files in one folder share one rebuild of the archive.
  std::vector<lzh::AddRequest> requests;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const auto path = WindowsPathOf(Absolute(words[i]));
    if (!path) return 1;
    std::string base;
    std::string name;
    if (!SplitBase(*path, base, name)) {
      PrintError(words[i] + ": cannot add a whole drive");
      return 2;
    }
    if (requests.empty() || requests.back().baseFolder != base) {
      lzh::AddRequest request;
      request.archivePath = *archive;
      request.baseFolder = base;
      request.options = options;
      requests.push_back(std::move(request));
    }
    requests.back().names.push_back(name);
  }

  bool ok = true;
  for (const lzh::AddRequest& request : requests) {
    const lzh::AddReport report = lzh::AddToArchive(request);
    for (const lzh::AddedItem& item : report.added) {
      std::printf("%s - %s %llu -> %llu%s%s\n", ForTerminal(item.storedName).c_str(),
                  item.method.c_str(), static_cast<unsigned long long>(item.originalSize),
                  static_cast<unsigned long long>(item.packedSize),
                  Ratio(item.packedSize, item.originalSize).c_str(),
                  item.replaced ? " (replaced)" : "");
    }
    PrintLeftOut(report.leftOut);
    if (!report.leftOut.empty()) ok = false;
    if (!report.Succeeded()) {
      if (report.archiveError != lzh::LzhError::None) {
        PrintError("archive unchanged: " + std::string(lzh::Describe(report.archiveError)));
      } else {
        PrintSystemError("archive unchanged", report.win32);
      }
      return 1;
    }
  }
  return ok ? 0 : 1;
}

int RunDelete(const std::vector<std::string>& args) {
  if (args.size() < 2) {
    PrintError("usage: d ARCHIVE NAME...");
    return 2;
  }
  const auto archive = WindowsPathOf(Absolute(args[0]));
  if (!archive) return 1;
  std::vector<std::string> names;
  for (std::size_t i = 1; i < args.size(); ++i) {
    // Names are typed in UTF-8; the archive holds CP932.
    auto name = cp932::FromUtf8(args[i]);
    if (!name) {
      PrintError(args[i] + ": no Shift-JIS form");
      return 2;
    }
    names.push_back(*name);
  }
  const lzh::DeleteReport report = lzh::DeleteFromArchive(*archive, names);
  if (!report.Succeeded()) {
    if (report.archiveError != lzh::LzhError::None) {
      PrintError("archive unchanged: " + std::string(lzh::Describe(report.archiveError)));
    } else {
      PrintSystemError("archive unchanged", report.win32);
    }
    return 1;
  }
  for (const std::string& name : report.deleted)
    std::printf("%s - deleted\n", ForTerminal(name).c_str());
  for (const std::string& name : report.unmatched)
    PrintError("no entry matches " + ForTerminal(name));
  return report.unmatched.empty() ? 0 : 1;
}

}  // namespace pelko::lha

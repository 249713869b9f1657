#include "store/association_list.h"

#include <algorithm>

#include "platform/file_services.h"
#include "platform/program_folder.h"
#include "store/record_bytes.h"
#include "store/text_lines.h"
#include "text/code_page.h"
#include "text/name_rules.h"
#include "text/win_error.h"

namespace pelko::store {
namespace {

constexpr std::string_view kListExtension = ".txt";

std::string ListFileName(std::string_view label) {
  return std::string(label) + std::string(kListExtension);
}

// The name of an existing list for the file name, preferring the exact bytes;
// nullopt when none exists (or the folder cannot be listed).
std::optional<std::string> FindExistingListName(std::string_view fileName) {
  auto folder = win::ProgramFolder();
  if (!folder) return std::nullopt;
  std::vector<win::FindData> entries;
  std::size_t leftOut = 0;
  if (!win::ListFolder(*folder, entries, leftOut)) return std::nullopt;
  std::optional<std::string> found;
  for (const win::FindData& entry : entries) {
    if (entry.name == fileName) return entry.name;
    if (cp932::EqualIgnoringCase(entry.name, fileName) && (!found || entry.name < *found)) {
      found = entry.name;  // the smallest, so that the choice never varies
    }
  }
  return found;
}

bool HoldsLineBreakOrNul(std::string_view entry) {
  return entry.find('\n') != std::string_view::npos || entry.find('\0') != std::string_view::npos;
}

}  // namespace

bool IsUsableLabelName(std::string_view label) {
  if (label == "." || label == "..") return false;
  return !cp932::HoldsForbiddenCharacter(label, cp932::NameRule::FileName);
}

std::string AssociationListPath(std::string_view label) {
  if (!IsUsableLabelName(label)) return {};
  std::string fileName = ListFileName(label);
  if (auto existing = FindExistingListName(fileName)) fileName = *existing;
  return win::ProgramFolderPath(fileName);
}

std::optional<AssociationList> ReadAssociationList(std::string_view label) {
  std::string path = AssociationListPath(label);
  AssociationList entries;
  if (path.empty() || !ReadTextLines(path, entries)) return std::nullopt;
  return entries;
}

bool WriteAssociationList(std::string_view label, const AssociationList& entries) {
  if (!IsUsableLabelName(label)) return win::Fail(win::ERROR_INVALID_NAME);
  if (std::any_of(entries.begin(), entries.end(), HoldsLineBreakOrNul)) {
    return win::Fail(win::ERROR_INVALID_DATA);
  }
  std::string path = AssociationListPath(label);
  if (path.empty()) return win::Fail(win::ERROR_PATH_NOT_FOUND);
  std::string text;
  for (const std::string& entry : entries) {
    text += entry;
    text += "\r\n";
  }
  return WriteStoredFile(path, text);
}

bool RenameAssociationList(std::string_view oldLabel, std::string_view newLabel) {
  if (!IsUsableLabelName(oldLabel) || !IsUsableLabelName(newLabel)) {
    return win::Fail(win::ERROR_INVALID_NAME);
  }
  auto source = FindExistingListName(ListFileName(oldLabel));
  if (!source) return win::Fail(win::ERROR_FILE_NOT_FOUND);
  std::string targetName = ListFileName(newLabel);
  if (auto existing = FindExistingListName(targetName)) {
    // Only the list itself may answer to the new name: then it is a change
    // of letter case, which Windows allows as a rename of the same file.
    if (!cp932::EqualIgnoringCase(*source, targetName)) {
      return win::Fail(win::ERROR_ALREADY_EXISTS);
    }
    if (*existing == targetName && *source == targetName) return true;
    if (*existing != *source) return win::Fail(win::ERROR_ALREADY_EXISTS);
  }
  return win::MoveFile(win::ProgramFolderPath(*source), win::ProgramFolderPath(targetName));
}

bool DeleteAssociationList(std::string_view label) {
  if (!IsUsableLabelName(label)) return win::Fail(win::ERROR_INVALID_NAME);
  auto existing = FindExistingListName(ListFileName(label));
  if (!existing) return win::Fail(win::ERROR_FILE_NOT_FOUND);
  return win::DeleteFile(win::ProgramFolderPath(*existing));
}

SplitEntry SplitAssociationEntry(std::string_view entry) {
  std::size_t slash = cp932::FindLastBackslash(entry);
  if (slash == std::string_view::npos) return {std::string(), std::string(entry)};
  return {std::string(entry.substr(0, slash + 1)), std::string(entry.substr(slash + 1))};
}

}  // namespace pelko::store

// The options dialog (template 132): how restores extract, where files that
// belong to no association go, and which names every backup leaves out. It
// shows `PELKO.opt`, `ExtFiles.exc` and `ExtFolder.exc` and writes all three
// on OK.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ui/dialog.h"

namespace pelko::dialogs {

inline constexpr int IDC_ADD_EXCLUDED_FILE = 1002;
inline constexpr int IDC_ADD_EXCLUDED_FOLDER = 1003;
inline constexpr int IDC_DELETE_EXCLUDED_FILES = 1004;
inline constexpr int IDC_DELETE_EXCLUDED_FOLDERS = 1005;
inline constexpr int IDC_DESTINATION = 1008;
inline constexpr int IDC_ALWAYS_OVERWRITE = 1010;
inline constexpr int IDC_CONFIRM_OVERWRITE = 1011;
inline constexpr int IDC_NEVER_OVERWRITE = 1012;
inline constexpr int IDC_ALWAYS_CREATE = 1014;
inline constexpr int IDC_CONFIRM_CREATE = 1015;
inline constexpr int IDC_NEVER_CREATE = 1016;
inline constexpr int IDC_EXTRACT_UNASSOCIATED = 1018;
inline constexpr int IDC_BROWSE = 1019;
inline constexpr int IDC_ARCHIVE_FORMAT = 1020;
inline constexpr int IDC_IGNORE_BROKEN_HEADERS = 1021;
inline constexpr int IDC_EXCLUDE_NAMES = 1022;
inline constexpr int IDC_NEW_EXCLUDED_FILE = 1023;
inline constexpr int IDC_NEW_EXCLUDED_FOLDER = 1024;
inline constexpr int IDC_EXCLUDED_FILES = 1026;
inline constexpr int IDC_EXCLUDED_FOLDERS = 1027;
inline constexpr int IDC_SEARCH_DEPTH = 1028;
inline constexpr int IDC_KEEP_NEWER = 1029;

class COptionsDialog : public ui::Dialog {
 public:
  COptionsDialog();

  std::string destination;
  std::string newExcludedFile;
  std::string newExcludedFolder;
  int searchDepth = 5;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  std::span<const ui::CommandEntry> CommandTable() const override;

 private:
  void LoadOptionsRecord();
  void LoadExcludedFiles();
  void LoadExcludedFolders();
  void SaveOptionsRecord();
  void SaveExcludedFiles();
  void SaveExcludedFolders();

  void OnDestinationRule();
  void OnBrowse();
  void OnAddExcludedFile();
  void OnDeleteExcludedFiles();
  void OnExclusionRule();
  void OnAddExcludedFolder();
  void OnDeleteExcludedFolders();
  void AddExcludedEntry(std::string& newEntry, int editId, int listId);
};

// The text with every single-byte blank taken out (" a b " -> "ab").
std::string RemoveBlanks(std::string_view text);

}  // namespace pelko::dialogs

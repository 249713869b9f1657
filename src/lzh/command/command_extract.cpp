// e: entries written under their base folder; t: entries decoded and checked.
#include <memory>
#include <set>

#include "lzh/archive/extractor.h"
#include "lzh/archive/memory_stream.h"
#include "lzh/archive/path_names.h"
#include "lzh/command/command_runs.h"
#include "lzh/command/command_selection.h"
#include "platform/file_stream.h"
#include "res/texts_archiver.h"
#include "text/win_error.h"

namespace pelko::lzh {
namespace {

std::string_view OutcomeText(const EntryReport& entry, bool testOnly, ReportLine& kind) {
  kind = ReportLine::Error;
  switch (entry.outcome) {
    case EntryOutcome::Extracted:
      kind = ReportLine::Done;
      return testOnly ? res::kArchiverTested : res::kArchiverExtracted;
    case EntryOutcome::FolderCreated:
      kind = ReportLine::Done;
      return testOnly ? res::kArchiverTested : res::kArchiverFolderMade;
    case EntryOutcome::KeptExisting:
      kind = ReportLine::Skipped;
      return res::kArchiverSkippedExisting;
    case EntryOutcome::KeptNewer:
      kind = ReportLine::Skipped;
      return res::kArchiverSkippedNewer;
    case EntryOutcome::RefusedUnsafeName:
      return res::kArchiverUnsafeName;
    case EntryOutcome::RefusedLink:
      return res::kArchiverLink;
    case EntryOutcome::DecodeFailed:
      return entry.error == LzhError::UnknownMethod ? res::kArchiverUnknownMethod
                                                    : res::kArchiverDamaged;
    case EntryOutcome::WriteFailed:
      return res::kArchiverWriteFailed;
  }
  return res::kArchiverDamaged;
}

class ExtractRun {
 public:
  ExtractRun(const ParsedCommand& command, CommandReport& report, bool testOnly)
      : command_(command), report_(report), testOnly_(testOnly) {}

  // One pass over the archive per base folder; Cancel ends them all.
  void Run() {
    for (const TargetGroup& group : command_.groups) {
      if (!RunGroup(group)) return;
    }
  }

  // t: every name, wherever it stood, in one pass.
  void RunTest() { RunGroup(TargetGroup{"", NamesOfCommand(command_)}); }

 private:
  ExtractOptions Options(const TargetGroup& group) const {
    const CommandSwitches& s = command_.switches;
    ExtractOptions options;
    options.targetFolder = FolderOfBase(group.baseFolder);
    options.selection = group.names;
    options.keepPaths = true;  // stored folders come back below the base folder
    options.overwrite = AnsweredPolicy(s.overwrite, s.answerYes);
    options.createFolder = AnsweredPolicy(s.createFolder, s.answerYes);
    options.keepNewer = s.keepNewer;
    options.resumeAfterBrokenHeader = s.resumeAfterBrokenHeader;
    options.testOnly = testOnly_;
    return options;
  }

  bool RunGroup(const TargetGroup& group) {
    auto archive = win::OpenFile(command_.archive, win::OpenMode::Read);
    if (!archive) {
      report_.Add(ReportLine::Error, res::kArchiverCannotOpenArchive,
                  {EscapeForDisplay(command_.archive)});
      return false;
    }
    ExtractOptions options = Options(group);
    ExtractReport result;
    if (!command_.switches.withEverythingBelow && !group.names.empty()) {
      ExactSelection exact;
      SelectExactly(*archive, group.names, options.resumeAfterBrokenHeader, exact);
      options.selection.clear();
      MemoryStream selected(std::move(exact.archiveBytes));
      result = ExtractArchive(selected, options);
      result.brokenHeaders = std::move(exact.brokenHeaders);
      result.unmatched = std::move(exact.unmatched);
    } else {
      result = ExtractArchive(*archive, options);
    }
    return Report(group, options, result);
  }

  // False when the command must stop here.
  bool Report(const TargetGroup& group, const ExtractOptions& options,
              const ExtractReport& result) {
    if (result.openError != win::ERROR_SUCCESS) return ReportTargetFolder(group, options, result);
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
      const EntryReport& entry = result.entries[i];
      const std::string name = EscapeForDisplay(entry.path);
      const bool stoppedHere = result.cancelled && i + 1 == result.entries.size() &&
                               entry.outcome == EntryOutcome::KeptExisting;
      if (stoppedHere) {
        report_.Add(ReportLine::Note, res::kArchiverStoppedHere, {name});
        continue;
      }
      ReportLine kind;
      const std::string_view text = OutcomeText(entry, testOnly_, kind);
      report_.Add(kind, text, {name});
    }
    for (const BrokenHeader& broken : result.brokenHeaders) {
      if (!brokenSeen_.insert(broken.offset).second) continue;  // every pass meets it again
      report_.Add(ReportLine::Error,
                  options.resumeAfterBrokenHeader ? res::kArchiverBrokenHeaderSkipped
                                                  : res::kArchiverBrokenHeaderStopped,
                  {std::to_string(broken.offset)});
    }
    for (const std::string& name : result.unmatched) {
      report_.Add(ReportLine::Skipped, res::kArchiverSkippedNotInArchive, {EscapeForDisplay(name)});
    }
    if (result.cancelled) report_.MarkCancelled();
    return !result.cancelled;
  }

  // The folder could not be used: every name of the group is skipped with it.
  bool ReportTargetFolder(const TargetGroup& group, const ExtractOptions& options,
                          const ExtractReport& result) {
    const std::string folder = EscapeForDisplay(options.targetFolder);
    if (result.cancelled) {
      report_.Add(ReportLine::Note, res::kArchiverStoppedHere, {folder});
      report_.MarkCancelled();
      return false;
    }
    if (result.openError == win::ERROR_PATH_NOT_FOUND) {
      if (group.names.empty())
        report_.Add(ReportLine::Skipped, res::kArchiverSkippedNoFolder, {folder});
      for (const std::string& name : group.names) {
        report_.Add(ReportLine::Skipped, res::kArchiverSkippedNoFolder,
                    {EscapeForDisplay(group.baseFolder + name)});
      }
      return true;
    }
    report_.Add(ReportLine::Error,
                result.openError == win::ERROR_DIRECTORY ? res::kArchiverNotAFolder
                                                         : res::kArchiverCannotMakeFolder,
                {folder});
    return true;
  }

  const ParsedCommand& command_;
  CommandReport& report_;
  bool testOnly_;
  std::set<std::uint64_t> brokenSeen_;
};

}  // namespace

std::string FolderOfBase(const std::string& baseFolder) {
  if (baseFolder.size() == 2 && baseFolder[1] == ':') return baseFolder + '\\';
  return baseFolder;
}

void RunExtractCommand(const ParsedCommand& command, CommandReport& report) {
  ExtractRun(command, report, false).Run();
}

void RunTestCommand(const ParsedCommand& command, CommandReport& report) {
  ExtractRun(command, report, true).RunTest();
}

}  // namespace pelko::lzh

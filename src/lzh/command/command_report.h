// The report of one archive command: a line per entry (done, skipped and why,
// error and why), then a summary line; CP932, lines ended with CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "lzh/command/command_line.h"

namespace pelko::lzh {

enum class ReportLine { Done, Skipped, Error, Note };

class CommandReport {
 public:
  explicit CommandReport(CommandKind kind) : kind_(kind) {}

  // `utf8Template` is a text of res/ whose %s take the CP932 arguments in order.
  void Add(ReportLine kind, std::string_view utf8Template,
           std::initializer_list<std::string_view> arguments = {});
  // The command was stopped by Cancel (its line is added separately).
  void MarkCancelled() { cancelled_ = true; }
  // The command line could not be used: nothing ran.
  void MarkNotRun() { notRun_ = true; }

  bool Cancelled() const { return cancelled_; }
  std::size_t Count(ReportLine kind) const;

  // Every line and the summary.
  std::string Text() const;
  // kArchiverOk ... kArchiverBadCommandLine.
  int Result() const;

 private:
  CommandKind kind_;
  std::string lines_;
  std::size_t done_ = 0;
  std::size_t skipped_ = 0;
  std::size_t errors_ = 0;
  bool cancelled_ = false;
  bool notRun_ = false;
};

// A res/ text converted to CP932 with each %s replaced by the next argument.
std::string FormatReportText(std::string_view utf8Template,
                             std::initializer_list<std::string_view> arguments);

// Copies the report into the caller's buffer, NUL-terminated, cut so that no
// double-byte character is split. Nothing happens for a null buffer or size 0.
void CopyReport(std::string_view text, char* output, std::size_t outputSize);

}  // namespace pelko::lzh

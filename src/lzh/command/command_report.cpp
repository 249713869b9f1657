#include "lzh/command/command_report.h"

#include <cstring>

#include "lzh/command/archiver_command.h"
#include "res/texts_archiver.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string_view SummaryTemplate(CommandKind kind) {
  switch (kind) {
    case CommandKind::Add:
      return res::kArchiverSummaryAdd;
    case CommandKind::Extract:
      return res::kArchiverSummaryExtract;
    case CommandKind::Delete:
      return res::kArchiverSummaryDelete;
    case CommandKind::List:
      return res::kArchiverSummaryList;
    case CommandKind::Test:
      return res::kArchiverSummaryTest;
  }
  return res::kArchiverSummaryExtract;
}

}  // namespace

std::string FormatReportText(std::string_view utf8Template,
                             std::initializer_list<std::string_view> arguments) {
  const std::string text = cp932::FromUtf8Literal(utf8Template);
  std::string out;
  auto next = arguments.begin();
  for (std::size_t i = 0; i < text.size(); ++i) {
    // '%' is never a trail byte, so a byte-wise search is safe in CP932.
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && next != arguments.end()) {
      out += *next++;
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

void CommandReport::Add(ReportLine kind, std::string_view utf8Template,
                        std::initializer_list<std::string_view> arguments) {
  lines_ += FormatReportText(utf8Template, arguments);
  lines_ += kLineEnd;
  switch (kind) {
    case ReportLine::Done:
      ++done_;
      break;
    case ReportLine::Skipped:
      ++skipped_;
      break;
    case ReportLine::Error:
      ++errors_;
      break;
    case ReportLine::Note:
      break;
  }
}

std::size_t CommandReport::Count(ReportLine kind) const {
  switch (kind) {
    case ReportLine::Done:
      return done_;
    case ReportLine::Skipped:
      return skipped_;
    case ReportLine::Error:
      return errors_;
    case ReportLine::Note:
      break;
  }
  return 0;
}

std::string CommandReport::Text() const {
  std::string text = lines_;
  if (notRun_) {
    text += cp932::FromUtf8Literal(res::kArchiverSummaryNotRun);
  } else {
    if (cancelled_) text += cp932::FromUtf8Literal(res::kArchiverCancelledPrefix);
    text += FormatReportText(
        SummaryTemplate(kind_),
        {std::to_string(done_), std::to_string(skipped_), std::to_string(errors_)});
  }
  text += kLineEnd;
  return text;
}

int CommandReport::Result() const {
  if (notRun_) return kArchiverBadCommandLine;
  if (cancelled_) return kArchiverCancelled;
  if (errors_ > 0) return kArchiverError;
  if (skipped_ > 0) return kArchiverWarning;
  return kArchiverOk;
}

void CopyReport(std::string_view text, char* output, std::size_t outputSize) {
  if (output == nullptr || outputSize == 0) return;
  const std::size_t length = cp932::PrefixWithoutSplit(text, outputSize - 1);
  std::memcpy(output, text.data(), length);
  output[length] = '\0';
}

}  // namespace pelko::lzh

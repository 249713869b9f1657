#include "script_parser.h"

#include <charconv>

#include "text/code_page.h"

namespace pelko::script {
namespace {

using ui::headless::ScriptStep;
using Kind = ScriptStep::Kind;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// The next word and what follows it (starting at the blank after it).
std::string_view TakeWord(std::string_view& text) {
  text = SkipBlanks(text);
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

bool ParseNumber(std::string_view word, int& value) {
  if (word.empty()) return false;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size();
}

// TEXT: everything after the first blank that follows the id, verbatim.
std::string_view RestAfterOneBlank(std::string_view text) {
  if (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// \n and \r as the transcript writes them, so that any transcript line can
// be expected again.
std::string ExpandLineBreaks(std::string_view text) {
  std::string expanded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '\\' && (next == 'n' || next == 'r')) {
      expanded += next == 'n' ? '\n' : '\r';
      ++i;
    } else {
      expanded += text[i];
    }
  }
  return expanded;
}

class LineParser {
 public:
  LineParser(std::string_view line, int number)
      : rest_(line), origin_("line " + std::to_string(number)) {}

  // False with error() set when the line is no step; true with no step for
  // a blank line or a comment.
  bool Parse(std::vector<ScriptStep>& steps);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& why) {
    error_ = origin_ + ": " + why;
    return false;
  }
  bool TakeId(int& id) {
    std::string_view word = TakeWord(rest_);
    if (!ParseNumber(word, id)) return Fail("a control or dialog number is missing");
    return true;
  }
  bool NothingMore() {
    if (!SkipBlanks(rest_).empty()) return Fail("unexpected text after the step");
    return true;
  }
  bool ToCp932(std::string_view utf8, std::string& cp932) {
    std::optional<std::string> converted = cp932::FromUtf8(utf8);
    if (!converted) return Fail("the text has no Shift-JIS form");
    cp932 = *converted;
    return true;
  }

  std::string_view rest_;
  std::string origin_;
  std::string error_;
};

bool LineParser::Parse(std::vector<ScriptStep>& steps) {
  std::string_view keyword = TakeWord(rest_);
  if (keyword.empty() || keyword.front() == '#') return true;

  ScriptStep step;
  step.origin = origin_;
  if (keyword == "press" || keyword == "dialog") {
    step.kind = keyword == "press" ? Kind::Press : Kind::ExpectDialog;
    if (!TakeId(step.id) || !NothingMore()) return false;
  } else if (keyword == "answer") {
    step.kind = Kind::Answer;
    std::string_view word = TakeWord(rest_);
    if (word == "OK")
      step.answer = win::DialogResult::Ok;
    else if (word == "CANCEL")
      step.answer = win::DialogResult::Cancel;
    else if (word == "YES")
      step.answer = win::DialogResult::Yes;
    else if (word == "NO")
      step.answer = win::DialogResult::No;
    else if (word == "RETRY")
      step.answer = win::DialogResult::Retry;
    else
      return Fail("answer takes OK, CANCEL, YES, NO or RETRY");
    std::string_view text = RestAfterOneBlank(rest_);
    if (!text.empty()) {
      std::string expected;
      if (!ToCp932(ExpandLineBreaks(text), expected)) return false;
      step.expectedText = expected;
    }
  } else if (keyword == "type" || keyword == "expect") {
    step.kind = keyword == "type" ? Kind::Type : Kind::ExpectText;
    if (!TakeId(step.id)) return false;
    std::string_view text = RestAfterOneBlank(rest_);
    if (!ToCp932(step.kind == Kind::ExpectText ? ExpandLineBreaks(text) : std::string(text),
                 step.text)) {
      return false;
    }
  } else if (keyword == "select" || keyword == "dblclick") {
    step.kind = keyword == "select" ? Kind::Select : Kind::DoubleClick;
    if (!TakeId(step.id)) return false;
    for (std::string_view word = TakeWord(rest_); !word.empty(); word = TakeWord(rest_)) {
      int position = 0;
      if (!ParseNumber(word, position) || position < 0) return Fail("positions are numbers from 0");
      step.positions.push_back(position);
    }
    if (step.kind == Kind::DoubleClick && step.positions.size() != 1)
      return Fail("dblclick takes one position");
  } else if (keyword == "check") {
    step.kind = Kind::SetCheck;
    if (!TakeId(step.id)) return false;
    std::string_view word = TakeWord(rest_);
    if (word != "0" && word != "1") return Fail("check takes 0 or 1");
    step.state = word == "1" ? 1 : 0;
    if (!NothingMore()) return false;
  } else if (keyword == "file") {
    std::string_view path = RestAfterOneBlank(rest_);
    step.kind = path.empty() ? Kind::CancelFile : Kind::ChooseFile;
    if (!ToCp932(path, step.text)) return false;
  } else if (keyword == "run") {
    step.kind = Kind::Run;
    step.text = std::string(RestAfterOneBlank(rest_));  // stays UTF-8: it goes to the shell
    if (step.text.empty()) return Fail("run needs a command");
  } else if (keyword == "ok" || keyword == "cancel") {
    step.kind = keyword == "ok" ? Kind::Ok : Kind::Cancel;
    if (!NothingMore()) return false;
  } else {
    return Fail("unknown step \"" + std::string(keyword) + "\"");
  }
  steps.push_back(std::move(step));
  return true;
}

}  // namespace

ParsedScript ParseScript(std::string_view utf8Text) {
  ParsedScript script;
  int number = 0;
  while (!utf8Text.empty()) {
    std::size_t end = utf8Text.find('\n');
    std::string_view line = utf8Text.substr(0, end);
    utf8Text.remove_prefix(end == std::string_view::npos ? utf8Text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    LineParser parser(line, number);
    if (!parser.Parse(script.steps)) {
      script.error = parser.error();
      script.steps.clear();
      break;
    }
  }
  return script;
}

}  // namespace pelko::script

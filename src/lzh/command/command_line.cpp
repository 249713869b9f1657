#include "lzh/command/command_line.h"

#include <algorithm>
#include <optional>

#include "lzh/archive/path_names.h"
#include "platform/windows_path.h"
#include "text/ascii_case.h"
#include "text/code_page.h"
#include "text/name_rules.h"

namespace pelko::lzh {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string WithoutQuotes(std::string_view text) {
  std::string plain;
  for (char c : text) {
    if (c != '"') plain += c;
  }
  return plain;
}

bool ParseCommandLetter(std::string_view token, CommandKind& kind) {
  const std::string lower = text::ToAsciiLower(token);
  if (lower == "a")
    kind = CommandKind::Add;
  else if (lower == "e")
    kind = CommandKind::Extract;
  else if (lower == "d")
    kind = CommandKind::Delete;
  else if (lower == "l")
    kind = CommandKind::List;
  else if (lower == "t")
    kind = CommandKind::Test;
  else
    return false;
  return true;
}

// `raw` is the switch as written, '-' and any quotes included.
CommandLineError ApplySwitch(std::string_view raw, CommandSwitches& s) {
  const std::string name = text::ToAsciiLower(raw.substr(1));
  if (name.starts_with("jx")) {
    std::string pattern = WithoutQuotes(raw.substr(3));
    if (pattern.empty()) return CommandLineError::EmptyPattern;
    s.excluded.push_back(std::move(pattern));
    return CommandLineError::None;
  }
  if (name == "r2")
    s.recurse = true;
  else if (name == "x1")
    s.relativePaths = true;
  else if (name == "a2")
    s.hiddenFiles = true;
  else if (name == "d")
    s.withEverythingBelow = true;
  else if (name == "y")
    s.answerYes = true;
  else if (name == "jyo")
    s.overwrite = Policy::Always;
  else if (name == "jyo0")
    s.overwrite = Policy::Never;
  else if (name == "jyc")
    s.createFolder = Policy::Always;
  else if (name == "jyc0")
    s.createFolder = Policy::Never;
  else if (name == "jc0")
    s.resumeAfterBrokenHeader = false;
  else if (name == "jc1")
    s.resumeAfterBrokenHeader = true;
  else if (name == "c0")
    s.keepNewer = false;
  else if (name == "c1")
    s.keepNewer = true;
  else if (name == "o0")
    s.archiveFormat = 0;
  else if (name == "o1")
    s.archiveFormat = 1;
  else if (name == "o2")
    s.archiveFormat = 2;
  else
    return CommandLineError::UnknownSwitch;
  return CommandLineError::None;
}

// A name below a base folder: relative, every part a plain name.
bool IsPlainRelativeName(std::string_view name) {
  const std::vector<std::string> parts = SplitStoredPath(name);
  return std::none_of(parts.begin(), parts.end(), [](const std::string& part) {
    return part == "." || part == ".." || cp932::IsForbiddenName(part);
  });
}

bool SameFolder(std::string_view a, std::string_view b) {
  const auto pa = win::ParseWindowsPath(a);
  const auto pb = win::ParseWindowsPath(b);
  if (!pa || !pb || pa->drive != pb->drive || pa->components.size() != pb->components.size())
    return false;
  for (std::size_t i = 0; i < pa->components.size(); ++i) {
    if (!cp932::EqualIgnoringCase(pa->components[i], pb->components[i])) return false;
  }
  return true;
}

bool SameName(std::string_view a, std::string_view b) {
  return cp932::EqualIgnoringCase(NormaliseSeparators(a), NormaliseSeparators(b));
}

// A base folder named again gathers its names into its first group; a name
// given twice under one folder counts once. "Everything" absorbs names.
void AddToGroups(std::vector<TargetGroup>& groups, TargetGroup group) {
  for (TargetGroup& existing : groups) {
    if (existing.baseFolder.empty() != group.baseFolder.empty()) continue;
    if (!existing.baseFolder.empty() && !SameFolder(existing.baseFolder, group.baseFolder))
      continue;
    if (existing.names.empty() && !existing.baseFolder.empty()) return;  // already everything
    if (group.names.empty()) {
      existing.names.clear();
      return;
    }
    for (std::string& name : group.names) {
      const bool known = std::any_of(existing.names.begin(), existing.names.end(),
                                     [&](const std::string& n) { return SameName(n, name); });
      if (!known) existing.names.push_back(std::move(name));
    }
    return;
  }
  groups.push_back(std::move(group));
}

class Parser {
 public:
  explicit Parser(CommandLineParse& result) : r_(result) {}

  bool Run(std::string_view line) {
    std::vector<CommandToken> tokens;
    std::string unclosed;
    if (!SplitCommandTokens(line, tokens, unclosed))
      return Fail(CommandLineError::UnclosedQuote, unclosed);
    if (tokens.empty()) return Fail(CommandLineError::Empty, {});
    if (tokens[0].quoted || tokens[0].isSwitch ||
        !ParseCommandLetter(tokens[0].text, r_.command.kind)) {
      return Fail(CommandLineError::UnknownCommand, tokens[0].text);
    }
    for (std::size_t i = 1; i < tokens.size(); ++i) {
      if (!Take(tokens[i])) return false;
    }
    if (r_.command.archive.empty()) return Fail(CommandLineError::NoArchive, {});
    if (open_) AddToGroups(r_.command.groups, std::move(*open_));
    return true;
  }

 private:
  bool Take(const CommandToken& token) {
    if (token.isSwitch) {
      const CommandLineError error = ApplySwitch(token.text, r_.command.switches);
      return error == CommandLineError::None || Fail(error, token.text);
    }
    if (token.text.empty()) return true;  // "" stands for nothing
    if (r_.command.archive.empty()) return TakeArchive(token.text);
    if (IsBaseFolder(token.text)) return TakeBaseFolder(token.text);
    return TakeName(token.text);
  }

  bool TakeArchive(const std::string& path) {
    if (IsBaseFolder(path)) return Fail(CommandLineError::ArchiveIsFolder, path);
    if (!win::ParseWindowsPath(path)) return Fail(CommandLineError::ArchiveNotAbsolute, path);
    r_.command.archive = path;
    return true;
  }

  bool TakeBaseFolder(const std::string& path) {
    if (!win::ParseWindowsPath(path)) return Fail(CommandLineError::RelativeBaseFolder, path);
    if (open_) AddToGroups(r_.command.groups, std::move(*open_));
    open_ = TargetGroup{path, {}};
    return true;
  }

  bool TakeName(const std::string& name) {
    if (!open_) {
      // a and e read or write files: a name means nothing without its folder,
      // and there is no working folder to take it from.
      const CommandKind kind = r_.command.kind;
      if (kind == CommandKind::Add || kind == CommandKind::Extract) {
        return Fail(CommandLineError::NameWithoutBase, name);
      }
    }
    if (!IsPlainRelativeName(name)) return Fail(CommandLineError::BadName, name);
    if (!open_) open_ = TargetGroup{};
    open_->names.push_back(name);
    return true;
  }

  bool Fail(CommandLineError error, std::string_view offending) {
    r_.error = error;
    r_.offending = offending;
    return false;
  }

  CommandLineParse& r_;
  std::optional<TargetGroup> open_;
};

}  // namespace

bool IsBaseFolder(std::string_view path) {
  if (path.size() == 2 && path[1] == ':' && text::IsAsciiLetter(path[0])) return true;
  return !path.empty() && cp932::FindLastBackslash(path) == path.size() - 1;
}

bool SplitCommandTokens(std::string_view line, std::vector<CommandToken>& tokens,
                        std::string& unclosed) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    CommandToken token;
    token.isSwitch = line[i] == '-';
    bool inQuotes = false;
    for (; i < line.size() && (inQuotes || !IsBlank(line[i])); ++i) {
      const char c = line[i];
      if (c == '"') {
        inQuotes = !inQuotes;
        token.quoted = true;
        if (!token.isSwitch) continue;  // a switch keeps its quotes for its own parsing
      }
      token.text += c;
    }
    if (inQuotes) {
      unclosed = token.text;
      return false;
    }
    tokens.push_back(std::move(token));
  }
  return true;
}

CommandLineParse ParseCommandLine(std::string_view line) {
  CommandLineParse result;
  Parser(result).Run(line);
  return result;
}

}  // namespace pelko::lzh

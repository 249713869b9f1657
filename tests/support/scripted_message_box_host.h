// A user-interface host for tests: answers message boxes from a script and
// records everything shown. It registers itself for its lifetime.
//
//   ScriptedMessageBoxHost user;
//   user.Expect(DialogResult::Retry, "ディスクをセットしてください");
//   user.Expect(DialogResult::Cancel);
//   ... run the code ...
//   EXPECT_EQ(user.Shown().size(), 2u);
//
// A message box with no answer left, or whose text lacks the expected part,
// fails the running test (with the text shown, in UTF-8) and is answered
// Cancel. Answers still queued when the host goes away fail the test too.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"

namespace pelko::test {

using win::DialogResult;
using win::MessageBoxButtons;
using win::MessageBoxIcon;

class ScriptedMessageBoxHost : public win::UserInterfaceHost {
 public:
  struct ShownBox {
    std::string text;     // CP932, as passed
    std::string caption;  // CP932
    MessageBoxButtons buttons;
    MessageBoxIcon icon;
    std::string TextUtf8() const;
  };
  struct Progress {
    std::string entry;  // CP932
    std::uint64_t done;
    std::uint64_t total;
  };

  ScriptedMessageBoxHost();
  ~ScriptedMessageBoxHost() override;

  // Queues the answer to the next message box; when `utf8TextPart` is given
  // the box's text must contain it.
  void Expect(DialogResult answer, std::string_view utf8TextPart = {});

  const std::vector<ShownBox>& Shown() const { return shown_; }
  const std::vector<Progress>& ProgressReports() const { return progress_; }
  int LongWorkBegun() const { return begun_; }
  int LongWorkEnded() const { return ended_; }
  std::size_t AnswersLeft() const { return script_.size(); }

  DialogResult ShowMessageBox(std::string_view text, std::string_view caption,
                              MessageBoxButtons buttons, MessageBoxIcon icon) override;
  void BeginLongWork() override { ++begun_; }
  void ReportProgress(std::string_view entry, std::uint64_t done, std::uint64_t total) override {
    progress_.push_back({std::string(entry), done, total});
  }
  void EndLongWork() override { ++ended_; }

 private:
  struct Answer {
    DialogResult result;
    std::string textPart;  // CP932
  };
  win::UserInterfaceHost* previous_;
  std::deque<Answer> script_;
  std::vector<ShownBox> shown_;
  std::vector<Progress> progress_;
  int begun_ = 0;
  int ended_ = 0;
};

}  // namespace pelko::test

// The headless host's window: every control of a template as a plain object
// holding its text, enabled state, check state, items and selection.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/host.h"

namespace pelko::ui::headless {

class HeadlessControl : public ControlPeer, public CheckPeer, public ListPeer {
 public:
  explicit HeadlessControl(const ControlTemplate& controlTemplate);

  const ControlTemplate& Template() const { return template_; }

  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  bool IsEnabled() const override { return enabled_; }
  void Enable(bool enable) override { enabled_ = enable; }
  void SelectAllText() override;
  // The whole text is selected (since the last SelectAllText, until the text changes).
  bool TextSelected() const { return textSelected_; }
  CheckPeer* AsCheck() override;
  ListPeer* AsList() override;

  int Check() const override { return check_; }
  void SetCheck(int state) override { check_ = state; }

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string ItemText(int index) const override;
  void InsertItem(int index, std::string_view text) override;
  void DeleteItem(int index) override;
  void Clear() override;
  bool IsSelected(int index) const override;
  void SetSelected(int index, bool selected) override;
  int CurrentSelection() const override;
  void SetCurrentSelection(int index) override;

  // Called with the new text whenever SetText changes it.
  std::function<void(const HeadlessControl&)> onTextChanged;

 private:
  struct Item {
    std::string text;
    bool selected = false;
  };
  const ControlTemplate& template_;
  std::string text_;
  bool textSelected_ = false;
  bool enabled_ = true;
  int check_ = 0;
  std::vector<Item> items_;
};

class HeadlessWindow : public WindowPeer {
 public:
  explicit HeadlessWindow(const DialogTemplate& dialogTemplate);

  const DialogTemplate& Template() const { return template_; }
  HeadlessControl* Find(int controlId);
  const std::vector<std::unique_ptr<HeadlessControl>>& Controls() const { return controls_; }

  ControlPeer* Control(int controlId) override { return Find(controlId); }
  std::string Caption() const override { return caption_; }
  void SetCaption(std::string_view caption) override { caption_ = caption; }
  void SetFocus(int controlId) override { focus_ = controlId; }
  int FocusedControl() const override { return focus_; }
  void EndModal(int result) override;
  void SetIcon(int iconResource) override { icon_ = iconResource; }
  int Icon() const { return icon_; }
  bool Ended() const { return ended_; }

 private:
  const DialogTemplate& template_;
  std::vector<std::unique_ptr<HeadlessControl>> controls_;
  std::string caption_;
  int focus_ = kNoControlId;
  int icon_ = 0;
  bool ended_ = false;
};

}  // namespace pelko::ui::headless

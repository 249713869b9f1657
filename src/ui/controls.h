// Controls reached by identifier: thin values over a host's control peer and
// the control's template. A value for a missing control answers with empty
// text and the error results (LB_ERR) instead of failing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/host.h"

namespace pelko::ui {

inline constexpr int LB_ERR = -1;
inline constexpr int CB_ERR = -1;

class Control {
 public:
  Control() = default;
  Control(ControlPeer* peer, const ControlTemplate* controlTemplate)
      : peer_(peer), template_(controlTemplate) {}

  explicit operator bool() const { return peer_ != nullptr; }
  int Id() const { return template_ ? template_->id : kNoControlId; }
  const ControlTemplate* Template() const { return template_; }

  std::string GetWindowText() const;
  void SetWindowText(std::string_view text);
  bool IsWindowEnabled() const;
  void EnableWindow(bool enable);

 protected:
  ControlPeer* peer_ = nullptr;
  const ControlTemplate* template_ = nullptr;
};

// Push buttons, check boxes and radio buttons.
class Button : public Control {
 public:
  using Control::Control;
  int GetCheck() const;  // 0 for a push button
  void SetCheck(int state);
};

using Edit = Control;
using Static = Control;

// What list boxes and combo boxes share: items, sorted insertion, listings.
class ListControl : public Control {
 public:
  using Control::Control;
  int GetCount() const;
  std::string GetItemText(int index) const;  // "" out of range
  // A sorted control places the item by CompareListItems (after any equal
  // item); others append it. Returns its position.
  int AddString(std::string_view text);
  int InsertString(int index, std::string_view text);  // -1 appends
  int DeleteString(int index);                         // the remaining count, or LB_ERR
  void ResetContent();
  int FindStringExact(std::string_view text) const;  // LB_ERR when none
  // Adds the directory listing of `pattern` (see directory_listing.h);
  // returns the position of the last item added, or LB_ERR.
  int Dir(unsigned flags, std::string_view pattern);
  bool IsSorted() const;

 protected:
  ListPeer* List() const;
};

class ListBox : public ListControl {
 public:
  using ListControl::ListControl;
  std::string GetText(int index) const { return GetItemText(index); }
  int GetCurSel() const;
  int SetCurSel(int index);  // -1 clears; LB_ERR out of range or on a multiple-selection list
  // Multiple-selection lists.
  int GetSel(int index) const;         // > 0 selected, 0 not, LB_ERR out of range
  int SetSel(int index, bool select);  // -1: every item
  int GetSelCount() const;
  // The positions of the selected items, ascending, at most maxItems of them
  // (the lowest ones when more are selected).
  std::vector<int> GetSelItems(int maxItems) const;
  bool IsMultipleSelection() const;
};

class ComboBox : public ListControl {
 public:
  using ListControl::ListControl;
  std::string GetLBText(int index) const { return GetItemText(index); }
  int GetCurSel() const;
  // Selects the item and shows its text in the edit field; -1 clears both.
  int SetCurSel(int index);
};

}  // namespace pelko::ui

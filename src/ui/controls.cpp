#include "ui/controls.h"

#include "ui/collation.h"
#include "ui/directory_listing.h"

namespace pelko::ui {

std::string Control::GetWindowText() const { return peer_ ? peer_->Text() : std::string(); }

void Control::SetWindowText(std::string_view text) {
  if (peer_) peer_->SetText(text);
}

bool Control::IsWindowEnabled() const { return peer_ && peer_->IsEnabled(); }

void Control::EnableWindow(bool enable) {
  if (peer_) peer_->Enable(enable);
}

int Button::GetCheck() const {
  CheckPeer* check = peer_ ? peer_->AsCheck() : nullptr;
  return check ? check->Check() : 0;
}

void Button::SetCheck(int state) {
  if (CheckPeer* check = peer_ ? peer_->AsCheck() : nullptr) check->SetCheck(state);
}

ListPeer* ListControl::List() const { return peer_ ? peer_->AsList() : nullptr; }

bool ListControl::IsSorted() const { return template_ && template_->Has(style::Sorted); }

int ListControl::GetCount() const {
  ListPeer* list = List();
  return list ? list->Count() : LB_ERR;
}

std::string ListControl::GetItemText(int index) const {
  ListPeer* list = List();
  if (!list || index < 0 || index >= list->Count()) return {};
  return list->ItemText(index);
}

int ListControl::AddString(std::string_view text) {
  ListPeer* list = List();
  if (!list) return LB_ERR;
  int position = list->Count();
  if (IsSorted()) {
    // After every item that sorts before it or equal to it: binary search
    // for the first item that sorts after it.
    int low = 0, high = list->Count();
    while (low < high) {
      int middle = low + (high - low) / 2;
      if (CompareListItems(list->ItemText(middle), text) <= 0) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    position = low;
  }
  list->InsertItem(position, text);
  return position;
}

int ListControl::InsertString(int index, std::string_view text) {
  ListPeer* list = List();
  if (!list || index > list->Count()) return LB_ERR;
  if (index < 0) index = list->Count();
  list->InsertItem(index, text);
  return index;
}

int ListControl::DeleteString(int index) {
  ListPeer* list = List();
  if (!list || index < 0 || index >= list->Count()) return LB_ERR;
  list->DeleteItem(index);
  return list->Count();
}

void ListControl::ResetContent() {
  if (ListPeer* list = List()) list->Clear();
}

int ListControl::FindStringExact(std::string_view text) const {
  ListPeer* list = List();
  if (!list) return LB_ERR;
  for (int i = 0; i < list->Count(); ++i) {
    if (CompareListItems(list->ItemText(i), text) == 0) return i;
  }
  return LB_ERR;
}

int ListControl::Dir(unsigned flags, std::string_view pattern) {
  if (!List()) return LB_ERR;
  std::vector<std::string> items;
  DirectoryListing(pattern, flags, items);
  int last = LB_ERR;
  for (const std::string& item : items) last = AddString(item);
  return last;
}

bool ListBox::IsMultipleSelection() const {
  return template_ && template_->Has(style::MultipleSelection);
}

int ListBox::GetCurSel() const {
  ListPeer* list = List();
  if (!list || IsMultipleSelection()) return LB_ERR;
  return list->CurrentSelection();
}

int ListBox::SetCurSel(int index) {
  ListPeer* list = List();
  if (!list || IsMultipleSelection() || index >= list->Count() || index < -1) return LB_ERR;
  list->SetCurrentSelection(index);
  return index;
}

int ListBox::GetSel(int index) const {
  ListPeer* list = List();
  if (!list || index < 0 || index >= list->Count()) return LB_ERR;
  if (!IsMultipleSelection()) return list->CurrentSelection() == index ? 1 : 0;
  return list->IsSelected(index) ? 1 : 0;
}

int ListBox::SetSel(int index, bool select) {
  ListPeer* list = List();
  if (!list || !IsMultipleSelection() || index < -1 || index >= list->Count()) return LB_ERR;
  if (index == -1) {
    for (int i = 0; i < list->Count(); ++i) list->SetSelected(i, select);
  } else {
    list->SetSelected(index, select);
  }
  return 0;
}

int ListBox::GetSelCount() const {
  ListPeer* list = List();
  if (!list || !IsMultipleSelection()) return LB_ERR;
  int count = 0;
  for (int i = 0; i < list->Count(); ++i) count += list->IsSelected(i) ? 1 : 0;
  return count;
}

std::vector<int> ListBox::GetSelItems(int maxItems) const {
  std::vector<int> positions;
  ListPeer* list = List();
  if (!list || !IsMultipleSelection()) return positions;
  for (int i = 0; i < list->Count() && static_cast<int>(positions.size()) < maxItems; ++i) {
    if (list->IsSelected(i)) positions.push_back(i);
  }
  return positions;
}

int ComboBox::GetCurSel() const {
  ListPeer* list = List();
  return list ? list->CurrentSelection() : CB_ERR;
}

int ComboBox::SetCurSel(int index) {
  ListPeer* list = List();
  if (!list || index < -1 || index >= list->Count()) {
    if (list) {
      list->SetCurrentSelection(-1);
      peer_->SetText("");
    }
    return CB_ERR;
  }
  list->SetCurrentSelection(index);
  peer_->SetText(index >= 0 ? list->ItemText(index) : std::string());
  return index;
}

}  // namespace pelko::ui

#include "ui/dialog.h"

namespace pelko::ui {

Dialog::Dialog(const DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  Host* host = RegisteredHost();
  if (!host || window_) return -1;
  ended_ = false;
  result_ = -1;
  return host->RunModal(*this);
}

void Dialog::EndDialog(int result) {
  ended_ = true;
  result_ = result;
  if (window_) window_->EndModal(result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
  if (!window_) return false;
  DataExchange dx(*this, saveAndValidate);
  DoDataExchange(dx);
  return !dx.Failed();
}

ControlPeer* Dialog::Peer(int controlId) const {
  return window_ ? window_->Control(controlId) : nullptr;
}

Control Dialog::GetDlgItem(int controlId) const {
  return Control(Peer(controlId), template_.Find(controlId));
}

Button Dialog::GetButton(int controlId) const {
  return Button(Peer(controlId), template_.Find(controlId));
}

ListBox Dialog::GetListBox(int controlId) const {
  return ListBox(Peer(controlId), template_.Find(controlId));
}

ComboBox Dialog::GetComboBox(int controlId) const {
  return ComboBox(Peer(controlId), template_.Find(controlId));
}

std::string Dialog::GetDlgItemText(int controlId) const {
  return GetDlgItem(controlId).GetWindowText();
}

void Dialog::SetDlgItemText(int controlId, std::string_view text) {
  GetDlgItem(controlId).SetWindowText(text);
}

void Dialog::EnableDlgItem(int controlId, bool enable) {
  GetDlgItem(controlId).EnableWindow(enable);
}

bool Dialog::IsDlgItemEnabled(int controlId) const {
  return GetDlgItem(controlId).IsWindowEnabled();
}

int Dialog::IsDlgButtonChecked(int controlId) const { return GetButton(controlId).GetCheck(); }

void Dialog::CheckDlgButton(int controlId, int state) { GetButton(controlId).SetCheck(state); }

void Dialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id) {
    if (template_.Find(id)) CheckDlgButton(id, id == checkId ? 1 : 0);
  }
}

void Dialog::GotoDlgCtrl(int controlId) {
  ControlPeer* peer = Peer(controlId);
  if (!window_ || !peer) return;
  window_->SetFocus(controlId);
  // What the user types next replaces the text rather than adding to it.
  peer->SelectAllText();
}

std::string Dialog::GetWindowText() const { return window_ ? window_->Caption() : std::string(); }

void Dialog::SetWindowText(std::string_view caption) {
  if (window_) window_->SetCaption(caption);
}

void Dialog::SetIcon(int iconResource) {
  if (window_) window_->SetIcon(iconResource);
}

win::DialogResult Dialog::MessageBox(std::string_view text, win::MessageBoxButtons buttons,
                                     win::MessageBoxIcon icon) {
  return win::MessageBox(text, buttons, icon);
}

void Dialog::AttachWindow(WindowPeer& window) {
  window_ = &window;
  ended_ = false;
  result_ = -1;
}

void Dialog::DetachWindow() { window_ = nullptr; }

bool Dialog::InitDialog() { return OnInitDialog(); }

bool Dialog::DispatchCommand(int controlId, Notification notification) {
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.controlId == controlId && entry.notification == notification) {
      entry.handler(*this);
      return true;
    }
  }
  if (notification != Notification::Clicked) return false;
  if (controlId == IDOK) {
    OnOK();
    return true;
  }
  if (controlId == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::DoDataExchange(DataExchange&) {}

std::span<const CommandEntry> Dialog::CommandTable() const { return {}; }

}  // namespace pelko::ui

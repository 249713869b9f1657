// The modal dialog base: one class per template, a command table of
// (control id, notification) -> On... handler, a data-exchange step, and
// OnInitDialog / OnOK / OnCancel / EndDialog as the dialog's life. Nothing
// here knows which host shows the window.
//
// Writing a dialog class:
//
//   class CVolumeLabelDialog : public ui::Dialog {
//    public:
//     CVolumeLabelDialog() : Dialog(templates::VolumeLabelTemplate()) {}
//     std::string label, explanation;
//    protected:
//     void DoDataExchange(ui::DataExchange& dx) override {
//       dx.Text(1006, label);
//       dx.Text(1003, explanation);
//     }
//   };
//   ...
//   if (dialog.DoModal() == ui::IDOK) use(dialog.label);
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/user_interface.h"
#include "ui/command_table.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"
#include "ui/dialog_template.h"
#include "ui/host.h"

namespace pelko::ui {

class Dialog {
 public:
  explicit Dialog(const DialogTemplate& dialogTemplate);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog in the registered host; its result (IDOK, IDCANCEL or the
  // value given to EndDialog), or -1 when no host runs dialogs.
  int DoModal();
  // Ends the dialog with `result`; the window closes when the running handler returns.
  void EndDialog(int result);
  // Fetch with validation (true) or push (false); false when a check failed.
  bool UpdateData(bool saveAndValidate = true);

  const DialogTemplate& Template() const { return template_; }
  int TemplateId() const { return template_.id; }
  bool IsOpen() const { return window_ != nullptr; }

  // Controls by identifier (while the dialog is open).
  Control GetDlgItem(int controlId) const;
  Button GetButton(int controlId) const;
  ListBox GetListBox(int controlId) const;
  ComboBox GetComboBox(int controlId) const;
  std::string GetDlgItemText(int controlId) const;
  void SetDlgItemText(int controlId, std::string_view text);
  void EnableDlgItem(int controlId, bool enable);
  bool IsDlgItemEnabled(int controlId) const;
  int IsDlgButtonChecked(int controlId) const;
  void CheckDlgButton(int controlId, int state);
  // Checks checkId and clears the other radio buttons from firstId to lastId.
  void CheckRadioButton(int firstId, int lastId, int checkId);
  // Focuses the control; an edit's whole text is selected.
  void GotoDlgCtrl(int controlId);
  std::string GetWindowText() const;
  void SetWindowText(std::string_view caption);
  void SetIcon(int iconResource);

  // A message box through the platform's user-interface seam, with the
  // application title as caption.
  win::DialogResult MessageBox(std::string_view text,
                               win::MessageBoxButtons buttons = win::MessageBoxButtons::Ok,
                               win::MessageBoxIcon icon = win::MessageBoxIcon::None);

  // --- For hosts ---
  void AttachWindow(WindowPeer& window);
  void DetachWindow();
  WindowPeer* Window() const { return window_; }
  // Runs OnInitDialog; true asks the host to focus the first tab stop.
  bool InitDialog();
  // Runs the command table's handler for the notification; IDOK and IDCANCEL
  // clicks without an entry run OnOK and OnCancel. False when nothing handled it.
  bool DispatchCommand(int controlId, Notification notification);
  bool HasEnded() const { return ended_; }
  int Result() const { return result_; }

 protected:
  // Default: pushes the members to the controls; true.
  virtual bool OnInitDialog();
  // Default: fetches with validation; ends with IDOK when that succeeded.
  virtual void OnOK();
  // Default: ends with IDCANCEL, fetching nothing.
  virtual void OnCancel();
  // Default: exchanges nothing.
  virtual void DoDataExchange(DataExchange& dx);
  // Default: empty.
  virtual std::span<const CommandEntry> CommandTable() const;

 private:
  ControlPeer* Peer(int controlId) const;

  const DialogTemplate& template_;
  WindowPeer* window_ = nullptr;
  bool ended_ = false;
  int result_ = -1;
};

}  // namespace pelko::ui

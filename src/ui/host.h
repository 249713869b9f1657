// The seam between the dialog framework and a windowing host. A host builds a
// window from a template and exposes its controls by identifier through these
// small interfaces; everything above them (command tables, data exchange,
// sorted insertion, directory listings) is the framework's and the same in
// every host. All texts crossing the seam are CP932.
//
// A host is registered with win::RegisterUserInterfaceHost (platform/
// user_interface.h); it answers message boxes there and runs dialogs here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"
#include "ui/dialog_template.h"

namespace pelko::ui {

class Dialog;

// What a control tells its dialog, like Windows' notification codes.
enum class Notification {
  Clicked,          // button, check box, radio button
  SelectionChange,  // list box (with style::Notify) and combo box
  DoubleClick,      // list box (with style::Notify)
  EditChange,       // edit text changed by the user
};

// Check boxes and radio buttons: 0 cleared, 1 checked.
class CheckPeer {
 public:
  virtual ~CheckPeer() = default;
  virtual int Check() const = 0;
  virtual void SetCheck(int state) = 0;
};

// The items of a list box or of a combo box's list. Items go where the
// framework says: the host never sorts (Qt's own sorting stays off).
class ListPeer {
 public:
  virtual ~ListPeer() = default;
  virtual int Count() const = 0;
  virtual std::string ItemText(int index) const = 0;
  virtual void InsertItem(int index, std::string_view text) = 0;  // index == Count() appends
  virtual void DeleteItem(int index) = 0;
  virtual void Clear() = 0;
  // Multiple-selection lists: each item on or off.
  virtual bool IsSelected(int index) const = 0;
  virtual void SetSelected(int index, bool selected) = 0;
  // Single-selection lists and combo boxes: the one selected item, -1 for none.
  virtual int CurrentSelection() const = 0;
  virtual void SetCurrentSelection(int index) = 0;
};

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // Caption, edit text, or a combo box's edit field.
  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Enable(bool enable) = 0;
  // Selects the whole text of an edit (or a combo box's edit field), as the
  // dialog manager does when it moves the focus there; others ignore it.
  virtual void SelectAllText() {}
  virtual CheckPeer* AsCheck() { return nullptr; }
  virtual ListPeer* AsList() { return nullptr; }
};

class WindowPeer {
 public:
  virtual ~WindowPeer() = default;
  // Null when the template has no control with that identifier.
  virtual ControlPeer* Control(int controlId) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetFocus(int controlId) = 0;
  virtual int FocusedControl() const = 0;  // kNoControlId when none
  // The dialog has ended: close the window once the running handler returns.
  virtual void EndModal(int result) = 0;
  // The window's large icon (an icon resource number); hosts without icons ignore it.
  virtual void SetIcon(int /*iconResource*/) {}
};

struct OpenFileRequest {
  bool createPrompt = false;  // OFN_CREATEPROMPT: a new name is accepted after a question
};

class Host : public win::UserInterfaceHost {
 public:
  // Builds the window of dialog.Template(), attaches it (Dialog::AttachWindow),
  // runs Dialog::InitDialog (focusing the first tab stop when it returns
  // true), routes the user's actions to Dialog::DispatchCommand until the
  // dialog has ended, detaches the window and returns Dialog::Result().
  virtual int RunModal(Dialog& dialog) = 0;
  // The open-file dialog: the name the user chose, as a drive-letter path
  // (CP932), or nullopt when cancelled. The framework (FileDialog) checks
  // whether it exists and asks about new names; the host only asks for one.
  virtual std::optional<std::string> AskForFileName(const OpenFileRequest& request) = 0;
};

// The registered host if it runs dialogs; null otherwise.
Host* RegisteredHost();

}  // namespace pelko::ui

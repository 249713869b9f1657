// A dialog template as a real Qt window: one widget per control at the
// pixel rectangle its dialog units give in the dialog font, object names
// that are the control identifiers, tab order in template order. The user's
// actions reach the attached Dialog as notifications.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/dialog_units.h"
#include "ui/host.h"
#include "ui/qt/qt_controls.h"

class QRadioButton;

namespace pelko::ui::qt {

class QtWindow final : public QDialog, public WindowPeer {
 public:
  // `parent` is the window it belongs to (null for the main window).
  QtWindow(const DialogTemplate& dialogTemplate, QWidget* parent);
  ~QtWindow() override;

  const DialogTemplate& Template() const { return template_; }
  const DialogBaseUnits& BaseUnits() const { return baseUnits_; }
  QRect PixelRect(const Rect& units) const;

  QtControl* Find(int controlId) const;
  // The control made from the template's control at `index` (template order).
  QtControl* ControlAt(std::size_t index) const;

  // Notifications go to `dialog` from now on (null: nowhere).
  void Connect(Dialog* dialog) { dialog_ = dialog; }
  bool Ended() const { return ended_; }

  // WindowPeer
  ControlPeer* Control(int controlId) override { return Find(controlId); }
  std::string Caption() const override;
  void SetCaption(std::string_view caption) override;
  void SetFocus(int controlId) override;
  int FocusedControl() const override;
  void EndModal(int result) override;
  void SetIcon(int iconResource) override;

 protected:
  void reject() override;  // Escape and the close box: the cancel command
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Build();
  QWidget* MakeWidget(const ControlTemplate& control, std::unique_ptr<QtControl>& peer);
  std::unique_ptr<QtControl> MakePushButton(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeCheckBox(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeRadioButton(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeGroupBox(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeStatic(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeMultiLineEdit(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeLineEdit(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeListBox(const ControlTemplate& control);
  std::unique_ptr<QtControl> MakeComboBox(const ControlTemplate& control);
  void Notify(int controlId, Notification notification);
  void ClickRadio(QRadioButton* clicked, int controlId);
  void FinishIfEnded();
  bool HasDefaultButton() const;

  const DialogTemplate& template_;
  DialogBaseUnits baseUnits_;
  std::vector<std::unique_ptr<QtControl>> controls_;
  std::vector<std::vector<QRadioButton*>> radioGroups_;
  std::string caption_;
  QString shownCaption_;
  Dialog* dialog_ = nullptr;
  int dispatching_ = 0;
  bool ended_ = false;
  int result_ = 0;
};

}  // namespace pelko::ui::qt

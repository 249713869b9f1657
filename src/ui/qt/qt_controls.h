// The Qt host's controls: one real widget per template control, reached by
// the framework through the peer interfaces. Each peer remembers the bytes
// it was last given, so a text the user did not touch comes back exactly as
// set, even when it is not valid CP932. Changes made through a peer never
// notify the dialog (as with Windows, only the user's actions do).
#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "ui/dialog_template.h"
#include "ui/host.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace pelko::ui::qt {

class StaticText;

class QtControl : public ControlPeer {
 public:
  QtControl(const ControlTemplate& controlTemplate, QWidget* widget);

  const ControlTemplate& Template() const { return template_; }
  QWidget* Widget() const { return widget_; }

  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool IsEnabled() const override;
  void Enable(bool enable) override;

 protected:
  virtual QString WidgetText() const = 0;
  virtual void SetWidgetText(const QString& text) = 0;
  // How a CP932 text is shown (line breaks) and read back.
  virtual QString Shown(std::string_view text) const;
  virtual std::string Read(const QString& text) const;

 private:
  const ControlTemplate& template_;
  QWidget* widget_;
  std::string lastSet_;
  QString lastShown_;
  bool hasLastSet_ = false;
};

// Push buttons, check boxes and radio buttons.
class ButtonControl : public QtControl, public CheckPeer {
 public:
  ButtonControl(const ControlTemplate& controlTemplate, QAbstractButton* button);
  QAbstractButton* Button() const { return button_; }
  CheckPeer* AsCheck() override;
  int Check() const override;
  void SetCheck(int state) override;

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;

 private:
  QAbstractButton* button_;
};

class GroupBoxControl : public QtControl {
 public:
  GroupBoxControl(const ControlTemplate& controlTemplate, QGroupBox* box);

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;

 private:
  QGroupBox* box_;
};

class StaticControl : public QtControl {
 public:
  StaticControl(const ControlTemplate& controlTemplate, StaticText* label);

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;

 private:
  StaticText* label_;
};

class LineEditControl : public QtControl {
 public:
  LineEditControl(const ControlTemplate& controlTemplate, QLineEdit* edit);
  void SelectAllText() override;

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;

 private:
  QLineEdit* edit_;
};

// A multi-line edit reads back with CR LF line ends, as Windows' does.
class TextEditControl : public QtControl {
 public:
  TextEditControl(const ControlTemplate& controlTemplate, QPlainTextEdit* edit);
  void SelectAllText() override;

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;
  std::string Read(const QString& text) const override;

 private:
  QPlainTextEdit* edit_;
};

class ListBoxControl : public QtControl, public ListPeer {
 public:
  ListBoxControl(const ControlTemplate& controlTemplate, QListWidget* list);
  ListPeer* AsList() override { return this; }

  int Count() const override;
  std::string ItemText(int index) const override;
  void InsertItem(int index, std::string_view text) override;
  void DeleteItem(int index) override;
  void Clear() override;
  bool IsSelected(int index) const override;
  void SetSelected(int index, bool selected) override;
  int CurrentSelection() const override;
  void SetCurrentSelection(int index) override;

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;

 private:
  QListWidget* list_;
};

// A combo box keeps Windows' selection rules: adding or deleting items never
// selects one by itself, and the edit field keeps its text meanwhile.
class ComboControl : public QtControl, public ListPeer {
 public:
  ComboControl(const ControlTemplate& controlTemplate, QComboBox* combo);
  ListPeer* AsList() override { return this; }
  void SelectAllText() override;

  int Count() const override;
  std::string ItemText(int index) const override;
  void InsertItem(int index, std::string_view text) override;
  void DeleteItem(int index) override;
  void Clear() override;
  bool IsSelected(int index) const override;
  void SetSelected(int index, bool selected) override;
  int CurrentSelection() const override;
  void SetCurrentSelection(int index) override;

 protected:
  QString WidgetText() const override;
  void SetWidgetText(const QString& text) override;

 private:
  // Sets the selection without touching the edit field's text.
  void KeepText(int selection, const QString& text);

  QComboBox* combo_;
};

}  // namespace pelko::ui::qt

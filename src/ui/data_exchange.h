// The data-exchange step of a dialog: values move between member fields and
// controls, pushed (save = false) or fetched with validation (save = true).
// The first failure shows the framework's validation message, moves the focus
// to the control and turns every later step of the same exchange into a no-op,
// so that UpdateData returns false with the earlier fields already taken over.
#pragma once

#include <string>

namespace pelko::ui {

class Dialog;

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate) : dialog_(dialog), saving_(saveAndValidate) {}

  bool Saving() const { return saving_; }
  bool Failed() const { return failed_; }
  Dialog& Owner() { return dialog_; }

  // A control bound to the class; nothing moves (the control holds its state).
  void Control(int controlId);
  // Text of an edit, static or combo edit field (CP932).
  void Text(int controlId, std::string& value);
  // A signed decimal integer in an edit; blanks around it are allowed. A text
  // that is no such number fails with the integer message.
  void Int(int controlId, int& value);
  // A check box's state (0 or 1).
  void Check(int controlId, int& value);
  // The position of the checked radio button in the group that starts at
  // firstId (-1 when none); pushing checks that one and clears the others.
  void Radio(int firstId, int& value);
  // Range check of the value just exchanged (on saving only): outside
  // [min, max] fails with the range message, on the last exchanged control.
  void MinMaxInt(int value, int min, int max);

 private:
  void Fail(int controlId, const std::string& message);

  Dialog& dialog_;
  bool saving_;
  bool failed_ = false;
  int lastControl_ = -1;
};

}  // namespace pelko::ui

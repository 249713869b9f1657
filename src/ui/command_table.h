// A dialog's command table: (control id, notification) -> On... handler.
//
//   std::span<const ui::CommandEntry> CMyDialog::CommandTable() const {
//     static constexpr ui::CommandEntry kCommands[] = {
//         ui::OnClicked<&CMyDialog::OnAddFile>(1002),
//         ui::OnNotify<&CMyDialog::OnDriveChange>(1006, ui::Notification::SelectionChange),
//     };
//     return kCommands;
//   }
#pragma once

#include "ui/host.h"

namespace pelko::ui {

class Dialog;

struct CommandEntry {
  int controlId;
  Notification notification;
  void (*handler)(Dialog& dialog);
};

namespace detail {
template <class>
struct HandlerClass;
template <class D>
struct HandlerClass<void (D::*)()> {
  using type = D;
};
}  // namespace detail

template <auto Handler>
constexpr CommandEntry OnNotify(int controlId, Notification notification) {
  using D = typename detail::HandlerClass<decltype(Handler)>::type;
  return {controlId, notification, [](Dialog& dialog) { (static_cast<D&>(dialog).*Handler)(); }};
}

template <auto Handler>
constexpr CommandEntry OnClicked(int controlId) {
  return OnNotify<Handler>(controlId, Notification::Clicked);
}

}  // namespace pelko::ui

// Every template as a real Qt window: each control present under its
// identifier, of its kind, with its caption, at the pixel rectangle the
// dialog units give in IPAPGothic 9 pt, in template tab order.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "templates/templates.h"
#include "ui/qt/qt_window.h"
#include "ui/qt/static_text.h"

namespace pelko::ui::qt {
namespace {

const DialogTemplate* const kTemplates[] = {
    &templates::MainWindowTemplate(),  &templates::AssociationTemplate(),
    &templates::VolumeLabelTemplate(), &templates::FolderPickerTemplate(),
    &templates::OptionsTemplate(),     &templates::OutputTemplate(),
};

// IPAPGothic 9 pt at 96 dpi: "A".."z" are 369 px wide (369 / 52 rounds to 7),
// and the text is 13 px high.
constexpr int kBaseWidth = 7;
constexpr int kBaseHeight = 13;

int X(int units) { return static_cast<int>(std::lround(units * kBaseWidth / 4.0)); }
int Y(int units) { return static_cast<int>(std::lround(units * kBaseHeight / 8.0)); }

bool IsIpaPGothic(const QString& family) {
  return family == QStringLiteral("IPAPGothic") || family == QStringLiteral("IPA Pゴシック");
}

bool HasKind(QWidget* widget, ControlKind kind, const ControlTemplate& control) {
  switch (kind) {
    case ControlKind::PushButton:
      return qobject_cast<QPushButton*>(widget);
    case ControlKind::CheckBox:
      return qobject_cast<QCheckBox*>(widget);
    case ControlKind::RadioButton:
      return qobject_cast<QRadioButton*>(widget);
    case ControlKind::GroupBox:
      return qobject_cast<QGroupBox*>(widget);
    case ControlKind::Static:
      return dynamic_cast<StaticText*>(widget);
    case ControlKind::Edit:
      return control.Has(style::MultiLine) ? qobject_cast<QPlainTextEdit*>(widget) != nullptr
                                           : qobject_cast<QLineEdit*>(widget) != nullptr;
    case ControlKind::ListBox:
      return qobject_cast<QListWidget*>(widget);
    case ControlKind::ComboBox:
      return qobject_cast<QComboBox*>(widget);
  }
  return false;
}

QString ShownCaption(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
  if (auto* label = dynamic_cast<StaticText*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return edit->toPlainText();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  return {};
}

class TemplateWindow : public ::testing::TestWithParam<const DialogTemplate*> {};

TEST_P(TemplateWindow, UsesIpaPGothicAtNinePointsWithWindowsBaseUnits) {
  QtWindow window(*GetParam(), nullptr);
  EXPECT_TRUE(IsIpaPGothic(QFontInfo(window.font()).family()))
      << QFontInfo(window.font()).family().toStdString();
  EXPECT_EQ(QFontInfo(window.font()).pointSize(), 9);
  EXPECT_EQ(window.BaseUnits().width, kBaseWidth);
  EXPECT_EQ(window.BaseUnits().height, kBaseHeight);
}

TEST_P(TemplateWindow, HasTheTemplateSizeCaptionAndName) {
  const DialogTemplate& dialogTemplate = *GetParam();
  QtWindow window(dialogTemplate, nullptr);
  EXPECT_EQ(window.size(), QSize(X(dialogTemplate.rect.width), Y(dialogTemplate.rect.height)));
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window is not resizable";
  EXPECT_EQ(window.windowTitle(),
            QString::fromUtf8(dialogTemplate.caption.data(),
                              static_cast<qsizetype>(dialogTemplate.caption.size())));
  EXPECT_EQ(window.objectName(), QStringLiteral("dialog-%1").arg(dialogTemplate.id));
}

TEST_P(TemplateWindow, BuildsEveryControlWithItsIdKindCaptionAndGeometry) {
  const DialogTemplate& dialogTemplate = *GetParam();
  QtWindow window(dialogTemplate, nullptr);
  for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
    const ControlTemplate& control = dialogTemplate.controls[i];
    SCOPED_TRACE("control " + std::to_string(control.id) + " at index " + std::to_string(i));
    QtControl* peer = window.ControlAt(i);
    ASSERT_NE(peer, nullptr);
    QWidget* widget = peer->Widget();
    if (control.id != kNoControlId) {
      EXPECT_EQ(window.findChild<QWidget*>(QString::number(control.id)), widget);
      EXPECT_EQ(window.Control(control.id), peer);
    }
    EXPECT_TRUE(HasKind(widget, control.kind, control));
    EXPECT_EQ(
        ShownCaption(widget),
        QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size())));
    const QRect expected(X(control.rect.x), Y(control.rect.y), X(control.rect.width),
                         Y(control.rect.height));
    if (control.kind == ControlKind::ComboBox) {
      // The template gives the open list's height; the closed box is shorter.
      EXPECT_EQ(widget->geometry().topLeft(), expected.topLeft());
      EXPECT_EQ(widget->width(), expected.width());
      EXPECT_LT(widget->height(), expected.height());
    } else {
      EXPECT_EQ(widget->geometry(), expected);
    }
  }
}

TEST_P(TemplateWindow, TabsThroughTheTabStopsInTemplateOrder) {
  const DialogTemplate& dialogTemplate = *GetParam();
  QtWindow window(dialogTemplate, nullptr);
  std::vector<int> expected;
  for (const ControlTemplate& control : dialogTemplate.controls) {
    if (control.Has(style::TabStop)) expected.push_back(control.id);
  }
  std::vector<int> chain;
  for (QWidget* widget = window.nextInFocusChain(); widget != &window;
       widget = widget->nextInFocusChain()) {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->objectName().toInt() != 0) {
      chain.push_back(widget->objectName().toInt());
    }
  }
  EXPECT_EQ(chain, expected);
}

TEST_P(TemplateWindow, MakesOnlyTheTemplatesDefaultButtonTheDefault) {
  const DialogTemplate& dialogTemplate = *GetParam();
  QtWindow window(dialogTemplate, nullptr);
  for (const ControlTemplate& control : dialogTemplate.controls) {
    if (control.kind != ControlKind::PushButton) continue;
    auto* button = qobject_cast<QPushButton*>(window.Find(control.id)->Widget());
    EXPECT_EQ(button->isDefault(), control.Has(style::DefaultButton)) << control.id;
  }
}

INSTANTIATE_TEST_SUITE_P(SixTemplates, TemplateWindow, ::testing::ValuesIn(kTemplates),
                         [](const ::testing::TestParamInfo<const DialogTemplate*>& info) {
                           return "Template" + std::to_string(info.param->id);
                         });

TEST(MainWindowLayout, MatchesTheHandWorkedPixels) {
  QtWindow window(templates::MainWindowTemplate(), nullptr);
  // 183 x 155 units: 183 * 7 / 4 = 320.25, 155 * 13 / 8 = 251.875.
  EXPECT_EQ(window.size(), QSize(320, 252));
  // 1000 at (50, 46, 58, 29): 87.5 -> 88, 74.75 -> 75, 101.5 -> 102, 47.125 -> 47.
  EXPECT_EQ(window.Find(1000)->Widget()->geometry(), QRect(88, 75, 102, 47));
  // The information panel 1003 at (7, 105, 169, 43).
  EXPECT_EQ(window.Find(1003)->Widget()->geometry(), QRect(12, 171, 296, 70));
}

TEST(MainWindowLayout, ShowsTheTwoLineCaptionsOnTwoLines) {
  QtWindow window(templates::MainWindowTemplate(), nullptr);
  EXPECT_EQ(qobject_cast<QPushButton*>(window.Find(1000)->Widget())->text(),
            QStringLiteral("ファイルとＦＤ\nを関連づける"));
  EXPECT_EQ(qobject_cast<QPushButton*>(window.Find(1007)->Widget())->text(),
            QStringLiteral("ボリュームラベル\nの設定"));
  // Two lines of text need two line heights: the caption is not squeezed into one.
  auto* button = window.Find(1000)->Widget();
  EXPECT_GE(button->sizeHint().height(), 2 * QFontMetrics(button->font()).height());
  EXPECT_LE(button->sizeHint().width(), button->width());
}

TEST(MainWindowLayout, PanelIsSunkenAndNotWrapped) {
  QtWindow window(templates::MainWindowTemplate(), nullptr);
  auto* panel = dynamic_cast<StaticText*>(window.Find(1003)->Widget());
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
  EXPECT_FALSE(panel->wordWrap());
  EXPECT_EQ(panel->focusPolicy(), Qt::NoFocus);
}

TEST(OptionsWindowLayout, ComboOffersTheThreeFormatsWithNoneSelected) {
  QtWindow window(templates::OptionsTemplate(), nullptr);
  auto* combo = qobject_cast<QComboBox*>(window.Find(1020)->Widget());
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(combo->currentText(), QString());
  EXPECT_TRUE(combo->isEditable());
  EXPECT_GE(combo->maxVisibleItems(), 3);
}

TEST(OptionsWindowLayout, GroupBoxesLetClicksThroughToTheirRadioButtons) {
  QtWindow window(templates::OptionsTemplate(), nullptr);
  QWidget* radio = window.Find(1011)->Widget();
  // The widget under the radio button's centre is the radio button, not the frame.
  EXPECT_EQ(window.childAt(radio->geometry().center()), radio);
}

TEST(ListWindows, NeverSortByThemselves) {
  for (const DialogTemplate* dialogTemplate : kTemplates) {
    QtWindow window(*dialogTemplate, nullptr);
    for (QListWidget* list : window.findChildren<QListWidget*>())
      EXPECT_FALSE(list->isSortingEnabled());
  }
}

}  // namespace
}  // namespace pelko::ui::qt

// How the settings panels look on the real main window: a time-out text that fits its box, the
// gear on every panel's first tab, radio indicators and drop-down lists that show their state on
// the dark panels. Screenshots of each go beside the test program.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QToolButton>

#include "src/ui/controls/duration_control.h"
#include "src/ui/controls/general_settings_tab.h"
#include "src/ui/controls/settings_ear_control.h"
#include "src/ui/controls/settings_note_control.h"
#include "trainer_panel_fixture.h"
#include "ui_GeneralSettingsTab.h"
#include "ui_settings_ear_control.h"
#include "ui_settings_note_trainer_control.h"

namespace {

using Testing::WaitUntil;

constexpr int EarTrainer = 1;
constexpr int ScalesPage = 3;
constexpr int GeneralPage = 5;

// QLineEdit keeps this much room on either side of its text.
constexpr int LineEditMargin = 2;

class SettingsLooksTest : public Testing::TrainerPanelTest {
 protected:
  UI::SettingsEarControl* OpenEar(int page) {
    auto* panel = qobject_cast<UI::SettingsEarControl*>(OpenSettings(EarTrainer, false));
    EXPECT_NE(panel, nullptr);
    panel->SetPage(page);
    QCoreApplication::processEvents();
    return panel;
  }
  Ui_GeneralSettingsTab& General(UI::SettingsEarControl* panel) {
    return panel->form().exEarGeneralArea->form();
  }

  // The indicator of a radio button or check box as it is painted now.
  static QImage Indicator(QAbstractButton* button, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(button);
    return button->grab(button->style()->subElementRect(element, &option, button)).toImage();
  }
  static QImage RadioIndicator(QRadioButton* radio) {
    return Indicator(radio, QStyle::SE_RadioButtonIndicator);
  }
  static QColor Middle(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
  }
  // A picture of `widget` where the window shows it, `grow` pixels larger on every side.
  QImage WindowPart(QWidget* widget, int grow = 0) const {
    const QRect part(widget->mapTo(m_console.get(), QPoint(-grow, -grow)),
                     widget->size() + QSize(2 * grow, 2 * grow));
    return m_console->grab(part).toImage();
  }
  // True when the row's text stands out from its ground: some pixel differs from the colour at
  // the row's right end in grey level by at least `contrast`.
  static bool Readable(const QImage& list, const QRect& row, int contrast = 100) {
    const int ground = qGray(list.pixel(row.right() - 2, row.center().y()));
    for (int y = row.top(); y <= row.bottom(); ++y)
      for (int x = row.left(); x < row.right(); ++x)
        if (std::abs(qGray(list.pixel(x, y)) - ground) >= contrast) return true;
    return false;
  }
};

// A stored untimed Scales section shows the whole word in its time-out box, in a size that fits
// it, and is stored back untimed.
TEST_F(SettingsLooksTest, AnUntimedSectionShowsTheWholeWordAndStaysUntimed) {
  Core::ExcersisesSettings record = Record();
  record.earTrainer.scales.duration.seconds = 0;
  SetRecord(record);
  UI::SettingsEarControl* panel = OpenEar(ScalesPage);
  UI::DurationSpinBox* box = panel->form().earExScalesDuration->timeoutBox();
  auto* text = box->findChild<QLineEdit*>();
  ASSERT_TRUE(text->isVisible());
  EXPECT_EQ(text->displayText(), "Untimed");
  const int room = text->contentsRect().width() - 2 * LineEditMargin;
  EXPECT_LE(QFontMetrics(text->font()).horizontalAdvance(text->displayText()), room);
  EXPECT_GE(text->font().pixelSize(), 12) << "too small to read";
  Screenshot("settings-scales-untimed");
  LeaveByHome();
  EXPECT_EQ(Stored("Excersises/EarTrainer/Scales/Duration/Duration.SecondsValue").toInt(), 0);
}

// The ear trainer's first tab shows the gear that the note and symbols panels show there.
TEST_F(SettingsLooksTest, TheEarPanelsGeneralTabShowsTheGearOfTheOtherPanels) {
  UI::SettingsEarControl* panel = OpenEar(GeneralPage);
  QToolButton* tab = panel->form().earExTabGeneral;
  QToolButton* noteTab = m_console->GetSettingsNoteControl(0)->form().noteExTabGeneral;
  ASSERT_FALSE(tab->icon().isNull());
  EXPECT_EQ(tab->iconSize(), noteTab->iconSize());
  EXPECT_EQ(tab->icon().pixmap(tab->iconSize()).toImage(),
            noteTab->icon().pixmap(noteTab->iconSize()).toImage());
  // It is painted on the tab, not only set.
  const QImage shown = tab->grab().toImage();
  const QIcon gear = tab->icon();
  tab->setIcon(QIcon());
  EXPECT_NE(tab->grab().toImage(), shown);
  tab->setIcon(gear);
  Screenshot("settings-ear-general-tab");
}

// A radio indicator paints differently chosen, not chosen, under the pointer and disabled; the
// chosen one carries the orange of a ticked check box, and a disabled choice still shows.
TEST_F(SettingsLooksTest, ARadioIndicatorShowsWhetherItIsChosenHoveredOrDisabled) {
  UI::SettingsEarControl* panel = OpenEar(ScalesPage);
  QRadioButton* chosen = panel->form().scalesBlackAndWhiteKeysRadioButton;
  QRadioButton* other = panel->form().scalesWhiteKeysRadioButton;
  ASSERT_TRUE(chosen->isChecked());
  ASSERT_FALSE(other->isChecked());
  QTest::mouseMove(panel->form().Row1_Title_26);
  const QImage on = RadioIndicator(chosen);
  const QImage off = RadioIndicator(other);
  EXPECT_NE(on, off);

  QCheckBox* ticked = panel->form().earExScalesMajor;
  ASSERT_TRUE(ticked->isChecked());
  const QColor orange = Middle(Indicator(ticked, QStyle::SE_CheckBoxIndicator));
  EXPECT_EQ(on.pixelColor(on.width() / 2, 2), orange) << "the ring of the chosen radio";
  EXPECT_NE(off.pixelColor(off.width() / 2, 2), orange);
  EXPECT_NE(Middle(on), orange) << "the chosen radio's dot";

  QTest::mouseMove(other, QPoint(8, other->height() / 2));
  ASSERT_TRUE(WaitUntil([&] { return other->underMouse(); }));
  EXPECT_NE(RadioIndicator(other), off) << "hovered";
  QTest::mouseMove(panel->form().Row1_Title_26);

  for (QRadioButton* radio : {chosen, other}) radio->setEnabled(false);
  const QImage disabledOn = RadioIndicator(chosen);
  const QImage disabledOff = RadioIndicator(other);
  EXPECT_NE(disabledOn, on);
  EXPECT_NE(disabledOff, off);
  EXPECT_NE(disabledOn, disabledOff);
  for (QRadioButton* radio : {chosen, other}) radio->setEnabled(true);

  panel->SetPage(GeneralPage);
  Screenshot("settings-general-page");
}

// Both drop-down lists sit on the panel without light corners, open with every entry readable,
// mark the entry under the pointer, and look disabled when they are.
TEST_F(SettingsLooksTest, DropDownListsShowEveryEntryReadablyAndTheirState) {
  UI::SettingsEarControl* panel = OpenEar(GeneralPage);
  Ui_GeneralSettingsTab& ui = General(panel);
  ui.autoContinue->click();
  for (QComboBox* list : {ui.playbackInstrument, ui.delayTime}) {
    SCOPED_TRACE(list->objectName().toStdString());
    // The corners of the rounded picture show the panel behind it.
    const QImage shown = WindowPart(list);
    list->hide();
    const QImage ground = WindowPart(list);
    list->show();
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(shown.width() - 1, 0), QPoint(0, shown.height() - 1),
          QPoint(shown.width() - 1, shown.height() - 1)})
      EXPECT_EQ(shown.pixel(corner), ground.pixel(corner)) << corner.x() << "," << corner.y();

    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(WaitUntil([&] { return view->isVisible(); }));
    QCoreApplication::processEvents();
    QImage items = view->viewport()->grab().toImage();
    for (int row = 0; row < list->count(); ++row) {
      const QRect rect = view->visualRect(list->model()->index(row, 0)) & items.rect();
      ASSERT_GT(rect.height(), 10) << "entry " << row << " is out of sight";
      EXPECT_TRUE(Readable(items, rect)) << qPrintable(list->itemText(row));
    }
    // The entry under the pointer takes the accent and stays readable.
    const int hovered = list->currentIndex() == 0 ? 1 : 0;
    const QRect hoveredRect = view->visualRect(list->model()->index(hovered, 0)) & items.rect();
    const QColor plain = items.pixelColor(hoveredRect.right() - 2, hoveredRect.center().y());
    QTest::mouseMove(view->viewport(), hoveredRect.center());
    ASSERT_TRUE(WaitUntil([&] { return view->currentIndex().row() == hovered; }));
    items = view->viewport()->grab().toImage();
    EXPECT_NE(items.pixelColor(hoveredRect.right() - 2, hoveredRect.center().y()), plain);
    EXPECT_TRUE(Readable(items, hoveredRect));
    if (list == ui.playbackInstrument) {
      items.save("screenshots/settings-instrument-list.png");
    }
    list->hidePopup();
    ASSERT_TRUE(WaitUntil([&] { return !view->isVisible(); }));
  }

  QTest::mouseMove(ui.Row1_Title_20);
  const QImage enabled = WindowPart(ui.delayTime);
  ui.pauseAfterMistake->click();
  ASSERT_FALSE(ui.delayTime->isEnabled());
  // Its text and arrow are dimmed: the brightest pixel of the disabled box is darker.
  auto brightest = [](const QImage& image) {
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) most = std::max(most, qGray(image.pixel(x, y)));
    return most;
  };
  EXPECT_LT(brightest(WindowPart(ui.delayTime)), brightest(enabled) - 60);
  Screenshot("settings-general-wait-disabled");
}

}  // namespace

namespace {

// The three panels stand in a column of one width, and the answer radios of the general page stand
// evenly apart, one under the other.
TEST_F(SettingsLooksTest, ThePanelsAreAsWideAsEachOtherAndTheAnswerRadiosEvenlyApart) {
  std::vector<int> widths;
  for (int trainer = 0; trainer < 3; ++trainer) {
    QWidget* panel = OpenSettings(trainer, false);
    ASSERT_NE(panel, nullptr);
    widths.push_back(panel->findChild<QWidget*>("ContentWidget")->width());
    LeaveByHome();
  }
  EXPECT_EQ(widths, std::vector<int>(3, widths.front()));

  Ui_GeneralSettingsTab& ui = General(OpenEar(GeneralPage));
  const auto top = [&](QWidget* radio) { return radio->mapTo(m_console.get(), QPoint()).y(); };
  const int first = top(ui.useGkcNotes_2), second = top(ui.useMultiChoiceNotes_2),
            third = top(ui.useMultiChoiceNotes_3);
  EXPECT_EQ(second - first, third - second);
  EXPECT_LT(third - second, ui.useGkcNotes_2->height() * 3 / 2) << "as close as one under another";
}

}  // namespace

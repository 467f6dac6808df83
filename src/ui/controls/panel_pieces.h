#pragma once

// Small pieces the trainer panels share: the panel's look, the tab strip's checked button and the
// title labels, whose form text holds "%1" (and "%2") placeholders for the translated words.

#include <QLabel>
#include <QToolButton>

#include <initializer_list>

namespace UI {

// The form keeps the panel's style sheet in its "panelStyle" property; it is applied on the first
// show, since a style sheet polishes every widget of the panel and the main window builds every
// panel at start-up.
inline void ApplyPanelStyle(QWidget* panel) {
  if (panel->styleSheet().isEmpty()) panel->setStyleSheet(panel->property("panelStyle").toString());
}

// Checks the tab of `page` (the tabs listed in page order) and clears the others.
inline void CheckTab(std::initializer_list<QToolButton*> tabs, int page) {
  int index = 0;
  for (QToolButton* tab : tabs) tab->setChecked(index++ == page);
}

inline void FillTitle(QLabel* title, const QString& first) {
  title->setText(title->text().arg(first));
}

inline void FillTitle(QLabel* title, const QString& first, const QString& second) {
  title->setText(title->text().arg(first, second));
}

}  // namespace UI

#pragma once

// Small pieces the trainer panels share: the tab strip's checked button and the title labels,
// whose form text holds "%1" (and "%2") placeholders for the translated words.

#include <QLabel>
#include <QToolButton>

#include <initializer_list>

namespace UI {

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

#pragma once

// Asks the user, when leaving, to rate the program with one to five stars. A star opens the
// rating page with that count; after that the question is never asked again.

#include <QDate>
#include <QDialog>

#include <functional>

#include "ui_rating.h"

namespace UI {

class AppRating : public QDialog {
  Q_OBJECT

 public:
  using Today = std::function<QDate()>;
  // The rating is asked from this day on.
  static const QDate FirstDay;

  explicit AppRating(QWidget* parent);

  // Runs the dialog when it is due: from the first day on, the user has not rated yet, and the
  // online service (where the rating page is) is configured.
  void Show();
  static void SetToday(Today today);

 private slots:
  void on_starBtn1_clicked() { rate(1); }
  void on_starBtn2_clicked() { rate(2); }
  void on_starBtn3_clicked() { rate(3); }
  void on_starBtn4_clicked() { rate(4); }
  void on_starBtn5_clicked() { rate(5); }

 private:
  void rate(int stars);

  Ui_Rating m_ui;
};

}  // namespace UI

#pragma once

// Pages made of check boxes, one per flag of a settings record, described by a table of rows:
// the form's box, the record's flag and the text the panel gives the box.

#include <QCheckBox>
#include <QCoreApplication>

#include <cstddef>

#include "src/ui/controls/check_group.h"
#include "src/ui/controls/settings_binders.h"

namespace UI {

template <class Form, class Record>
struct FlagBox {
  QCheckBox* Form::*box;
  bool Record::*flag;
  const char* text;  // translated in the panel's context; null keeps the form's text
};

template <class Form, class Record, std::size_t N>
void Data2FlagBoxes(Record& record, Form& form, const FlagBox<Form, Record> (&rows)[N]) {
  for (const auto& row : rows) Data2boolUi(record.*(row.flag), form.*(row.box));
}

template <class Form, class Record, std::size_t N>
void FlagBoxes2Data(Record& record, Form& form, const FlagBox<Form, Record> (&rows)[N]) {
  for (const auto& row : rows) boolUi2Data(record.*(row.flag), form.*(row.box));
}

template <class Form, class Record, std::size_t N>
void SetFlagBoxTexts(Form& form, const FlagBox<Form, Record> (&rows)[N], const char* context) {
  for (const auto& row : rows)
    if (row.text) (form.*(row.box))->setText(QCoreApplication::translate(context, row.text));
}

template <class Form, class Record, std::size_t N>
void AddFlagBoxes(CheckGroup& group, Form& form, const FlagBox<Form, Record> (&rows)[N]) {
  for (const auto& row : rows) group.AddCheck(form.*(row.box));
}

}  // namespace UI

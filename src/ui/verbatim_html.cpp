#include "src/ui/verbatim_html.h"

namespace UI {

QString VerbatimHtml(const QString& text) {
  return QStringLiteral("<span style=\"white-space:pre-wrap\">%1</span>").arg(text.toHtmlEscaped());
}

}  // namespace UI

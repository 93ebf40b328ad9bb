#pragma once

#include <QString>
#include <functional>

class QTextDocument;
class QWidget;

// Every print goes through a preview: the pages as they will come out of the printer, with
// the document's own paper, margins, headers and footers (which the editor does not show),
// and the printer chosen from there.
namespace PrintPreview {

// Shows the document; returns the number of pages printed (0 when the user closed the preview
// without printing). Windows keep one of these so that tests can print without a dialog.
using Run = std::function<int(const QTextDocument& doc, const QString& title)>;

// The preview window over `parent` (objectName "frmPrintPreview").
Run dialog(QWidget* parent);

} // namespace PrintPreview

#pragma once

#include "documents/forms/PrintPreview.h"

#include <QWidget>

class QTextEdit;
struct AppContext;

// Never shown: holds the print box of the blank forms and their printer dialog.
class frmPrint : public QWidget {
    Q_OBJECT
public:
    explicit frmPrint(AppContext& ctx, QWidget* parent = nullptr);

    QTextEdit* rtfPrintOut;

    // The print preview the form is printed from. Tests replace it (for instance to print
    // into a PDF file without a dialog).
    PrintPreview::Run preview;

    // Prints the blank form of `kind` ("lead", "main", "detail", "roof") unchanged, on the
    // template's own page (one-inch margins when it gives none), after a preview. A missing or
    // unreadable template is reported by name and prints nothing. Returns the number of pages
    // printed.
    int PrintBlankForm(const QString& kind);

private:
    AppContext& ctx_;
};

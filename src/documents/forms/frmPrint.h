#pragma once

#include <QWidget>
#include <functional>

class QPrinter;
class QTextEdit;
struct AppContext;

// Never shown: holds the print box of the blank forms and their printer dialog.
class frmPrint : public QWidget {
    Q_OBJECT
public:
    explicit frmPrint(AppContext& ctx, QWidget* parent = nullptr);

    QTextEdit* rtfPrintOut;

    // Asks for the printer; true when the user confirms. Tests replace it (for instance to
    // print into a PDF file without a dialog).
    std::function<bool(QPrinter&)> printerDialog;

    // Prints the blank form of `kind` ("lead", "main", "detail", "roof") unchanged, with one-inch
    // margins. A missing or unreadable template is reported by name and prints nothing.
    // Returns the number of pages printed.
    int PrintBlankForm(const QString& kind);

private:
    AppContext& ctx_;
};

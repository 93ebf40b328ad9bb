#include "documents/forms/PrintPreview.h"

#include "documents/PrintRichText.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>

namespace PrintPreview {

Run dialog(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](const QTextDocument& doc, const QString& title) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(title);
        QPrintPreviewDialog preview(&printer, owner);
        preview.setObjectName(QStringLiteral("frmPrintPreview"));
        preview.setWindowTitle(title.isEmpty() ? QStringLiteral("Print Preview")
                                               : QStringLiteral("Print Preview \u2013 ") + title);
        // Big enough to read a page; the preview opens at a whole page.
        if (const QScreen* screen = owner ? owner->screen() : nullptr) {
            const QSize room = screen->availableSize();
            preview.resize(std::min(room.width(), 900), std::min(room.height(), 1000));
        }
        int pages = 0;
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&](QPrinter* p) { pages = PrintRichText(doc, *p); });
        if (preview.exec() != QDialog::Accepted)
            return 0;
        return pages;
    };
}

} // namespace PrintPreview

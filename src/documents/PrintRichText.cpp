#include "documents/PrintRichText.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>
#include <memory>

int PrintRichText(const QTextDocument& doc, QPagedPaintDevice& device, int leftTwips, int topTwips,
                  int rightTwips, int bottomTwips) {
    // Twips to points: 20 twips a point.
    const QMarginsF margins(leftTwips / 20.0, topTwips / 20.0, rightTwips / 20.0,
                            bottomTwips / 20.0);
    device.setPageMargins(margins, QPageLayout::Point);

    // Laid out for the device itself, so that font sizes come out true and the page size is the
    // paint rectangle inside the margins: the document is then printed as already paginated,
    // without the extra border and page numbers Qt adds to an unpaginated one.
    std::unique_ptr<QTextDocument> copy(doc.clone());
    copy->documentLayout()->setPaintDevice(&device);
    QTextFrameFormat root = copy->rootFrame()->frameFormat();
    root.setMargin(0);
    copy->rootFrame()->setFrameFormat(root);
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    copy->setPageSize(QSizeF(paint.width(), paint.height()));
    const int pages = copy->pageCount();

    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        painter.save();
        const QRectF view(0, page * paint.height(), paint.width(), paint.height());
        painter.translate(0, -view.top());
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = view;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(view);
        copy->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    painter.end();
    return pages;
}

#include "documents/PrintRichText.h"
#include "documents/Rtf.h"
#include "documents/RtfFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

namespace {

using namespace Rtf;

constexpr double Dpi = 96; // the document's unit: see RtfFormat.h
constexpr double PxPerPoint = Dpi / 72;
constexpr double MinBody = Dpi; // a page keeps at least an inch for its text

double px(int twips) {
    return format::pixels(twips);
}

// Where things go on the paper, in pixels from its top left corner.
struct Sheet {
    QSizeF paper;
    QRectF body;
    double headerTop = 0;
    double footerBottom = 0; // from the paper's bottom edge
};

// A device of 96 dots to the inch to lay documents out on: Qt's layout scales table widths
// and pictures to its device but not indents, spacing or tab stops, so laying out at the
// document's own unit and scaling the printer's painter prints all of them true.
QImage& layoutDevice() {
    static QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = int(std::lround(Dpi / 0.0254));
        img.setDotsPerMeterX(dotsPerMetre);
        img.setDotsPerMeterY(dotsPerMetre);
        return img;
    }();
    return device;
}

bool sameBorders(const QTextBlockFormat& a, const QTextBlockFormat& b) {
    for (int p = format::BorderTopWidth; p <= format::BorderSpacing; ++p)
        if (a.property(p) != b.property(p))
            return false;
    return true;
}

bool hasBorders(const QTextBlockFormat& f) {
    for (int e = 0; e < 4; ++e)
        if (f.doubleProperty(format::borderWidthProperty(e)) > 0)
            return true;
    return false;
}

// Whether the paragraph shares its border box with the one before (or after) it.
bool sameBox(const QTextBlock& a, const QTextBlock& b) {
    return a.isValid() && b.isValid() && hasBorders(b.blockFormat()) &&
           sameBorders(a.blockFormat(), b.blockFormat()) &&
           QTextCursor(a).currentFrame() == QTextCursor(b).currentFrame();
}

// Writer keeps a bordered paragraph's text inside its borders: the box stands where the
// paragraph's indents are and the text moves in by the border and its spacing.
void insetBorderedParagraphs(QTextDocument& doc) {
    struct Inset {
        QTextBlock block;
        QTextBlockFormat format;
    };
    QList<Inset> insets;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (!hasBorders(f))
            continue;
        const double space = f.doubleProperty(format::BorderSpacing);
        const auto room = [&](int edge) {
            const double w = f.doubleProperty(format::borderWidthProperty(edge));
            return w > 0 ? w + space : 0.0;
        };
        f.setLeftMargin(f.leftMargin() + room(format::Left));
        f.setRightMargin(f.rightMargin() + room(format::Right));
        if (!sameBox(b, b.previous()))
            f.setTopMargin(f.topMargin() + room(format::Top));
        if (!sameBox(b, b.next()))
            f.setBottomMargin(f.bottomMargin() + room(format::Bottom));
        insets.append({b, f});
    }
    for (const Inset& i : insets)
        QTextCursor(i.block).setBlockFormat(i.format);
}

void tablesIn(QTextFrame* frame, QList<QTextTable*>& out) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            out.append(table);
        tablesIn(child, out);
    }
}

// Qt has no row heights: a row shorter than its file asked for (\trrh) gets the difference as
// padding below its cells. Measured first, changed after, so the document is laid out twice.
void padShortRows(QTextDocument& doc) {
    QList<QTextTable*> tables;
    tablesIn(doc.rootFrame(), tables);
    const QAbstractTextDocumentLayout* layout = doc.documentLayout();
    struct Pad {
        QTextTableCell cell;
        double extra;
    };
    QList<Pad> pads;
    for (QTextTable* t : tables) {
        for (int r = 0; r < t->rows(); ++r) {
            double wanted = 0;
            double tallest = 0;
            QList<QTextTableCell> cells;
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c || cell.rowSpan() > 1)
                    continue;
                const QTextTableCellFormat f = cell.format().toTableCellFormat();
                wanted = std::max(wanted, px(std::abs(f.intProperty(format::RowHeight))));
                const QRectF first = layout->blockBoundingRect(cell.firstCursorPosition().block());
                const QRectF last = layout->blockBoundingRect(cell.lastCursorPosition().block());
                tallest = std::max(tallest, last.bottom() - first.top() + f.topPadding() +
                                                f.bottomPadding());
                cells.append(cell);
            }
            if (wanted > tallest + 0.5)
                for (const QTextTableCell& cell : cells)
                    pads.append({cell, wanted - tallest});
        }
    }
    for (Pad& p : pads) {
        QTextTableCellFormat f = p.cell.format().toTableCellFormat();
        f.setBottomPadding(f.bottomPadding() + p.extra);
        p.cell.setFormat(f);
    }
}

void prepare(QTextDocument& doc) {
    doc.documentLayout()->setPaintDevice(&layoutDevice());
    doc.setUseDesignMetrics(true);
    QTextFrameFormat root = doc.rootFrame()->frameFormat();
    root.setMargin(0);
    doc.rootFrame()->setFrameFormat(root);
    insetBorderedParagraphs(doc);
}

// A header or footer, laid out to the text's width.
std::unique_ptr<QTextDocument> runningDoc(const QTextDocument& doc, RunningHead which,
                                          double width) {
    const QByteArray rtf = runningHead(doc, which);
    if (rtf.isEmpty())
        return nullptr;
    auto head = std::make_unique<QTextDocument>();
    if (!read(rtf, *head))
        return nullptr;
    prepare(*head);
    head->setTextWidth(width);
    return head;
}

// The numbers of the page in its page fields.
void fillFields(QTextDocument& head, int page, int pages) {
    struct Found {
        int position, length;
        QTextCharFormat format;
    };
    QList<Found> found;
    for (QTextBlock b = head.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (fieldOf(f.charFormat()) != Field::None)
                found.append({f.position(), f.length(), f.charFormat()});
        }
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        QTextCursor c(&head);
        c.setPosition(it->position);
        c.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        const int n = fieldOf(it->format) == Field::Page ? page : pages;
        c.insertText(QString::number(n), it->format);
    }
}

// A box of paragraph borders: consecutive paragraphs with the same borders share one.
struct BorderBox {
    QRectF rect;
    QTextBlockFormat format;
};

QList<BorderBox> borderBoxes(const QTextDocument& doc) {
    QList<BorderBox> boxes;
    const QAbstractTextDocumentLayout* layout = doc.documentLayout();
    QTextFrame* lastFrame = nullptr;
    bool open = false;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (!hasBorders(f)) {
            open = false;
            continue;
        }
        QTextFrame* frame = QTextCursor(b).currentFrame();
        // The block's rectangle starts where its frame does; its lines start at its indent.
        QRectF r = layout->blockBoundingRect(b);
        r.translate(f.leftMargin(), 0);
        if (open && frame == lastFrame && sameBorders(boxes.last().format, f)) {
            boxes.last().rect |= r;
        } else {
            boxes.append({r, f});
            open = true;
        }
        lastFrame = frame;
    }
    for (BorderBox& box : boxes) {
        // Lines are centred on the box's edges, the text their spacing away.
        const QTextBlockFormat& f = box.format;
        const double space = f.doubleProperty(format::BorderSpacing);
        const auto out = [&](int edge) {
            return space + f.doubleProperty(format::borderWidthProperty(edge)) / 2;
        };
        box.rect.adjust(-out(format::Left), -out(format::Top), out(format::Right),
                        out(format::Bottom));
    }
    return boxes;
}

void drawBorders(QPainter& p, const QList<BorderBox>& boxes, const QRectF& view) {
    for (const BorderBox& box : boxes) {
        if (!box.rect.adjusted(-4, -4, 4, 4).intersects(view))
            continue;
        const QRectF& r = box.rect;
        const std::array<QLineF, 4> lines{
            QLineF(r.topLeft(), r.topRight()), QLineF(r.topLeft(), r.bottomLeft()),
            QLineF(r.bottomLeft(), r.bottomRight()), QLineF(r.topRight(), r.bottomRight())};
        for (int e = 0; e < 4; ++e) {
            const double width = box.format.doubleProperty(format::borderWidthProperty(e));
            if (width <= 0)
                continue;
            QPen pen(box.format.colorProperty(format::borderColorProperty(e)), width);
            const int style = box.format.intProperty(format::borderStyleProperty(e));
            if (style == QTextFrameFormat::BorderStyle_Dotted)
                pen.setStyle(Qt::DotLine);
            else if (style == QTextFrameFormat::BorderStyle_Dashed)
                pen.setStyle(Qt::DashLine);
            pen.setCapStyle(Qt::SquareCap);
            p.setPen(pen);
            p.drawLine(lines[size_t(e)]);
        }
    }
}

// The document's page when it has one; else the device's paper inside the caller's margins.
Sheet sheetFor(const QTextDocument& doc, QPagedPaintDevice& device, const QMarginsF& fallback) {
    Sheet s;
    const std::optional<PageSetup> setup = pageSetup(doc);
    if (setup && setup->paperWidth >= 1440 && setup->paperHeight >= 1440) {
        const QSizeF points = setup->paperPoints();
        const QPageSize size(QSizeF(std::min(points.width(), points.height()),
                                    std::max(points.width(), points.height())),
                             QPageSize::Point, QString(), QPageSize::FuzzyMatch);
        QPageLayout layout(size,
                           setup->landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(), QPageLayout::Point);
        if (!device.setPageLayout(layout)) {
            layout.setMode(QPageLayout::FullPageMode);
            device.setPageLayout(layout);
        }
        s.paper = QSizeF(px(setup->paperWidth), px(setup->paperHeight));
        s.body = QRectF(QPointF(px(setup->marginLeft), px(setup->marginTop)),
                        QPointF(s.paper.width() - px(setup->marginRight),
                                s.paper.height() - px(setup->marginBottom)));
        s.headerTop = px(setup->headerTop);
        s.footerBottom = px(setup->footerBottom);
    } else {
        device.setPageMargins(fallback, QPageLayout::Point);
        const QRectF full = device.pageLayout().fullRect(QPageLayout::Point);
        s.paper = full.size() * PxPerPoint;
        s.body =
            QRectF(QPointF(fallback.left(), fallback.top()) * PxPerPoint,
                   QPointF(full.width() - fallback.right(), full.height() - fallback.bottom()) *
                       PxPerPoint);
        s.headerTop = s.footerBottom = px(720);
    }
    if (s.body.width() < MinBody || s.body.height() < MinBody)
        s.body = QRectF(QPointF(0, 0), s.paper).adjusted(Dpi / 2, Dpi / 2, -Dpi / 2, -Dpi / 2);
    return s;
}

// Running heads of one kind (header or footer) for each kind of page.
struct Heads {
    std::unique_ptr<QTextDocument> every, first, even;
    QTextDocument* forPage(int page, const PageSetup& setup) const {
        if (page == 1 && setup.titlePage)
            return first.get();
        if (page % 2 == 0 && setup.facingPages)
            return even.get();
        return every.get();
    }
    double tallest() const {
        double h = 0;
        for (const auto* d : {every.get(), first.get(), even.get()})
            if (d)
                h = std::max(h, d->documentLayout()->documentSize().height());
        return h;
    }
};

Heads headsOf(const QTextDocument& doc, bool header, double width) {
    Heads h;
    h.every = runningDoc(doc, header ? RunningHead::Header : RunningHead::Footer, width);
    h.first = runningDoc(doc, header ? RunningHead::FirstHeader : RunningHead::FirstFooter, width);
    h.even = runningDoc(doc, header ? RunningHead::EvenHeader : RunningHead::EvenFooter, width);
    return h;
}

void drawHead(QPainter& p, QTextDocument* head, const QPointF& at, int page, int pages) {
    if (!head)
        return;
    fillFields(*head, page, pages);
    p.save();
    p.translate(at);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    head->documentLayout()->draw(&p, ctx);
    drawBorders(p, borderBoxes(*head), QRectF(QPointF(), head->size()));
    p.restore();
}

} // namespace

int PrintRichText(const QTextDocument& doc, QPagedPaintDevice& device, int leftTwips, int topTwips,
                  int rightTwips, int bottomTwips) {
    const QMarginsF fallback(leftTwips / 20.0, topTwips / 20.0, rightTwips / 20.0,
                             bottomTwips / 20.0);
    Sheet sheet = sheetFor(doc, device, fallback);
    const PageSetup setup = pageSetup(doc).value_or(PageSetup());

    // A header or footer taller than its margin pushes the text away, as word processors do.
    const Heads headers = headsOf(doc, true, sheet.body.width());
    const Heads footers = headsOf(doc, false, sheet.body.width());
    const double headerBottom = sheet.headerTop + headers.tallest();
    if (headers.tallest() > 0 && headerBottom > sheet.body.top())
        sheet.body.setTop(std::min(headerBottom, sheet.body.bottom() - MinBody));
    const double footerTop = sheet.paper.height() - sheet.footerBottom - footers.tallest();
    if (footers.tallest() > 0 && footerTop < sheet.body.bottom())
        sheet.body.setBottom(std::max(footerTop, sheet.body.top() + MinBody));

    std::unique_ptr<QTextDocument> body(doc.clone());
    prepare(*body);
    const double pageHeight = sheet.body.height();
    body->setPageSize(QSizeF(sheet.body.width(), pageHeight));
    padShortRows(*body);
    const int pages = body->pageCount();
    const QList<BorderBox> boxes = borderBoxes(*body);

    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    // From here on the painter works in the document's pixels from the paper's corner.
    const QRectF origin = device.pageLayout().paintRect(QPageLayout::Point);
    painter.scale(device.logicalDpiX() / Dpi, device.logicalDpiY() / Dpi);
    painter.translate(-origin.left() * PxPerPoint, -origin.top() * PxPerPoint);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        painter.save();
        const double top = page * pageHeight;
        painter.translate(sheet.body.left(), sheet.body.top() - top);
        const QRectF view(-sheet.body.left(), top, sheet.paper.width(), pageHeight);
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext ctx;
        // A line ending exactly on the page's edge belongs to the page above: drawn here too,
        // clipped, its text would be in the PDF twice. Qt draws every line that touches the
        // clip, so the clip stops the smallest step Qt measures (1/64) short of the edges.
        ctx.clip = view.adjusted(0, 1.0 / 32, 0, -1.0 / 32);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        body->documentLayout()->draw(&painter, ctx);
        drawBorders(painter, boxes, view);
        painter.restore();

        drawHead(painter, headers.forPage(page + 1, setup),
                 QPointF(sheet.body.left(), sheet.headerTop), page + 1, pages);
        QTextDocument* footer = footers.forPage(page + 1, setup);
        if (footer)
            drawHead(painter, footer,
                     QPointF(sheet.body.left(),
                             sheet.paper.height() - sheet.footerBottom - footer->size().height()),
                     page + 1, pages);
    }
    painter.end();
    return pages;
}

int PrintRichText(const QTextDocument& doc, QPagedPaintDevice& device) {
    return PrintRichText(doc, device, 1440, 1440, 1440, 1440);
}

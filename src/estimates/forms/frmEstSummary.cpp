#include "estimates/forms/frmEstSummary.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/Widgets.h"
#include "estimates/forms/MonthChart.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

using Widgets::named;

namespace {

const QString kForm = Guard::form("frmEstSummary");
const QString kTitle = QStringLiteral("Estimate Summary");

// The rows of the table: every status, then the whole period.
constexpr int kAllRow = EstSummary::KindCount;

QString countText(int n) {
    return QLocale().toString(n);
}

QString totalText(const EstSummary::Tally& t) {
    // A total missing from some of them is marked, and the note below says why.
    return t.total.toCurrency() + (t.withoutTotal > 0 ? QStringLiteral(" *") : QString());
}

QString estimates(int n) {
    return n == 1 ? QStringLiteral("1 estimate") : QStringLiteral("%1 estimates").arg(n);
}

QString shortDate(const QDate& d) {
    return QLocale().toString(d, QLocale::ShortFormat);
}

} // namespace

frmEstSummary::frmEstSummary(AppContext& ctx, const QDate& today, QWidget* parent)
    : QDialog(parent), ctx_(ctx), today_(today), presets_(EstSummary::presets(today)) {
    setObjectName(QStringLiteral("frmEstSummary"));
    setWindowTitle(kTitle);
    resize(960, 560);

    cmbPeriod = named(new QComboBox, "cmbPeriod");
    for (const EstSummary::Period& p : presets_)
        cmbPeriod->addItem(p.name);
    cmbPeriod->addItem(QStringLiteral("Custom"));
    auto makeDate = [](const char* name) {
        auto* d = named(new QDateEdit, QString::fromLatin1(name));
        d->setCalendarPopup(true);
        d->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
        d->setMinimumDate(QDate(1900, 1, 1));
        d->setMaximumDate(QDate(2199, 12, 31));
        return d;
    };
    dtpFrom = makeDate("dtpFrom");
    dtpTo = makeDate("dtpTo");
    auto* periodLabel = named(new QLabel(QStringLiteral("&Period:")), "lblPeriod");
    periodLabel->setBuddy(cmbPeriod);
    auto* fromLabel = named(new QLabel(QStringLiteral("&From:")), "lblFrom");
    fromLabel->setBuddy(dtpFrom);
    auto* toLabel = named(new QLabel(QStringLiteral("&To:")), "lblTo");
    toLabel->setBuddy(dtpTo);
    auto* top = new QHBoxLayout;
    top->addWidget(periodLabel);
    top->addWidget(cmbPeriod);
    top->addSpacing(16);
    top->addWidget(fromLabel);
    top->addWidget(dtpFrom);
    top->addWidget(toLabel);
    top->addWidget(dtpTo);
    top->addStretch();

    tblSummary = named(new QTableWidget(kAllRow + 1, 3), "tblSummary");
    tblSummary->setHorizontalHeaderLabels(
        {QStringLiteral("Status"), QStringLiteral("Estimates"), QStringLiteral("Total")});
    tblSummary->verticalHeader()->hide();
    tblSummary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSummary->setSelectionMode(QAbstractItemView::NoSelection);
    tblSummary->setFocusPolicy(Qt::NoFocus);
    tblSummary->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblSummary->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    tblSummary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblSummary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r <= kAllRow; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (r == kAllRow) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            tblSummary->setItem(r, c, item);
        }
        tblSummary->item(r, 0)->setText(r == kAllRow ? QStringLiteral("All")
                                                     : EstSummary::kindName(r));
    }
    tblSummary->item(EstSummary::Expired, 0)
        ->setToolTip(QStringLiteral("Pending estimates whose offer has run out"));

    lblWinRate = named(new QLabel, "lblWinRate");
    lblPending = named(new QLabel, "lblPending");
    lblNote = named(new QLabel, "lblNote");
    lblNote->setWordWrap(true);
    for (QLabel* l : {lblWinRate, lblPending, lblNote})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    chtMonths = named(new QChartView, "chtMonths");
    chtMonths->setRenderHint(QPainter::Antialiasing);
    chtMonths->setMinimumSize(420, 300);

    auto* left = new QVBoxLayout;
    left->addWidget(tblSummary);
    left->addWidget(lblWinRate);
    left->addWidget(lblPending);
    left->addWidget(lblNote);
    left->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 0);
    middle->addWidget(chtMonths, 1);

    cmdPrintSummary =
        named(new QPushButton(QStringLiteral("&Print") + QChar(0x2026)), "cmdPrintSummary");
    cmdExportSummary =
        named(new QPushButton(QStringLiteral("&Export CSV") + QChar(0x2026)), "cmdExportSummary");
    cmdExportSummary->setToolTip(
        QStringLiteral("Write the summary to a CSV file that a spreadsheet opens"));
    cmdClose = named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    auto* buttons = Widgets::buttonRow({cmdClose, cmdPrintSummary, cmdExportSummary});

    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addLayout(middle, 1);
    v->addLayout(buttons);

    preview = PrintPreview::dialog(this);
    saveFileName = [this] {
        const QString proposed =
            QStringLiteral("estimate-summary-%1-%2.csv")
                .arg(figures_.from.toString(Qt::ISODate), figures_.to.toString(Qt::ISODate));
        QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Export Estimate Summary"),
                                                    proposed, QStringLiteral("CSV files (*.csv)"));
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".csv");
        return name;
    };

    connect(cmbPeriod, &QComboBox::activated, this, [this](int i) {
        if (i >= 0 && i < presets_.size())
            setPeriod(presets_[i].from, presets_[i].to);
    });
    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmEstSummary::followDates);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmEstSummary::followDates);
    connect(cmdPrintSummary, &QPushButton::clicked, this, &frmEstSummary::cmdPrintSummary_Click);
    connect(cmdExportSummary, &QPushButton::clicked, this, &frmEstSummary::cmdExportSummary_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    setPeriod(presets_.front().from, presets_.front().to);
}

frmEstSummary::~frmEstSummary() = default;

void frmEstSummary::setPeriod(const QDate& from, const QDate& to) {
    {
        const QSignalBlocker a(dtpFrom), b(dtpTo);
        dtpFrom->setDate(from);
        dtpTo->setDate(to);
    }
    followDates();
}

void frmEstSummary::followDates() {
    // The period offered by name when the dates are one of them (the first one: in December
    // "This year" and "Last 12 months" are the same dates).
    int chosen = int(presets_.size());
    for (int i = 0; i < presets_.size() && chosen == presets_.size(); ++i)
        if (presets_[i].from == dtpFrom->date() && presets_[i].to == dtpTo->date())
            chosen = i;
    cmbPeriod->setCurrentIndex(chosen);
    refresh();
}

void frmEstSummary::refresh() {
    Guard::run(*ctx_.prompt, QStringLiteral("refresh"), kForm, [this] {
        figures_ = EstSummary::read(ctx_, dtpFrom->date(), dtpTo->date(), today_);
    });
    showFigures();
    showChart();
}

void frmEstSummary::showFigures() {
    const EstSummary::Figures& f = figures_;
    for (int r = 0; r <= kAllRow; ++r) {
        const EstSummary::Tally& t = r == kAllRow ? f.all : f.byKind[std::size_t(r)];
        tblSummary->item(r, 1)->setText(countText(t.count));
        tblSummary->item(r, 2)->setText(totalText(t));
    }
    const int accepted = f.byKind[EstSummary::Accepted].count;
    const int decided = accepted + f.byKind[EstSummary::Rejected].count;
    lblWinRate->setText(
        QStringLiteral("Win rate: %1").arg(EstSummary::winRateText(f)) +
        (decided > 0 ? QStringLiteral(" (%1 accepted of %2 decided)").arg(accepted).arg(decided)
                     : QString()));
    lblPending->setText(
        QStringLiteral("Pending work: %1 in %2")
            .arg(f.pendingValue().toCurrency(), estimates(f.byKind[EstSummary::Pending].count)));
    QStringList notes;
    if (dtpTo->date() < dtpFrom->date())
        notes << QStringLiteral("The period ends before it begins: choose a To date on or after "
                                "the From date.");
    if (f.all.withoutTotal > 0)
        notes << QStringLiteral("* %1 without a known total (their files could not be read); "
                                "they are counted without it.")
                     .arg(estimates(f.all.withoutTotal));
    if (f.undated > 0)
        notes << QStringLiteral("%1 without a date %2 in no period.")
                     .arg(estimates(f.undated),
                          f.undated == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    lblNote->setText(notes.join(QLatin1Char('\n')));
    lblNote->setVisible(!notes.isEmpty());
    fitTable();
}

void frmEstSummary::fitTable() {
    // Exactly as large as its cells: no empty row below them, no room taken from the chart.
    tblSummary->resizeColumnsToContents();
    int width = 2 * tblSummary->frameWidth();
    for (int c = 0; c < tblSummary->columnCount(); ++c)
        width += tblSummary->columnWidth(c);
    // Not narrower than the lines below it: the total takes what is left.
    const int least = 280;
    if (width < least) {
        tblSummary->setColumnWidth(2, tblSummary->columnWidth(2) + least - width);
        width = least;
    }
    int height = 2 * tblSummary->frameWidth() + tblSummary->horizontalHeader()->sizeHint().height();
    for (int r = 0; r < tblSummary->rowCount(); ++r)
        height += tblSummary->rowHeight(r);
    tblSummary->setFixedSize(width, height);
}

void frmEstSummary::showChart() {
    QChart* chart = MonthChart::make(figures_, palette().color(QPalette::Window),
                                     palette().color(QPalette::WindowText));
    // The month and status under the pointer, with its count and total.
    for (QAbstractSeries* s : chart->series()) {
        auto* bars = qobject_cast<QStackedBarSeries*>(s);
        if (!bars)
            continue;
        connect(bars, &QStackedBarSeries::hovered, this,
                [this, bars](bool on, int index, QBarSet* set) {
                    const int kind = int(bars->barSets().indexOf(set));
                    if (!on || index < 0 || std::size_t(index) >= figures_.months.size() ||
                        kind < 0) {
                        QToolTip::hideText();
                        return;
                    }
                    const EstSummary::Month& m = figures_.months[std::size_t(index)];
                    const EstSummary::Tally& t = m.byKind[std::size_t(kind)];
                    QToolTip::showText(QCursor::pos(),
                                       QStringLiteral("%1, %2: %3, %4")
                                           .arg(set->label(), EstSummary::monthName(m.first),
                                                estimates(t.count), totalText(t)));
                });
    }
    QChart* old = chtMonths->chart();
    chtMonths->setChart(chart);
    // The view does not delete a chart it lets go of.
    delete old;
}

void frmEstSummary::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // A palette changed while the window is being built waits for its chart.
    if (event->type() == QEvent::PaletteChange && chtMonths)
        showChart();
}

std::unique_ptr<QTextDocument> frmEstSummary::document() const {
    const EstSummary::Figures& f = figures_;
    auto doc = std::make_unique<QTextDocument>();
    // The chart as printed: black on white whatever the screen's palette, drawn at three times
    // the size it takes on the page so that it stays sharp on paper.
    const QSize onPage(624, 340);
    QImage image(onPage * 3, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        // Drawn from a scene of its own: a view that is never shown never lays its chart out.
        QGraphicsScene scene;
        QChart* chart = MonthChart::make(f, Qt::white, Qt::black);
        scene.addItem(chart);
        chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(onPage)));
        chart->layout()->activate();
        scene.setSceneRect(chart->geometry());
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())), scene.sceneRect());
    }
    doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("summary-chart.png")),
                     image);

    auto esc = [](const QString& s) { return s.toHtmlEscaped(); };
    QString html = QStringLiteral("<h2>Estimate summary</h2><p>%1 \u2013 %2</p>")
                       .arg(esc(shortDate(f.from)), esc(shortDate(f.to)));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">"
                           "<tr><th align=\"left\">Status</th><th align=\"right\">Estimates</th>"
                           "<th align=\"right\">Total</th></tr>");
    for (int r = 0; r <= kAllRow; ++r) {
        const EstSummary::Tally& t = r == kAllRow ? f.all : f.byKind[std::size_t(r)];
        const QString name = r == kAllRow ? QStringLiteral("All") : EstSummary::kindName(r);
        const QString open = r == kAllRow ? QStringLiteral("<b>") : QString();
        const QString close = r == kAllRow ? QStringLiteral("</b>") : QString();
        html += QStringLiteral("<tr><td>%2%1%3</td><td align=\"right\">%2%4%3</td>"
                               "<td align=\"right\">%2%5%3</td></tr>")
                    .arg(esc(name), open, close, esc(countText(t.count)), esc(totalText(t)));
    }
    html +=
        QStringLiteral("</table><p>%1<br>%2").arg(esc(lblWinRate->text()), esc(lblPending->text()));
    if (!lblNote->text().isEmpty())
        html += QStringLiteral("<br>") +
                esc(lblNote->text()).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    html += QStringLiteral("</p><p><img src=\"summary-chart.png\" width=\"%1\" height=\"%2\"></p>")
                .arg(onPage.width())
                .arg(onPage.height());
    doc->setHtml(html);
    return doc;
}

void frmEstSummary::cmdPrintSummary_Click() {
    Guard::run(*ctx_.prompt, QStringLiteral("cmdPrintSummary_Click"), kForm, [this] {
        const std::unique_ptr<QTextDocument> doc = document();
        if (preview)
            preview(*doc, QStringLiteral("Estimate summary"));
    });
}

void frmEstSummary::cmdExportSummary_Click() {
    const QString path = saveFileName ? saveFileName() : QString();
    if (path.isEmpty())
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdExportSummary_Click"), kForm, [&] {
        const QString failed = EstSummary::writeCsv(figures_, path);
        if (!failed.isEmpty())
            ctx_.prompt->message(failed, QString(), Prompt::Icon::Warning);
    });
}

#include "catalogue/forms/frmImportPrices.h"

#include "catalogue/CostItems.h"
#include "catalogue/forms/RowsModel.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "common/forms/Widgets.h"
#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using Widgets::named;
using namespace PriceList;

namespace {
const QString kOwner = QStringLiteral("frmImportPrices");
constexpr int kSampleRows = 50;
constexpr const char* kColumnNames[Fields] = {
    "Sku", "Name", "Unit", "Price", "Category", "CostType", "Manufacturer", "Description", "Kind"};

QTableView* grid(const char* name) {
    auto* v = named(new QTableView, QString::fromLatin1(name));
    GridBinding::setupView(v);
    v->setWordWrap(false);
    v->setSortingEnabled(false);
    return v;
}

QString money(Money m) {
    return m.toCurrency();
}

QString percent(const PriceChange& c) {
    const std::optional<double> p = c.percent();
    return p ? QStringLiteral("%1%2 %")
                   .arg(*p > 0 ? QStringLiteral("+") : QString())
                   .arg(*p, 0, 'f', 1)
             : QString();
}

} // namespace

frmImportPrices::frmImportPrices(AppContext& ctx, Source source, QWidget* parent)
    : QDialog(parent), ctx_(ctx), source_(std::move(source)) {
    setObjectName(kOwner);
    setWindowTitle(QStringLiteral("Import Price List"));
    stkSteps = named(new QStackedWidget, "stkSteps");

    // Step 1: what the columns hold.
    auto* mapping = new QWidget;
    lblFile = named(new QLabel, "lblFile");
    lblFile->setWordWrap(true);
    cmbEncoding = named(new QComboBox, "cmbEncoding");
    cmbEncoding->addItem(QStringLiteral("UTF-8"), int(CsvText::Encoding::Utf8));
    cmbEncoding->addItem(QStringLiteral("Western (Windows-1252, Latin-1)"),
                         int(CsvText::Encoding::Windows1252));
    cmbSeparator = named(new QComboBox, "cmbSeparator");
    cmbSeparator->addItem(QStringLiteral("Comma ( , )"), int(','));
    cmbSeparator->addItem(QStringLiteral("Semicolon ( ; )"), int(';'));
    cmbSeparator->addItem(QStringLiteral("Tab"), int('\t'));
    cmbDecimal = named(new QComboBox, "cmbDecimal");
    cmbDecimal->addItem(QStringLiteral("Period (1234.50)"), QStringLiteral("."));
    cmbDecimal->addItem(QStringLiteral("Comma (1234,50)"), QStringLiteral(","));
    auto* file = new QFormLayout;
    file->addRow(QStringLiteral("&Encoding:"), cmbEncoding);
    file->addRow(QStringLiteral("&Separator:"), cmbSeparator);
    file->addRow(QStringLiteral("&Decimal mark:"), cmbDecimal);
    auto* columns = new QFormLayout;
    for (int f = 0; f < Fields; ++f) {
        auto* c =
            named(new QComboBox, QStringLiteral("cmbColumn") + QLatin1String(kColumnNames[f]));
        c->setMinimumContentsLength(16);
        cmbColumn[std::size_t(f)] = c;
        QString caption = FieldCaption(Field(f));
        if (f == Kind)
            caption = QStringLiteral("Row kind");
        columns->addRow(caption + QLatin1Char(':'), c);
    }
    cmbDefaultType = named(new QComboBox, "cmbDefaultType");
    cmbDefaultType->addItems(CostItems::CostTypes());
    columns->addRow(QStringLiteral("Cost type of every row:"), cmbDefaultType);
    auto* fileBox = new QGroupBox(QStringLiteral("File"));
    fileBox->setLayout(file);
    auto* columnBox = new QGroupBox(QStringLiteral("Columns"));
    columnBox->setLayout(columns);
    auto* left = new QVBoxLayout;
    left->addWidget(fileBox);
    left->addWidget(columnBox);
    left->addStretch();
    dgSample = grid("dgSample");
    sample_ = new RowsModel({}, this);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(dgSample, 1);
    cmdPreview = named(new QPushButton(QStringLiteral("&Preview") + QChar(0x2026)), "cmdPreview");
    auto* m = new QVBoxLayout(mapping);
    m->addWidget(lblFile);
    m->addLayout(top, 1);
    stkSteps->addWidget(mapping);

    // Step 2: what would change.
    auto* preview = new QWidget;
    lblSummary = named(new QLabel, "lblSummary");
    lblSummary->setWordWrap(true);
    tabPreview = named(new QTabWidget, "tabPreview");
    dgNew = grid("dgNew");
    dgChanged = grid("dgChanged");
    dgUnchanged = grid("dgUnchanged");
    dgUnits = grid("dgUnits");
    dgProblems = grid("dgProblems");
    auto* p = new QVBoxLayout(preview);
    p->addWidget(lblSummary);
    p->addWidget(tabPreview, 1);
    stkSteps->addWidget(preview);

    cmdBack = named(new QPushButton(QStringLiteral("< &Back")), "cmdBack");
    cmdImport = named(new QPushButton(QStringLiteral("&Import")), "cmdImport");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* buttons = Widgets::buttonRow({cmdPreview, cmdBack, cmdImport, cmdCancel});
    auto* v = new QVBoxLayout(this);
    v->addWidget(stkSteps, 1);
    v->addLayout(buttons);
    resize(1000, 640);

    showSource();
    connect(cmbEncoding, &QComboBox::activated, this, &frmImportPrices::reread);
    connect(cmbSeparator, &QComboBox::activated, this, &frmImportPrices::reread);
    for (QComboBox* c : cmbColumn)
        connect(c, &QComboBox::activated, this,
                [this] { cmbDefaultType->setEnabled(cmbColumn[CostType]->currentIndex() <= 0); });
    // Another price column may write its numbers with the other decimal mark.
    connect(cmbColumn[Price], &QComboBox::activated, this, [this] {
        const QChar mark = DetectDecimal(source_.rows, cmbColumn[Price]->currentData().toInt());
        cmbDecimal->setCurrentIndex(cmbDecimal->findData(QString(mark)));
    });
    connect(cmdPreview, &QPushButton::clicked, this, &frmImportPrices::cmdPreview_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmImportPrices::cmdBack_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmImportPrices::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmImportPrices::showSource() {
    filling_ = true;
    const Layout& l = source_.layout;
    lblFile->setText(
        source_.error.isEmpty()
            ? QStringLiteral("%1 rows below the header row. Choose what each column holds; "
                             "nothing is changed before the preview's Import.")
                  .arg(source_.rows.size())
            : source_.error);
    cmbEncoding->setCurrentIndex(cmbEncoding->findData(int(l.encoding)));
    cmbSeparator->setCurrentIndex(cmbSeparator->findData(int(l.separator)));
    cmbDecimal->setCurrentIndex(cmbDecimal->findData(QString(l.decimal)));
    for (int f = 0; f < Fields; ++f) {
        QComboBox* c = cmbColumn[std::size_t(f)];
        c->clear();
        c->addItem(QStringLiteral("(not in the file)"), -1);
        for (int i = 0; i < source_.header.size(); ++i)
            c->addItem(source_.header[i].isEmpty() ? QStringLiteral("Column %1").arg(i + 1)
                                                   : source_.header[i],
                       i);
        c->setCurrentIndex(std::max(0, c->findData(l.column[std::size_t(f)])));
    }
    cmbDefaultType->setCurrentText(l.defaultType);
    cmbDefaultType->setEnabled(l.column[CostType] < 0);
    showSample();
    stkSteps->setCurrentIndex(0);
    cmdPreview->show();
    cmdPreview->setDefault(true);
    cmdBack->hide();
    cmdImport->hide();
    filling_ = false;
}

void frmImportPrices::showSample() {
    delete sample_;
    QStringList captions = source_.header;
    captions.prepend(QStringLiteral("Line"));
    sample_ = new RowsModel(captions, this);
    const int rows = int(std::min<std::size_t>(source_.rows.size(), kSampleRows));
    sample_->show(rows, [this](int r, int c) {
        const CsvText::Row& row = source_.rows[std::size_t(r)];
        if (c == 0)
            return QString::number(row.line);
        return c - 1 < row.fields.size() ? row.fields[c - 1] : QString();
    });
    dgSample->setModel(sample_);
    dgSample->resizeColumnsToContents();
}

void frmImportPrices::reread() {
    if (filling_)
        return;
    Reread(source_, CsvText::Encoding(cmbEncoding->currentData().toInt()),
           char(cmbSeparator->currentData().toInt()));
    showSource();
}

Layout frmImportPrices::layout() const {
    Layout l = source_.layout;
    l.encoding = CsvText::Encoding(cmbEncoding->currentData().toInt());
    l.separator = char(cmbSeparator->currentData().toInt());
    l.decimal = cmbDecimal->currentData().toString() == QLatin1String(",") ? QLatin1Char(',')
                                                                           : QLatin1Char('.');
    for (int f = 0; f < Fields; ++f)
        l.column[std::size_t(f)] = cmbColumn[std::size_t(f)]->currentData().toInt();
    l.defaultType = cmbDefaultType->currentText();
    return l;
}

void frmImportPrices::cmdPreview_Click() {
    const Layout l = layout();
    if (l.column[Name] < 0 || l.column[Price] < 0) {
        ctx_.prompt->message(QStringLiteral("Choose the columns that hold the name and the price."),
                             QString(), Prompt::Icon::Information);
        return;
    }
    Guard::run(*ctx_.prompt, QStringLiteral("cmdPreview_Click"), kOwner, [&] {
        preview_ = Compare(ctx_, source_, l);
        Remember(*ctx_.settings, source_.header, l);
        showPreview();
    });
}

void frmImportPrices::showPreview() {
    const Preview& pv = *preview_;
    QStringList parts;
    parts << QStringLiteral("%1 new items").arg(pv.added.size())
          << QStringLiteral("%1 changed prices").arg(pv.changed.size())
          << QStringLiteral("%1 unchanged").arg(pv.unchanged.size());
    if (!pv.units.empty())
        parts << QStringLiteral("%1 unit items change price").arg(pv.units.size());
    if (!pv.problems.empty())
        parts << QStringLiteral("%1 rows left out").arg(pv.problems.size());
    QString summary = parts.join(QStringLiteral(", ")) + QLatin1Char('.');
    if (pv.skipped)
        summary += QStringLiteral(" %1 rows of unit items and their components are not "
                                  "imported: a unit item's price follows its components.")
                       .arg(pv.skipped);
    summary += pv.writesNothing() ? QStringLiteral(" Nothing would change.")
                                  : QStringLiteral(" Nothing is written before you press Import.");
    lblSummary->setText(summary);

    tabPreview->clear();
    auto add = [this](QTableView* v, const QString& caption, int rows, QStringList captions,
                      RowsModel::Cell cell, QList<int> right) {
        auto* m = new RowsModel(std::move(captions), v);
        m->show(rows, std::move(cell), std::move(right));
        QAbstractItemModel* old = v->model();
        v->setModel(m);
        if (old && old->parent() == v)
            delete old;
        for (int c = 0; c < m->columnCount(); ++c)
            v->setColumnWidth(c, c == 1 ? 260 : 110);
        v->horizontalHeader()->setStretchLastSection(true);
        tabPreview->addTab(v, QStringLiteral("%1 (%2)").arg(caption).arg(rows));
    };
    const Preview* p = &*preview_;
    add(dgNew, QStringLiteral("New items"), int(pv.added.size()),
        {QStringLiteral("Line"), QStringLiteral("Name"), QStringLiteral("Cost type"),
         QStringLiteral("Category"), QStringLiteral("SKU"), QStringLiteral("Unit"),
         QStringLiteral("Price")},
        [p](int r, int c) {
            const NewItem& n = p->added[std::size_t(r)];
            const QString v[] = {QString::number(n.line),
                                 n.item.costname,
                                 n.item.costtype,
                                 n.item.cat,
                                 n.item.sku,
                                 n.item.unit,
                                 money(n.item.amount)};
            return v[c];
        },
        {6});
    auto changes = [&](QTableView* v, const QString& caption,
                       const std::vector<PriceChange>* list) {
        add(v, caption, int(list->size()),
            {QStringLiteral("Line"), QStringLiteral("Name"), QStringLiteral("Cost type"),
             QStringLiteral("Unit"), QStringLiteral("Old price"), QStringLiteral("New price"),
             QStringLiteral("Change")},
            [list](int r, int c) {
                const PriceChange& ch = (*list)[std::size_t(r)];
                const QString v[] = {QString::number(ch.line), ch.name,         ch.type,    ch.unit,
                                     money(ch.before),         money(ch.after), percent(ch)};
                return v[c];
            },
            {4, 5, 6});
    };
    changes(dgChanged, QStringLiteral("Changed prices"), &p->changed);
    add(dgUnits, QStringLiteral("Unit items"), int(pv.units.size()),
        {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Unit"),
         QStringLiteral("Old price"), QStringLiteral("New price")},
        [p](int r, int c) {
            const UnitChange& u = p->units[std::size_t(r)];
            const QString v[] = {QString::number(u.id), u.name, u.unit, money(u.before),
                                 money(u.after)};
            return v[c];
        },
        {3, 4});
    add(dgProblems, QStringLiteral("Left out"), int(pv.problems.size()),
        {QStringLiteral("Line"), QStringLiteral("Why")},
        [p](int r, int c) {
            const Problem& pr = p->problems[std::size_t(r)];
            return c == 0 ? QString::number(pr.line) : pr.reason;
        },
        {});
    changes(dgUnchanged, QStringLiteral("Unchanged"), &p->unchanged);
    // The rows left out are what the user must see first when there are any.
    tabPreview->setCurrentWidget(pv.problems.empty() ? (pv.changed.empty() ? dgNew : dgChanged)
                                                     : dgProblems);

    stkSteps->setCurrentIndex(1);
    cmdPreview->hide();
    cmdBack->show();
    cmdImport->show();
    cmdImport->setEnabled(!pv.writesNothing());
    cmdImport->setDefault(true);
}

void frmImportPrices::cmdBack_Click() {
    stkSteps->setCurrentIndex(0);
    cmdPreview->show();
    cmdPreview->setDefault(true);
    cmdBack->hide();
    cmdImport->hide();
}

void frmImportPrices::cmdImport_Click() {
    if (!preview_ || preview_->writesNothing())
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdImport_Click"), kOwner, [this] {
        Apply(ctx_, *preview_);
        imported_ = std::move(preview_);
        preview_.reset();
        accept();
    });
}

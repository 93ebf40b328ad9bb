#include "estimates/forms/frmOpenEst.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Money.h"
#include "common/forms/SearchBox.h"
#include "common/forms/Widgets.h"
#include "estimates/EstList.h"
#include "estimates/forms/EstimateTable.h"

#include <QDate>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using Widgets::indexed;
using Widgets::named;

frmOpenEst::frmOpenEst(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOpenEst"));
    setWindowTitle(QStringLiteral("Open Existing"));
    resize(900, 500);

    txtSearch = SearchBox::make("txtSearch", QStringLiteral("Name, owner or address"));
    auto* searchLabel = named(new QLabel(QStringLiteral("&Find:")), "lblSearch");
    searchLabel->setBuddy(txtSearch);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(txtSearch, 1);

    SSTab1 = named(new QTabWidget, "SSTab1");
    const char* headings[] = {"Working", "Pending", "Accepted", "Rejected"};
    // Fixed-pitch text, so that the columns of each line sit under one another.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int page = 0; page < 2; ++page) {
        auto* w = new QWidget;
        auto* v = new QVBoxLayout(w);
        for (int k = 0; k < 2; ++k) {
            const int i = page * 2 + k;
            Label[i] = named(new QLabel(QString::fromLatin1(headings[i])),
                             page == 0 ? "Label1" : "Label2");
            QFont bold = Label[i]->font();
            bold.setBold(true);
            Label[i]->setFont(bold);
            lstEstList[i] = named(new QListWidget, indexed("lstEstList", i));
            lstEstList[i]->setFont(fixed);
            Label[i]->setBuddy(lstEstList[i]);
            v->addWidget(Label[i]);
            v->addWidget(lstEstList[i], 1);
            connect(lstEstList[i], &QListWidget::itemActivated, this,
                    [this, i] { lstEstList_DblClick(i); });
        }
        SSTab1->addTab(w, page == 0 ? QStringLiteral("Working/Pending")
                                    : QStringLiteral("Accepted/Rejected"));
    }

    tblEstimates = named(new QTableView, "tblEstimates");
    estimates = new EstimateTable(tblEstimates);
    tblEstimates->setModel(estimates);
    tblEstimates->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblEstimates->setSelectionMode(QAbstractItemView::SingleSelection);
    tblEstimates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblEstimates->setAlternatingRowColors(true);
    tblEstimates->setSortingEnabled(true);
    tblEstimates->setWordWrap(false);
    tblEstimates->verticalHeader()->setVisible(false);
    tblEstimates->verticalHeader()->setDefaultSectionSize(tblEstimates->fontMetrics().height() + 6);
    tblEstimates->horizontalHeader()->setStretchLastSection(false);
    tblEstimates->horizontalHeader()->setHighlightSections(false);
    SSTab1->addTab(tblEstimates, QStringLiteral("All Estimates"));
    connect(tblEstimates, &QTableView::activated, this, &frmOpenEst::tblEstimates_DblClick);
    SearchBox::attach(txtSearch, tblEstimates);
    connect(txtSearch, &QLineEdit::textChanged, this, &frmOpenEst::txtSearch_Change);

    cmdCancel = named(new QPushButton(QStringLiteral("Cancel/Close")), "cmdCancel");
    cmdCancel->setAutoDefault(false);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOpenEst::cmdCancel_Click);
    auto* hint = new QLabel(QStringLiteral("Double-click an estimate to open it."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(searchRow);
    outer->addWidget(SSTab1);
    outer->addLayout(buttons);

    for (int i = 0; i < 4; ++i)
        PopEstList(i);
    PopTable();
    // Typing at once searches.
    txtSearch->setFocus();
}

void frmOpenEst::PopTable() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopTable"), Guard::form("frmOpenEst"),
               [&] { estimates->setRows(EstList::rows(ctx_), QDate::currentDate()); });
    tblEstimates->sortByColumn(EstimateTable::Date, Qt::DescendingOrder);
    // Room for the longest text each column usually holds, in the user's formats.
    QHeaderView* h = tblEstimates->horizontalHeader();
    const QFontMetrics fm(tblEstimates->font());
    const QLocale locale;
    const QString samples[EstimateTable::ColumnCount] = {
        QString(20, QLatin1Char('n')), QString(18, QLatin1Char('n')),
        QString(22, QLatin1Char('n')), QString(10, QLatin1Char('n')),
        QStringLiteral("Accepted"),    locale.toString(QDate(2026, 12, 28), QLocale::ShortFormat),
        QStringLiteral("Expired"),     Money::fromCents(99999999).toCurrency()};
    for (int c = 0; c < EstimateTable::ColumnCount; ++c) {
        const QString caption = estimates->headerData(c, Qt::Horizontal).toString();
        h->resizeSection(c, std::max(fm.horizontalAdvance(samples[c]),
                                     h->fontMetrics().horizontalAdvance(caption) + 16) +
                                12);
    }
    h->setSectionResizeMode(EstimateTable::Address, QHeaderView::Stretch);
}

void frmOpenEst::txtSearch_Change() {
    estimates->setSearch(txtSearch->text());
    SSTab1->setCurrentIndex(TableTab);
    // The first estimate found is chosen, so Enter opens it.
    if (estimates->rowCount() > 0)
        tblEstimates->selectRow(0);
}

void frmOpenEst::tblEstimates_DblClick() {
    const QModelIndexList rows = tblEstimates->selectionModel()->selectedRows();
    const std::int32_t id = rows.isEmpty() ? 0 : estimates->idAt(rows.first().row());
    if (id < 1)
        return;
    chosen_ = id;
    accept();
}

void frmOpenEst::PopEstList(int index) {
    QListWidget* list = lstEstList[index];
    list->clear();
    Guard::run(*ctx_.prompt, QStringLiteral("PopEstList"), Guard::form("frmOpenEst"), [&] {
        for (const EstList::Line& line : EstList::PopEstList(ctx_, index, QDate::currentDate())) {
            auto* item = new QListWidgetItem(line.text, list);
            item->setData(Qt::UserRole, line.id);
        }
    });
}

void frmOpenEst::lstEstList_DblClick(int index) {
    QListWidgetItem* item = lstEstList[index]->currentItem();
    const int id = item ? item->data(Qt::UserRole).toInt() : 0;
    if (id < 1)
        return;
    chosen_ = id;
    accept();
}

void frmOpenEst::cmdCancel_Click() {
    chosen_ = 0;
    reject();
}

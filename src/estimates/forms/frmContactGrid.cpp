#include "estimates/forms/frmContactGrid.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "estimates/modContacts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using Widgets::named;

namespace {
const QString kForm = QStringLiteral("Form frmContactGrid");
}

frmContactGrid::frmContactGrid(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), path_(modContacts::contactsPath(ctx)) {
    setObjectName(QStringLiteral("frmContactGrid"));
    setWindowTitle(QStringLiteral("Contacts from Brenwick"));

    grdDataGrid = named(new QTableView, "grdDataGrid");
    GridBinding::setupView(grdDataGrid);
    grdDataGrid->setMinimumWidth(InputHelpers::twips(8700) + 24);
    grdDataGrid->setMinimumHeight(300);
    cboFilter = named(new QComboBox, "cboFilter");
    cboType = named(new QComboBox, "cboType");
    cboCompanies = named(new QComboBox, "cboCompanies");
    cmdSelect = named(new QPushButton(QStringLiteral("Select")), "cmdSelect");
    cmdSelect->setDefault(true);

    auto* filters = new QHBoxLayout;
    const std::pair<const char*, QComboBox*> boxes[] = {
        {"Filter Alpha:", cboFilter}, {"Type:", cboType}, {"Companies:", cboCompanies}};
    for (const auto& [caption, box] : boxes) {
        auto* l = new QLabel(QString::fromLatin1(caption));
        l->setBuddy(box);
        filters->addWidget(l);
        filters->addWidget(box);
        filters->addSpacing(12);
    }
    filters->addStretch();
    filters->addWidget(cmdSelect);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(grdDataGrid, 1);
    outer->addLayout(filters);

    modContacts::openContacts(ctx_, path_);
    PopGrid(QString(), QStringLiteral("none"));

    cboFilter->addItem(QStringLiteral("All"));
    for (char c = 'A'; c <= 'Z'; ++c)
        cboFilter->addItem(QString(QLatin1Char(c)));
    cboType->addItems({"All", "Lead", "Cust", "Contact", "Personal"});
    cboCompanies->addItems({"Both", "Companies only", "No Companies"});

    connect(cboFilter, &QComboBox::activated, this, [this] {
        const QString v = cboFilter->currentText();
        v == QLatin1String("All") ? PopGrid(QString(), QStringLiteral("none"))
                                  : PopGrid(v, QStringLiteral("alpha"));
    });
    connect(cboType, &QComboBox::activated, this, [this] {
        const QString v = cboType->currentText();
        v == QLatin1String("All") ? PopGrid(QString(), QStringLiteral("none"))
                                  : PopGrid(v, QStringLiteral("type"));
    });
    connect(cboCompanies, &QComboBox::activated, this, [this] {
        const int i = cboCompanies->currentIndex();
        PopGrid(QString(), i == 1   ? QStringLiteral("company")
                           : i == 2 ? QStringLiteral("nocompany")
                                    : QStringLiteral("none"));
    });
    connect(cmdSelect, &QPushButton::clicked, this, &frmContactGrid::cmdSelect_Click);
    connect(grdDataGrid, &QTableView::doubleClicked, this, &frmContactGrid::cmdSelect_Click);
}

frmContactGrid::~frmContactGrid() {
    GridBinding::detach(grdDataGrid);
    modContacts::closeContacts(ctx_, path_);
}

void frmContactGrid::PopGrid(const QString& value, const QString& mode) {
    Guard::run(*ctx_.prompt, QStringLiteral("PopGrid"), kForm, [&] {
        modContacts::showListing(GridBinding::model(grdDataGrid, ctx_), path_, value, mode);
        GridBinding::setWidths(grdDataGrid, {500, 1500, 1800, 1800, 900, 500, 900});
        if (GridBinding::rowCount(grdDataGrid) > 0)
            grdDataGrid->selectRow(0);
    });
}

void frmContactGrid::cmdSelect_Click() {
    if (GridBinding::rowCount(grdDataGrid) == 0)
        return;
    int row = GridBinding::currentRow(grdDataGrid);
    if (row < 0)
        row = grdDataGrid->currentIndex().isValid() ? grdDataGrid->currentIndex().row() : 0;
    const qlonglong id = GridBinding::cell(grdDataGrid, row, 0).toLongLong();
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdSelect_Click"), kForm,
                    [&] { selected_ = modContacts::ownerFields(ctx_, path_, id); }))
        return;
    if (selected_)
        accept();
}

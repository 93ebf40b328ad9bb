#include "takeoff/forms/RoofTab.h"

#include "common/AppContext.h"
#include "common/Numbers.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "storage/modData.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using Widgets::indexed;
using Widgets::named;

RoofTab::RoofTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* styles = new QHBoxLayout;
    optStyle[0] =
        named(new QRadioButton(QStringLiteral("Individual Areas")), indexed("optStyle", 0));
    optStyle[1] = named(new QRadioButton(QStringLiteral("Total Area")), indexed("optStyle", 1));
    optStyle[0]->setChecked(true);
    styles->addWidget(optStyle[0]);
    styles->addWidget(optStyle[1]);
    styles->addStretch();
    left->addLayout(styles);

    frInd = named(new QGroupBox(QStringLiteral("Areas")), "frInd");
    auto* indLayout = new QVBoxLayout(frInd);
    dgAreas = named(new QTableView, "dgAreas");
    GridBinding::setupView(dgAreas);
    dgAreas->setMinimumWidth(InputHelpers::twips(5000));
    indLayout->addWidget(dgAreas);
    auto* areaButtons = new QHBoxLayout;
    cmdAddArea = named(new QPushButton(QStringLiteral("Add")), "cmdAddArea");
    cmdEditArea = named(new QPushButton(QStringLiteral("Edit")), "cmdEditArea");
    cmdDeleteArea = named(new QPushButton(QStringLiteral("Delete")), "cmdDeleteArea");
    areaButtons->addWidget(cmdAddArea);
    areaButtons->addWidget(cmdEditArea);
    areaButtons->addWidget(cmdDeleteArea);
    areaButtons->addStretch();
    indLayout->addLayout(areaButtons);
    left->addWidget(frInd, 1);

    frTotal = named(new QGroupBox(QStringLiteral("Total Area")), "frTotal");
    auto* totLayout = new QGridLayout(frTotal);
    totLayout->addWidget(new QLabel(QStringLiteral("Width")), 0, 0);
    totLayout->addWidget(new QLabel(QStringLiteral("Height")), 0, 1);
    totLayout->addWidget(new QLabel(QStringLiteral("Pitch")), 0, 2);
    for (int i = 0; i < 2; ++i) {
        txtArea[i] = named(new QLineEdit(QStringLiteral("0")), indexed("txtArea", i));
        txtArea[i]->setAlignment(Qt::AlignRight);
        txtArea[i]->setMaxLength(12);
        InputHelpers::numberBox(txtArea[i], ctx);
        totLayout->addWidget(txtArea[i], 1, i);
    }
    cmbPitch = named(new QComboBox, "cmbPitch");
    // Room for a two-digit pitch and the arrow.
    cmbPitch->setMinimumContentsLength(3);
    cmbPitch->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    InputHelpers::focusColour(cmbPitch);
    totLayout->addWidget(cmbPitch, 1, 2);
    cmdPitchFig = named(new QPushButton(QStringLiteral("Figure")), "cmdPitchFig");
    totLayout->addWidget(cmdPitchFig, 1, 3);
    totLayout->setRowStretch(2, 1);
    left->addWidget(frTotal, 1);
    frTotal->hide();
    outer->addLayout(left, 3);
    PopPitchCombo();

    auto* right = new QVBoxLayout;
    auto* linealBox = new QGroupBox(QStringLiteral("Lineal Items"));
    auto* linLayout = new QVBoxLayout(linealBox);
    dgLineal = named(new QTableView, "dgLineal");
    GridBinding::setupView(dgLineal);
    dgLineal->setMinimumWidth(InputHelpers::twips(4000));
    linLayout->addWidget(dgLineal);
    auto* linButtons = new QHBoxLayout;
    cmdAddLineal = named(new QPushButton(QStringLiteral("Add")), "cmdAddLineal");
    cmdEditLineal = named(new QPushButton(QStringLiteral("Edit")), "cmdEditLineal");
    cmdDeleteLineal = named(new QPushButton(QStringLiteral("Delete")), "cmdDeleteLineal");
    linButtons->addWidget(cmdAddLineal);
    linButtons->addWidget(cmdEditLineal);
    linButtons->addWidget(cmdDeleteLineal);
    linButtons->addStretch();
    linLayout->addLayout(linButtons);
    right->addWidget(linealBox, 1);

    auto* totals = new QGroupBox(QStringLiteral("Roof Totals"));
    auto* tg = new QGridLayout(totals);
    const char* captions[] = {"Roof Area", "Roof Other", "Roof Total"};
    for (int i = 0; i < 3; ++i) {
        txtRoof[i] = named(new QLineEdit(QStringLiteral("0")), indexed("txtRoof", i));
        txtRoof[i]->setReadOnly(true);
        txtRoof[i]->setAlignment(Qt::AlignRight);
        txtRoof[i]->setFocusPolicy(Qt::ClickFocus);
        tg->addWidget(new QLabel(QString::fromLatin1(captions[i])), i, 0);
        tg->addWidget(txtRoof[i], i, 1);
    }
    right->addWidget(totals);
    outer->addLayout(right, 2);
}

void RoofTab::showTotalView(bool total) {
    frTotal->setVisible(total);
    frInd->setVisible(!total);
}

void RoofTab::detachGrids() {
    GridBinding::detach(dgAreas);
    GridBinding::detach(dgLineal);
    AreaCount = 0;
    LinealCount = 0;
}

void RoofTab::reset() {
    const bool wasLoading = ctx_.Loading;
    ctx_.Loading = true;
    optStyle[0]->setChecked(true);
    showTotalView(false);
    txtArea[0]->setText(QStringLiteral("0"));
    txtArea[1]->setText(QStringLiteral("0"));
    if (cmbPitch->count() > 0)
        cmbPitch->setCurrentIndex(0);
    for (QLineEdit* t : txtRoof)
        t->setText(QStringLiteral("0"));
    ctx_.Loading = wasLoading;
}

void RoofTab::PopAreaGrid() {
    GridBinding::bind(
        dgAreas, ctx_, ctx_.TempDBConn,
        QStringLiteral("select ID,areaid,shape,width1,width2,height,total from tempareas"), {},
        {{"ID", 280},
         {"AreaID", 550},
         {"Shape", 550},
         {"Width 1", 650},
         {"Width 2", 650},
         {"Height", 620},
         {"Total", 750}});
    AreaCount = GridBinding::rowCount(dgAreas);
}

void RoofTab::PopLinealGrid() {
    GridBinding::bind(dgLineal, ctx_, ctx_.TempDBConn,
                      QStringLiteral("select ID,linealid,type,name,length,total from templineal"),
                      {},
                      {{"ID", 280},
                       {"LinID", 550},
                       {"Type", 550},
                       {"Name", 650},
                       {"Length", 650},
                       {"Total", 700}});
    LinealCount = GridBinding::rowCount(dgLineal);
    // Names are the one free text here: show as much of them as fits.
    dgLineal->resizeColumnToContents(3);
    dgLineal->setColumnWidth(3,
                             std::clamp(dgLineal->columnWidth(3), InputHelpers::twips(650), 220));
}

void RoofTab::PopPitchCombo() {
    const bool wasLoading = ctx_.Loading;
    ctx_.Loading = true;
    cmbPitch->clear();
    cmbPitch->addItem(QString());
    for (int n = 1; n <= 18; ++n)
        cmbPitch->addItem(QString::number(n));
    cmbPitch->setCurrentIndex(0);
    ctx_.Loading = wasLoading;
}

void RoofTab::TotalArea() {
    const QVariant sum =
        modData::scalar(ctx_, ctx_.TempDBConn, QStringLiteral("select sum(total) from tempareas"));
    // With no areas left the roof has no area: a deleted area must not stay counted (a "%"
    // lineal item reads Roof Area).
    txtRoof[0]->setText(sum.isNull() ? QStringLiteral("0") : sum.toString());
    RoofTotal();
}

void RoofTab::TotalOther() {
    const QVariant sum =
        modData::scalar(ctx_, ctx_.TempDBConn, QStringLiteral("select sum(total) from templineal"));
    txtRoof[1]->setText(sum.isNull() ? QStringLiteral("0") : sum.toString());
    RoofTotal();
}

void RoofTab::RoofTotal() {
    const double a = Numbers::value(txtRoof[0]->text());
    const double o = Numbers::value(txtRoof[1]->text());
    // Nothing measured is a total of 0, not the total of what was there before.
    const qint64 total = qint64(Numbers::toLong(a)) + qint64(Numbers::toLong(o));
    txtRoof[2]->setText(QString::number(total));
}

void RoofTab::restoreTotalArea(int pitch, int width1, int height, int total) {
    const bool wasLoading = ctx_.Loading;
    ctx_.Loading = true;
    const int idx = cmbPitch->findText(QString::number(pitch));
    cmbPitch->setCurrentIndex(idx < 0 ? 0 : idx);
    txtArea[0]->setText(QString::number(width1));
    txtArea[1]->setText(QString::number(height));
    txtRoof[0]->setText(QString::number(total));
    showTotalView(true);
    optStyle[1]->setChecked(true);
    ctx_.Loading = wasLoading;
}

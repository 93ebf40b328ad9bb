#include "takeoff/forms/RoofTab.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/Quantity.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "storage/QueryModel.h"
#include "takeoff/Measure.h"
#include "takeoff/RoofMath.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

using Widgets::indexed;
using Widgets::named;

namespace {
const QString kForm = Guard::form("frmCorvanel");
const QString kModOpenEst = Guard::module("modOpenEst");

// The working id and stored id of the selected row of a take-off grid; {0, 0} with none.
Takeoff::RowIds selectedRow(QTableView* grid) {
    const int row = GridBinding::currentRow(grid);
    if (row < 0)
        return {};
    return {GridBinding::cell(grid, row, 0).toLongLong(),
            GridBinding::cell(grid, row, 1).toLongLong()};
}
} // namespace

RoofTab::RoofTab(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), undo_(new QUndoStack(this)) {
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
    // Squares sit beside Roof Area: what a roofer orders by.
    lblSquares = named(new QLabel(QStringLiteral("0.00")), "lblSquares");
    lblSquares->setToolTip(QStringLiteral("Roof Area in squares of 100 sq ft"));
    auto* squaresCaption = new QLabel(QStringLiteral("squares"));
    tg->addWidget(lblSquares, 0, 2, Qt::AlignRight);
    tg->addWidget(squaresCaption, 0, 3);
    txtWaste = named(new QLineEdit, "txtWaste");
    txtWaste->setAlignment(Qt::AlignRight);
    txtWaste->setMaxLength(10);
    txtWaste->setToolTip(QStringLiteral("Waste added to Roof Area for the squares to order"));
    InputHelpers::focusColour(txtWaste);
    auto* wasteLabel = new QLabel(QStringLiteral("&Waste %"));
    wasteLabel->setBuddy(txtWaste);
    tg->addWidget(wasteLabel, 3, 0);
    tg->addWidget(txtWaste, 3, 1);
    lblSquaresOrder = named(new QLabel(QStringLiteral("0")), "lblSquaresOrder");
    lblSquaresOrder->setToolTip(
        QStringLiteral("Squares with waste, rounded up to a bundle (a third of a square)"));
    tg->addWidget(new QLabel(QStringLiteral("Squares to order")), 4, 0);
    tg->addWidget(lblSquaresOrder, 4, 1, Qt::AlignRight);
    tg->setColumnStretch(1, 1);
    right->addWidget(totals);
    outer->addLayout(right, 2);

    connect(cmbPitch, &QComboBox::activated, this, &RoofTab::cmbPitch_Click);
    connect(txtWaste, &QLineEdit::editingFinished, this, &RoofTab::txtWaste_Change);
    connect(cmdPitchFig, &QPushButton::clicked, this, &RoofTab::cmdPitchFig_Click);
    for (int i = 0; i < 2; ++i)
        connect(optStyle[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optStyle_Click(i);
        });
    connect(cmdAddArea, &QPushButton::clicked, this, &RoofTab::cmdAddArea_Click);
    connect(cmdEditArea, &QPushButton::clicked, this, &RoofTab::cmdEditArea_Click);
    connect(cmdDeleteArea, &QPushButton::clicked, this, &RoofTab::cmdDeleteArea_Click);
    connect(cmdAddLineal, &QPushButton::clicked, this, &RoofTab::cmdAddLineal_Click);
    connect(cmdEditLineal, &QPushButton::clicked, this, &RoofTab::cmdEditLineal_Click);
    connect(cmdDeleteLineal, &QPushButton::clicked, this, &RoofTab::cmdDeleteLineal_Click);
    connect(dgAreas, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { dgAreas_DblClick(index.row()); });
    connect(dgLineal, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { dgLineal_DblClick(index.row()); });
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
    showTotals(Takeoff::withTotal(0, 0, Takeoff::defaultWaste(ctx_)));
    ctx_.Loading = wasLoading;
}

void RoofTab::showTotals(const Takeoff::RoofTotals& t) {
    totals_ = t;
    txtRoof[0]->setText(QString::number(t.area));
    txtRoof[1]->setText(QString::number(t.other));
    txtRoof[2]->setText(QString::number(t.total));
    lblSquares->setText(t.squares());
    lblSquaresOrder->setText(t.squaresToOrder());
    txtWaste->setText(Quantity::fromRaw(t.waste).toText());
}

void RoofTab::PopAreaGrid() {
    Takeoff::showAreas(ctx_, GridBinding::model(dgAreas, ctx_));
    // The keys and the columns kept for the code are hidden: the user reads words.
    GridBinding::setWidths(dgAreas, {280, 550, 1000, 2000, 650, 800, 1100, 1300});
    for (int c : {0, 1, 8, 9})
        dgAreas->setColumnHidden(c, true);
    AreaCount = GridBinding::rowCount(dgAreas);
}

void RoofTab::PopLinealGrid() {
    Takeoff::showLineals(ctx_, GridBinding::model(dgLineal, ctx_));
    GridBinding::setWidths(dgLineal, {280, 550, 1100, 650, 900, 700});
    for (int c : {0, 1})
        dgLineal->setColumnHidden(c, true);
    LinealCount = GridBinding::rowCount(dgLineal);
    // Names are the one free text here: show as much of them as fits.
    dgLineal->resizeColumnToContents(3);
    dgLineal->setColumnWidth(3,
                             std::clamp(dgLineal->columnWidth(3), InputHelpers::twips(650), 220));
}

void RoofTab::popGrids() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopAreaGrid"), kForm, [this] { PopAreaGrid(); });
    Guard::run(*ctx_.prompt, QStringLiteral("PopLinealGrid"), kForm, [this] { PopLinealGrid(); });
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
    const Takeoff::RoofTotals now = Takeoff::totals(ctx_);
    showTotals(Takeoff::withTotal(now.area, totals_.other, now.waste));
}

void RoofTab::TotalOther() {
    const Takeoff::RoofTotals now = Takeoff::totals(ctx_);
    showTotals(Takeoff::withTotal(totals_.area, now.other, now.waste));
}

void RoofTab::RoofTotal() {
    showTotals(Takeoff::withTotal(totals_.area, totals_.other, totals_.waste));
}

void RoofTab::restoreTotalArea(const Takeoff::QuickFigure& f) {
    const bool wasLoading = ctx_.Loading;
    ctx_.Loading = true;
    const int idx = cmbPitch->findText(QString::number(f.pitch));
    cmbPitch->setCurrentIndex(idx < 0 ? 0 : idx);
    txtArea[0]->setText(Quantity::fromRaw(f.width1).toText());
    txtArea[1]->setText(Quantity::fromRaw(f.height).toText());
    showTotals(Takeoff::withTotal(f.total, totals_.other, totals_.waste));
    showTotalView(true);
    optStyle[1]->setChecked(true);
    ctx_.Loading = wasLoading;
}

void RoofTab::PopRoofArea() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopRoofArea"), kModOpenEst, [this] {
        if (const auto figure = Takeoff::singleTotalArea(ctx_))
            restoreTotalArea(*figure);
        else
            PopAreaGrid();
        TotalArea();
        PopLinealGrid();
        TotalOther();
    });
}

void RoofTab::refreshAreas() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopAreaGrid"), kForm, [this] {
        PopAreaGrid();
        TotalArea();
    });
}

void RoofTab::refreshLineals() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopLinealGrid"), kForm, [this] {
        PopLinealGrid();
        TotalOther();
    });
}

void RoofTab::cmbPitch_Click() {
    if (cmbPitch->currentText().isEmpty())
        return;
    auto measured = [](QLineEdit* box) { return Measure::read(box->text()).feet.value_or(0); };
    if (measured(txtArea[0]) == 0) {
        if (!ctx_.Loading) {
            ctx_.prompt->message(QStringLiteral("Please enter a width value."));
            txtArea[0]->setFocus();
            PopPitchCombo();
        }
    } else if (measured(txtArea[1]) == 0) {
        ctx_.prompt->message(QStringLiteral("Please enter a height value."));
        txtArea[1]->setFocus();
        if (!ctx_.Loading)
            PopPitchCombo();
    }
}

void RoofTab::cmdPitchFig_Click() {
    if (cmbPitch->currentText().isEmpty()) {
        ctx_.prompt->message(QStringLiteral("Please enter measurements and select pitch."));
        return;
    }
    std::array<std::int64_t, 2> m{};
    for (int i = 0; i < 2; ++i) {
        QLineEdit* box = txtArea[i];
        const Measure::Reading r = Measure::read(box->text());
        if (!r.feet) {
            // An empty or wordy box reads as no number, as before; feet and inches gone wrong
            // get the reason.
            if (Numbers::isNumber(box->text()) ||
                !box->text().contains(QRegularExpression(QStringLiteral("\\d"))))
                ctx_.prompt->message(QString::fromLatin1(InputHelpers::NotANumber));
            else
                ctx_.prompt->message(r.error);
            box->setText(QStringLiteral("0"));
            box->setFocus();
            return;
        }
        const double v = Measure::toFeet(*r.feet);
        if (v < 0 || v > RoofMath::MaxMeasure) {
            ctx_.prompt->message(QStringLiteral("A measurement must be from 0 to %1.")
                                     .arg(QLocale().toString(RoofMath::MaxMeasure, 'f', 0)));
            box->setFocus();
            box->selectAll();
            return;
        }
        m[i] = *r.feet;
    }
    const std::int64_t width = m[0];
    const std::int64_t height = m[1];
    const int pitch = cmbPitch->currentText().toInt();
    const std::int32_t area =
        RoofMath::quickFigure(Measure::toFeet(width), Measure::toFeet(height), pitch);
    // A changed figure is a changed estimate, or it would be lost on closing without a question.
    // The boxes keep what was typed; only an undo or redo puts the stored figure in them.
    figuring_ = true;
    change(QStringLiteral("Figure Roof"), "cmdPitchFig_Click", [this, pitch, width, height, area] {
        Takeoff::setQuickFigure(ctx_, {pitch, width, height, area});
    });
    figuring_ = false;
}

void RoofTab::change(const QString& text, const char* procedure, std::function<void()> make) {
    WorkCommands::push(*undo_,
                       new Takeoff::Change(ctx_, text, QString::fromLatin1(procedure),
                                           std::move(make), [this](bool) { refreshTakeoff(); }));
}

void RoofTab::refreshTakeoff() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopAreaGrid"), kForm, [this] {
        PopAreaGrid();
        PopLinealGrid();
        // The quick figure's boxes show the figure the working area holds (the Total Area view
        // with it), or nothing once there is none.
        if (!figuring_) {
            if (const auto figure = Takeoff::singleTotalArea(ctx_)) {
                restoreTotalArea(*figure);
            } else {
                const bool wasLoading = ctx_.Loading;
                ctx_.Loading = true;
                txtArea[0]->setText(QStringLiteral("0"));
                txtArea[1]->setText(QStringLiteral("0"));
                cmbPitch->setCurrentIndex(0);
                ctx_.Loading = wasLoading;
            }
        }
        showTotals(Takeoff::totals(ctx_));
    });
}

void RoofTab::optStyle_Click(int index) {
    if (ctx_.Loading)
        return;
    if (totals_.area != 0) {
        const auto a = ctx_.prompt->ask(
            QStringLiteral("Changing this view clears the present roof area "
                           "total.  Do you wish to continue?"),
            QString(), Prompt::Buttons::YesNo, Prompt::Icon::Warning, Prompt::Answer::No);
        if (a != Prompt::Answer::Yes) {
            ctx_.Loading = true;
            optStyle[index == 1 ? 0 : 1]->setChecked(true);
            ctx_.Loading = false;
            return;
        }
        // Stored areas go from the estimate only with its next save. The step puts the view
        // back with the areas.
        auto view = [this, index](bool made) {
            const bool total = made ? index == 1 : index != 1;
            const bool wasLoading = ctx_.Loading;
            ctx_.Loading = true;
            optStyle[total ? 1 : 0]->setChecked(true);
            ctx_.Loading = wasLoading;
            showTotalView(total);
            refreshTakeoff();
        };
        WorkCommands::push(*undo_, new Takeoff::Change(
                                       ctx_, QStringLiteral("Change Roof View"),
                                       QStringLiteral("optStyle_Click"),
                                       [this] { Takeoff::clearAreas(ctx_); }, view));
        if (index == 1 && frTotal->isVisibleTo(this))
            txtArea[0]->setFocus();
        return;
    }
    showTotalView(index == 1);
    if (index == 1)
        txtArea[0]->setFocus();
}

void RoofTab::cmdAddArea_Click() {
    frmAreas dialog(ctx_, 0, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Takeoff::Area a = dialog.result();
    change(QStringLiteral("Add Area"), "cmdAddArea_Click",
           [this, a] { Takeoff::addArea(ctx_, a); });
}

void RoofTab::editArea(qint64 id) {
    frmAreas dialog(ctx_, std::int32_t(id), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Takeoff::Area a = dialog.result();
    change(QStringLiteral("Edit Area"), "cmdEditArea_Click",
           [this, id, a] { Takeoff::updateArea(ctx_, id, a); });
}

void RoofTab::cmdEditArea_Click() {
    const Takeoff::RowIds row = selectedRow(dgAreas);
    if (AreaCount == 0 || row.id == 0)
        return;
    editArea(row.id);
}

void RoofTab::dgAreas_DblClick(int row) {
    if (row < 0 || row >= AreaCount)
        return;
    dgAreas->selectRow(row);
    editArea(GridBinding::cell(dgAreas, row, 0).toLongLong());
}

void RoofTab::cmdDeleteArea_Click() {
    const Takeoff::RowIds row = selectedRow(dgAreas);
    if (AreaCount == 0 || row.id == 0)
        return;
    const auto a = ctx_.prompt->ask(QStringLiteral("Are you sure you want to delete this area?"),
                                    QStringLiteral("Confirm delete."), Prompt::Buttons::YesNo,
                                    Prompt::Icon::Warning, Prompt::Answer::No);
    if (a != Prompt::Answer::Yes)
        return;
    change(QStringLiteral("Delete Area"), "cmdDeleteArea_Click",
           [this, row] { Takeoff::deleteArea(ctx_, row); });
}

void RoofTab::cmdAddLineal_Click() {
    frmLineal dialog(ctx_, 0, double(totals_.area), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Takeoff::Lineal l = dialog.result();
    change(QStringLiteral("Add Lineal Item"), "cmdAddLineal_Click",
           [this, l] { Takeoff::addLineal(ctx_, l); });
}

void RoofTab::editLineal(qint64 id) {
    frmLineal dialog(ctx_, std::int32_t(id), double(totals_.area), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Takeoff::Lineal l = dialog.result();
    change(QStringLiteral("Edit Lineal Item"), "cmdEditLineal_Click",
           [this, id, l] { Takeoff::updateLineal(ctx_, id, l); });
}

void RoofTab::cmdEditLineal_Click() {
    const Takeoff::RowIds row = selectedRow(dgLineal);
    if (LinealCount == 0 || row.id == 0)
        return;
    editLineal(row.id);
}

void RoofTab::dgLineal_DblClick(int row) {
    if (row < 0 || row >= LinealCount)
        return;
    dgLineal->selectRow(row);
    editLineal(GridBinding::cell(dgLineal, row, 0).toLongLong());
}

void RoofTab::cmdDeleteLineal_Click() {
    const Takeoff::RowIds row = selectedRow(dgLineal);
    if (LinealCount == 0 || row.id == 0)
        return;
    const auto a = ctx_.prompt->ask(QStringLiteral("Are you sure you want to delete this item?"),
                                    QStringLiteral("Confirm delete."), Prompt::Buttons::YesNo,
                                    Prompt::Icon::Warning, Prompt::Answer::No);
    if (a != Prompt::Answer::Yes)
        return;
    change(QStringLiteral("Delete Lineal Item"), "cmdDeleteLineal_Click",
           [this, row] { Takeoff::deleteLineal(ctx_, row); });
}

void RoofTab::txtWaste_Change() {
    if (ctx_.Loading)
        return;
    const QString text = txtWaste->text().trimmed();
    const std::optional<Quantity> q = Quantity::parse(text.endsWith(u'%') ? text.chopped(1) : text);
    if (!q || q->raw() < 0 || q->raw() > Takeoff::MaxWaste) {
        ctx_.prompt->message(
            QStringLiteral("The waste must be a percentage from 0 to 100 (10 for 10 %)."));
        txtWaste->setText(Quantity::fromRaw(totals_.waste).toText());
        txtWaste->setFocus();
        txtWaste->selectAll();
        return;
    }
    if (q->raw() == totals_.waste)
        return;
    const std::int64_t waste = q->raw();
    change(QStringLiteral("Change Waste"), "txtWaste_Change",
           [this, waste] { Takeoff::setWaste(ctx_, waste); });
}

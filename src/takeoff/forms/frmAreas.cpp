#include "takeoff/forms/frmAreas.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/Quantity.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "takeoff/Measure.h"
#include "takeoff/RoofMath.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {
QString rangeMessage() {
    return QStringLiteral("A measurement must be more than 0 and at most %1.")
        .arg(QLocale().toString(RoofMath::MaxMeasure, 'f', 0));
}
} // namespace

frmAreas::frmAreas(AppContext& ctx, std::int32_t editID, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAreas"));
    setWindowTitle(QStringLiteral("Areas"));
    cmbShape = named(new QComboBox, "cmbShape");
    cmbShape->addItem(QString(), -1);
    cmbShape->addItem(QStringLiteral("Sq/Rect"), 0);
    cmbShape->addItem(QStringLiteral("Tri"), 1);
    cmbShape->addItem(QStringLiteral("Trap"), 2);
    InputHelpers::focusColour(cmbShape);
    for (int i = 0; i < 4; ++i) {
        txtAreas[i] = named(new QLineEdit, indexed("txtAreas", i));
        txtAreas[i]->setMaxLength(i == 0 ? 10 : 20);
        txtAreas[i]->setAlignment(Qt::AlignRight);
        InputHelpers::focusColour(txtAreas[i]);
        // The area number is not a measurement: only the three measurement boxes have a note.
        if (i == 0)
            continue;
        lblReads[i] = named(new QLabel, indexed("lblReads", i));
        lblReads[i]->setMinimumWidth(
            QFontMetrics(font()).horizontalAdvance(QStringLiteral("= 10,000.0000 ft")));
    }
    for (int i = 1; i < 4; ++i)
        txtAreas[i]->setToolTip(QStringLiteral("Feet as 30.5, or feet and inches as 30' 6\""));
    InputHelpers::readOnlyLook(txtAreas[0]);
    lblTrap = named(new QLabel(QStringLiteral("Top:")), "lblTrap");
    lblTrapBottom = new QLabel(QStringLiteral("Bottom:"));
    cboPitch = named(new QComboBox, "cboPitch");
    cboPitch->addItem(QStringLiteral("none"), 0);
    for (int n = 1; n <= 18; ++n)
        cboPitch->addItem(RoofMath::pitchText(n), n);
    InputHelpers::focusColour(cboPitch);
    optPlan = named(new QRadioButton(QStringLiteral("On the plan")), "optPlan");
    optSlope = named(new QRadioButton(QStringLiteral("On the slope")), "optSlope");
    optPlan->setToolTip(QStringLiteral("Measured from above: the pitch factor is applied"));
    optSlope->setToolTip(QStringLiteral("Measured along the roof: no pitch factor"));
    optPlan->setChecked(true);
    auto* measured = new QButtonGroup(this);
    measured->addButton(optPlan);
    measured->addButton(optSlope);
    lblSurface = named(new QLabel, "lblSurface");

    auto* widthLabel = new QLabel(QStringLiteral("Width"));
    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("Area #:")), 0, 0);
    g->addWidget(txtAreas[0], 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Shape")), 1, 0);
    g->addWidget(cmbShape, 1, 1);
    g->addWidget(widthLabel, 2, 0);
    g->addWidget(lblTrap, 2, 2);
    g->addWidget(txtAreas[1], 2, 1);
    g->addWidget(lblReads[1], 2, 3);
    g->addWidget(lblTrapBottom, 3, 2);
    g->addWidget(txtAreas[2], 3, 1);
    g->addWidget(lblReads[2], 3, 3);
    g->addWidget(new QLabel(QStringLiteral("Height:")), 4, 0);
    g->addWidget(txtAreas[3], 4, 1);
    g->addWidget(lblReads[3], 4, 3);
    auto* pitchLabel = new QLabel(QStringLiteral("&Pitch:"));
    pitchLabel->setBuddy(cboPitch);
    g->addWidget(pitchLabel, 5, 0);
    g->addWidget(cboPitch, 5, 1);
    auto* how = new QHBoxLayout;
    how->addWidget(optPlan);
    how->addWidget(optSlope);
    how->addStretch();
    g->addWidget(new QLabel(QStringLiteral("Measured:")), 6, 0);
    g->addLayout(how, 6, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Roof surface:")), 7, 0);
    g->addWidget(lblSurface, 7, 1, 1, 3);
    g->setColumnStretch(3, 1);
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdOkay->setDefault(true);
    auto* v = new QVBoxLayout(this);
    v->addLayout(g);
    v->addStretch();
    v->addLayout(Widgets::buttonRow({cmdOkay, cmdCancel}));
    connect(cmbShape, &QComboBox::currentIndexChanged, this, &frmAreas::cmbShape_Click);
    connect(cmdOkay, &QPushButton::clicked, this, &frmAreas::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (int i = 1; i < 4; ++i)
        connect(txtAreas[i], &QLineEdit::textChanged, this, &frmAreas::showReading);
    connect(cboPitch, &QComboBox::currentIndexChanged, this, &frmAreas::showReading);
    connect(optSlope, &QRadioButton::toggled, this, &frmAreas::showReading);

    for (int i = 1; i < 4; ++i) {
        txtAreas[i]->hide();
        lblReads[i]->hide();
    }
    lblTrap->hide();
    lblTrapBottom->hide();
    if (editID > 0) {
        Guard::run(*ctx_.prompt, QStringLiteral("Form_Load"), Guard::form("frmAreas"), [&] {
            if (const auto a = Takeoff::area(ctx_, editID)) {
                cmbShape->setCurrentIndex(cmbShape->findData(a->shape));
                txtAreas[1]->setText(Quantity::fromRaw(a->width1).toText());
                txtAreas[2]->setText(Quantity::fromRaw(a->width2).toText());
                txtAreas[3]->setText(Quantity::fromRaw(a->height).toText());
                cboPitch->setCurrentIndex(std::max(0, cboPitch->findData(a->pitch)));
                (a->onSlope ? optSlope : optPlan)->setChecked(true);
            }
        });
        txtAreas[0]->setText(QString::number(editID));
    }
    showReading();
    cmbShape->setFocus();
}

void frmAreas::cmbShape_Click() {
    const int shape = cmbShape->currentData().toInt();
    const bool trap = shape == RoofMath::Trap;
    txtAreas[2]->setVisible(trap);
    lblReads[2]->setVisible(trap);
    lblTrap->setVisible(trap);
    lblTrapBottom->setVisible(trap);
    for (int i : {1, 3}) {
        txtAreas[i]->setVisible(shape >= 0);
        lblReads[i]->setVisible(shape >= 0);
    }
    showReading();
}

std::optional<frmAreas::Result> frmAreas::current() const {
    const int shape = cmbShape->currentData().toInt();
    if (shape < 0)
        return std::nullopt;
    Result r;
    r.shape = shape;
    std::array<std::int64_t, 4> m{};
    for (int i = 1; i < 4; ++i) {
        if (i == 2 && shape != RoofMath::Trap)
            continue;
        const Measure::Reading reading = Measure::read(txtAreas[i]->text());
        if (!reading.feet || *reading.feet <= 0 ||
            Measure::toFeet(*reading.feet) > RoofMath::MaxMeasure)
            return std::nullopt;
        m[i] = *reading.feet;
    }
    r.width1 = m[1];
    r.width2 = m[2];
    r.height = m[3];
    r.pitch = cboPitch->currentData().toInt();
    r.onSlope = optSlope->isChecked();
    r.total = RoofMath::surfaceTotal(RoofMath::planArea(shape, Measure::toFeet(r.width1),
                                                        Measure::toFeet(r.width2),
                                                        Measure::toFeet(r.height)),
                                     r.pitch, r.onSlope);
    return r;
}

void frmAreas::showReading() {
    for (int i = 1; i < 4; ++i)
        lblReads[i]->setText(Measure::note(txtAreas[i]->text()));
    // Plan or slope matters only with a pitch.
    const bool pitched = cboPitch->currentData().toInt() > 0;
    optPlan->setEnabled(pitched);
    optSlope->setEnabled(pitched);
    const auto r = current();
    lblSurface->setText(r ? QStringLiteral("%1 sq ft").arg(QLocale().toString(r->total))
                          : QString());
}

std::optional<std::int64_t> frmAreas::measurement(int i) {
    const QString text = txtAreas[i]->text();
    QString message;
    if (text.trimmed().isEmpty()) {
        message = QString::fromLatin1(InputHelpers::NotANumber);
    } else {
        const Measure::Reading r = Measure::read(text);
        if (!r.feet)
            message = r.error;
        else if (*r.feet <= 0 || Measure::toFeet(*r.feet) > RoofMath::MaxMeasure)
            message = rangeMessage();
        else
            return *r.feet;
    }
    ctx_.prompt->message(message);
    txtAreas[i]->setFocus();
    txtAreas[i]->selectAll();
    return std::nullopt;
}

void frmAreas::cmdOkay_Click() {
    const int shape = cmbShape->currentData().toInt();
    if (shape < 0) {
        ctx_.prompt->message(QStringLiteral("Please select a shape."));
        cmbShape->setFocus();
        return;
    }
    for (int i = 1; i < 4; ++i) {
        if (i == 2 && shape != RoofMath::Trap)
            continue;
        if (!measurement(i))
            return;
    }
    const auto r = current();
    if (!r)
        return;
    result_ = *r;
    accept();
}

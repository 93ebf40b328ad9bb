#include "takeoff/forms/frmLineal.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/Quantity.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "storage/Schema.h"
#include "takeoff/Measure.h"
#include "takeoff/RoofMath.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

frmLineal::frmLineal(AppContext& ctx, std::int32_t editID, double roofArea, QWidget* parent)
    : QDialog(parent), ctx_(ctx), roofArea_(roofArea) {
    setObjectName(QStringLiteral("frmLineal"));
    setWindowTitle(QStringLiteral("Lineal Items"));
    for (int i = 0; i < 3; ++i) {
        txtLineal[i] = named(new QLineEdit, indexed("txtLineal", i));
        InputHelpers::focusColour(txtLineal[i]);
    }
    txtLineal[0]->setReadOnly(true);
    txtLineal[0]->setFocusPolicy(Qt::NoFocus);
    txtLineal[0]->setMaximumWidth(60);
    InputHelpers::characterLimit(txtLineal[1], Schema::Len::Name);
    txtLineal[1]->setMinimumWidth(220);
    txtLineal[2]->setMaxLength(10);
    txtLineal[2]->setAlignment(Qt::AlignRight);
    txtLineal[2]->setMaximumWidth(90);
    InputHelpers::numberBox(txtLineal[2], ctx);
    cmbLineal = named(new QComboBox, "cmbLineal");
    cmbLineal->addItem(QString(), 0);
    for (int type = RoofMath::FirstLinealType; type <= RoofMath::LastLinealType; ++type)
        cmbLineal->addItem(RoofMath::linealName(type), type);
    InputHelpers::focusColour(cmbLineal);
    lblUnit = named(new QLabel, "lblUnit");
    lblUnit->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("lf  ")));
    lblRead = named(new QLabel, "lblRead");
    txtLineal[2]->setToolTip(QStringLiteral("Feet as 40.5, or feet and inches as 40' 6\""));

    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("ID:")), 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Name:")), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Type")), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Length:")), 0, 3);
    g->addWidget(txtLineal[0], 1, 0);
    g->addWidget(txtLineal[1], 1, 1);
    g->addWidget(cmbLineal, 1, 2);
    g->addWidget(txtLineal[2], 1, 3);
    g->addWidget(lblUnit, 1, 4);
    g->addWidget(lblRead, 2, 3, 1, 2);
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* v = new QVBoxLayout(this);
    v->addLayout(g);
    v->addLayout(Widgets::buttonRow({cmdOkay, cmdCancel}));
    connect(cmdOkay, &QPushButton::clicked, this, &frmLineal::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbLineal, &QComboBox::currentIndexChanged, this, &frmLineal::showUnit);
    connect(txtLineal[2], &QLineEdit::textChanged, this, &frmLineal::showUnit);

    if (editID > 0) {
        Guard::run(*ctx_.prompt, QStringLiteral("Form_Load"), Guard::form("frmLineal"), [&] {
            if (const auto l = Takeoff::lineal(ctx_, editID)) {
                txtLineal[1]->setText(l->name);
                cmbLineal->setCurrentIndex(std::max(0, cmbLineal->findData(l->type)));
                txtLineal[2]->setText(Quantity::fromRaw(l->length).toText());
            }
        });
        txtLineal[0]->setText(QString::number(editID));
    }
    showUnit();
    txtLineal[1]->setFocus();
}

bool frmLineal::percent() const {
    return cmbLineal->currentData().toInt() == RoofMath::Percent;
}

void frmLineal::showUnit() {
    const int type = cmbLineal->currentData().toInt();
    lblUnit->setText(RoofMath::linealUnit(type));
    lblRead->setText(type > 0 && !percent() ? Measure::note(txtLineal[2]->text()) : QString());
}

std::optional<std::int64_t> frmLineal::length() const {
    // A percentage is a plain number; a run is a measurement in feet (or feet and inches).
    if (percent()) {
        const std::optional<Quantity> q = Quantity::parse(txtLineal[2]->text());
        return q ? std::optional<std::int64_t>(q->raw()) : std::nullopt;
    }
    return Measure::read(txtLineal[2]->text()).feet;
}

std::optional<std::int32_t> frmLineal::GetTotal() {
    const int type = cmbLineal->currentData().toInt();
    if (type < 1) {
        ctx_.prompt->message(QStringLiteral("You must select a type."));
        cmbLineal->setFocus();
        return std::nullopt;
    }
    const std::optional<std::int32_t> total =
        RoofMath::linealTotal(type, Measure::toFeet(length().value_or(0)), roofArea_);
    if (!total) {
        ctx_.prompt->message(QStringLiteral("This number is too large."));
        txtLineal[2]->setFocus();
    }
    return total;
}

void frmLineal::cmdOkay_Click() {
    if (txtLineal[1]->text().trimmed().isEmpty()) {
        ctx_.prompt->message(QStringLiteral("Please name this item."));
        txtLineal[1]->setFocus();
        return;
    }
    if (cmbLineal->currentData().toInt() < 1) {
        ctx_.prompt->message(QStringLiteral("Please select a type."));
        cmbLineal->setFocus();
        return;
    }
    if (txtLineal[2]->text().trimmed().isEmpty()) {
        ctx_.prompt->message(QStringLiteral("Please enter a length."));
        txtLineal[2]->setFocus();
        return;
    }
    const std::optional<std::int64_t> raw = length();
    if (!raw) {
        const Measure::Reading r = Measure::read(txtLineal[2]->text());
        // Text that is no number at all keeps the message it always had.
        if (percent() || !txtLineal[2]->text().contains(QRegularExpression(QStringLiteral("\\d"))))
            ctx_.prompt->message(QString::fromLatin1(InputHelpers::NotANumber));
        else
            ctx_.prompt->message(r.error);
        txtLineal[2]->setText(QStringLiteral("0"));
        txtLineal[2]->setFocus();
        return;
    }
    const double length = Measure::toFeet(*raw);
    if (length < 0 || length > RoofMath::MaxMeasure) {
        ctx_.prompt->message(QStringLiteral("A length must be from 0 to %1.")
                                 .arg(QLocale().toString(RoofMath::MaxMeasure, 'f', 0)));
        txtLineal[2]->setFocus();
        txtLineal[2]->selectAll();
        return;
    }
    const std::optional<std::int32_t> total = GetTotal();
    if (!total)
        return;
    result_.type = cmbLineal->currentData().toInt();
    result_.name = txtLineal[1]->text().trimmed();
    result_.length = *raw;
    result_.total = *total;
    accept();
}

#include "catalogue/forms/frmLabor.h"

#include "catalogue/LaborRates.h"
#include "catalogue/forms/frmPerc.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Money.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using Widgets::named;

namespace {
const char* Form = "frmLabor";
// The owner named in error messages.
const QString kOwner = Guard::form(Form);
const char* PercCaptions[4] = {"Fringe %", "Work Comp %", "Employer Taxes %", "Other Costs %"};
} // namespace

frmLabor::frmLabor(AppContext& ctx, const CostEdit& edit, QWidget* parent)
    : QDialog(parent), ctx_(ctx), edit_(edit), itemID_(edit.editing() ? edit.CostItemID : 0) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Manage Labor Rates"));
    fraJobTitle = named(new QGroupBox(QStringLiteral("Enter Job Title")), "fraJobTitle");
    txtJobTitle = named(new QLineEdit, "txtJobTitle");
    InputHelpers::characterLimit(txtJobTitle, 50);
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* jt = new QHBoxLayout(fraJobTitle);
    jt->addWidget(txtJobTitle, 1);
    jt->addWidget(cmdOkay);
    jt->addWidget(cmdCancel);
    cmdNonEmployee =
        named(new QPushButton(QStringLiteral("Enter Non-Employee Labor Item")), "cmdNonEmployee");
    lblJobTitle = named(new QLabel, "lblJobTitle");

    const char* captions[7] = {"Base Rate:",   "Taxable Fringe:", "Workers comp", "Emplorer Taxes:",
                               "Other costs:", "Notes:",          "Total:"};
    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("Job Title:")), 0, 0);
    g->addWidget(lblJobTitle, 0, 1, 1, 2);
    for (int i = 0; i < 7; ++i) {
        txtLabor[i] = named(new QLineEdit, Widgets::indexed("txtLabor", i));
        g->addWidget(new QLabel(QLatin1String(captions[i])), i + 1, 0);
        g->addWidget(txtLabor[i], i + 1, 1);
        if (i < 5)
            txtLabor[i]->installEventFilter(this);
        if (i == 5) {
            InputHelpers::characterLimit(txtLabor[i], 255);
            InputHelpers::focusColour(txtLabor[i]);
        } else if (i < 5) {
            InputHelpers::numberBox(txtLabor[i], ctx);
        }
    }
    txtLabor[0]->setToolTip(QStringLiteral("Actual rate employee is paid"));
    txtLabor[6]->setReadOnly(true);
    for (int i = 0; i < 4; ++i) {
        lblPerct[i] = named(new QLabel(QStringLiteral("<a href=\"#\">click to enter "
                                                      "percentage:</a>")),
                            Widgets::indexed("lblPerct", i));
        g->addWidget(lblPerct[i], i + 2, 2);
        connect(lblPerct[i], &QLabel::linkActivated, this, [this, i] { lblPerct_Click(i); });
    }
    cmdSave = named(new QPushButton(QStringLiteral("Save")), "cmdSave");
    cmdClose = named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNonEmployee);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto* v = new QVBoxLayout(this);
    v->addWidget(fraJobTitle);
    v->addLayout(g);
    v->addLayout(buttons);
    InputHelpers::focusColour(txtJobTitle);

    connect(cmdOkay, &QPushButton::clicked, this, &frmLabor::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdSave, &QPushButton::clicked, this, &frmLabor::cmdSave_Click);
    connect(cmdNonEmployee, &QPushButton::clicked, this, &frmLabor::cmdNonEmployee_Click);
    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), kOwner, [this] { Form_Load(); });
}

void frmLabor::enableRates(bool on) {
    for (QWidget* w : txtLabor)
        w->setEnabled(on);
    for (QWidget* w : lblPerct)
        w->setEnabled(on);
    cmdSave->setEnabled(on);
}

void frmLabor::Form_Load() {
    percents_ = LaborRates::DefaultPercents(ctx_);
    if (!edit_.editing()) {
        // The rates belong to a job title, so they wait until one has been entered.
        fraJobTitle->show();
        cmdNonEmployee->show();
        enableRates(false);
        txtJobTitle->setFocus();
        return;
    }
    fraJobTitle->hide();
    cmdNonEmployee->hide();
    const auto rates = itemID_ == 0 ? std::nullopt : LaborRates::Load(ctx_, itemID_);
    if (!rates) {
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    const Money values[5] = {rates->base, rates->fringe, rates->workcomp, rates->taxes,
                             rates->other};
    for (int i = 0; i < 5; ++i)
        txtLabor[i]->setText(values[i].toSql());
    PopCostItem();
    ComputeTotal();
}

void frmLabor::PopCostItem() {
    const auto t = LaborRates::LoadJobTitle(ctx_, itemID_);
    if (!t)
        return;
    lblJobTitle->setText(t->title);
    if (t->notes)
        txtLabor[5]->setText(*t->notes);
}

bool frmLabor::eventFilter(QObject* o, QEvent* e) {
    // Runs after the number check of the box, which has already reset a non-number to "0".
    // Switching to another window (frmPerc) is not leaving the box.
    if (e->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason) {
        if (o == txtLabor[0])
            QTimer::singleShot(0, this, &frmLabor::ComputeDefault);
        else
            QTimer::singleShot(0, this, &frmLabor::ComputeTotal);
    }
    return QDialog::eventFilter(o, e);
}

void frmLabor::ComputeDefault() {
    Guard::run(*ctx_.prompt, QStringLiteral("ComputeDefault"), kOwner, [this] {
        const auto base = Numbers::parse(txtLabor[0]->text());
        if (!base)
            return;
        for (int i = 0; i < 4; ++i)
            txtLabor[i + 1]->setText(
                Numbers::shortest(LaborRates::Burden(*base, double(percents_[i]))));
        ComputeTotal();
    });
}

void frmLabor::ComputeTotal() {
    Money total;
    for (int i = 0; i < 5; ++i) {
        const auto v = Numbers::parse(txtLabor[i]->text());
        if (!v)
            continue;
        if (i > 0)
            txtLabor[i]->setText(Numbers::shortest(LaborRates::RoundBurden(*v)));
        total += Money::fromText(txtLabor[i]->text());
    }
    txtLabor[6]->setText(total.toCurrency());
}

void frmLabor::lblPerct_Click(int index) {
    const auto base = Numbers::parse(txtLabor[0]->text());
    if (!base || *base == 0)
        return;
    frmPerc p(ctx_, QLatin1String(PercCaptions[index]), txtLabor[0]->text(), percents_[index],
              this);
    p.exec();
    if (!p.result().Cancelled)
        txtLabor[index + 1]->setText(p.result().Burden);
    ComputeTotal();
    txtLabor[index + 1]->setFocus();
}

void frmLabor::cmdOkay_Click() {
    if (txtJobTitle->text().trimmed().isEmpty()) {
        ctx_.prompt->message(QStringLiteral("Enter job title"));
        txtJobTitle->setFocus();
        return;
    }
    std::int32_t id = 0;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdOkay_Click"), kOwner,
                    [&] { id = LaborRates::CreateJobTitle(ctx_, txtJobTitle->text()); }) ||
        id == 0)
        return;
    itemID_ = id;
    fraJobTitle->hide();
    cmdNonEmployee->hide();
    enableRates(true);
    Guard::run(*ctx_.prompt, QStringLiteral("PopCostItem"), kOwner, [this] { PopCostItem(); });
    txtLabor[0]->setFocus();
}

void frmLabor::cmdSave_Click() {
    for (int i = 0; i < 5; ++i)
        if (!InputHelpers::requireBoundedNumber(txtLabor[i], ctx_))
            return;
    ComputeTotal();
    auto m = [this](int i) { return Money::fromText(txtLabor[i]->text()); };
    const LaborRates::Rates r{m(0), m(1), m(2), m(3), m(4)};
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdSave_Click"), kOwner,
                    [&] { LaborRates::Save(ctx_, itemID_, r, txtLabor[5]->text()); }))
        return;
    saved_ = itemID_;
    accept();
}

void frmLabor::cmdNonEmployee_Click() {
    switch_ = true;
    reject();
}

#include "pricing/forms/TotalsTab.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Money.h"
#include "common/Numbers.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "pricing/Admin.h"
#include "pricing/forms/LineItemsTab.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <QTextEdit>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

TotalsTab::TotalsTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    auto* outer = new QHBoxLayout(this);
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("Estimate Summary")));
    txtSumm = named(new QTextEdit, "txtSumm");
    txtSumm->setAcceptRichText(false);
    txtSumm->setPlainText(QStringLiteral("No Summary"));
    txtSumm->setTabChangesFocus(true);
    InputHelpers::focusColour(txtSumm);
    texts->addWidget(txtSumm, 1);
    texts->addWidget(new QLabel(QStringLiteral("Payment Terms")));
    txtTerms = named(new QTextEdit, "txtTerms");
    txtTerms->setAcceptRichText(false);
    txtTerms->setPlainText(QStringLiteral("No Terms"));
    txtTerms->setTabChangesFocus(true);
    InputHelpers::focusColour(txtTerms);
    texts->addWidget(txtTerms, 1);
    outer->addLayout(texts, 3);

    auto* right = new QVBoxLayout;
    const char* captions[] = {"Overhead", "Profit", "Contingency", "Management"};
    const char* typeNames[] = {"lblOver", "lblPro", "lblCont", "lblManage"};
    QLabel* types[4];
    auto* adminGrid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        frAdmin[i] = named(new QGroupBox(QString::fromLatin1(captions[i])), indexed("frAdmin", i));
        frAdmin[i]->setToolTip(QStringLiteral("Click to change the %1 amount")
                                   .arg(QString::fromLatin1(captions[i]).toLower()));
        frAdmin[i]->setCursor(Qt::PointingHandCursor);
        frAdmin[i]->setFocusPolicy(Qt::StrongFocus);
        frAdmin[i]->installEventFilter(this);
        auto* h = new QHBoxLayout(frAdmin[i]);
        types[i] = named(new QLabel(QStringLiteral("Fixed @")), typeNames[i]);
        lblAdmin[i] = named(new QLabel(QStringLiteral("...")), indexed("lblAdmin", i));
        lblAdmin[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblAdmin[i]->setMinimumWidth(100);
        h->addWidget(types[i]);
        h->addStretch();
        h->addWidget(lblAdmin[i]);
        adminGrid->addWidget(frAdmin[i], i / 2, i % 2);
    }
    lblOver = types[0];
    lblPro = types[1];
    lblCont = types[2];
    lblManage = types[3];
    right->addLayout(adminGrid);

    auto* totals = new QGridLayout;
    auto addTotal = [&](int row, const char* caption, const char* name) {
        auto* value = named(new QLabel(QStringLiteral(".00")), name);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        totals->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);
        totals->addWidget(value, row, 1);
        return value;
    };
    lblSubTotal = addTotal(0, "Sub Total:", "lblSubTotal");
    lblAdminTotal = addTotal(1, "Admin Total:", "lblAdminTotal");
    lblEstTotal = addTotal(2, "EstimateTotal:", "lblEstTotal");
    QFont big = lblEstTotal->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    lblEstTotal->setFont(big);
    right->addLayout(totals);
    right->addStretch();

    auto* buttons = new QHBoxLayout;
    cmdPrint0 =
        named(new QPushButton(QStringLiteral("Create document set")), indexed("cmdPrint", 0));
    cmdSave = named(new QPushButton(QStringLiteral("Save && Close")), "cmdSave");
    cmdSave->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(cmdPrint0);
    buttons->addWidget(cmdSave);
    right->addLayout(buttons);
    outer->addLayout(right, 2);
}

QLabel* TotalsTab::typeLabel(int i) const {
    switch (i) {
    case 0:
        return lblOver;
    case 1:
        return lblPro;
    case 2:
        return lblCont;
    case 3:
        return lblManage;
    default:
        return nullptr;
    }
}

bool TotalsTab::eventFilter(QObject* o, QEvent* e) {
    for (int i = 0; i < 4; ++i) {
        if (o != frAdmin[i])
            continue;
        const bool click = e->type() == QEvent::MouseButtonRelease &&
                           static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton;
        const bool key =
            e->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space ||
                                              static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return);
        if ((click || key) && frAdmin[i]->isEnabled()) {
            Q_EMIT frAdminClicked(i);
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

namespace {
const QString kFrmEstiGrid = QStringLiteral("Form frmEstiGrid");
}

void TotalsTab::FigureAdmin(int index, const QString& kind, const QString& amount) {
    if (index < 0 || index > 3)
        return;
    QLabel* type = typeLabel(index);
    if (kind == QLatin1String("Fixed")) {
        const std::optional<Money> m = Money::parse(amount);
        if (!m) {
            ErrorMessage::show(*ctx_.prompt, 13, QStringLiteral("Type mismatch"),
                               QStringLiteral("FigureAdmin"), kFrmEstiGrid);
            return;
        }
        type->setText(QStringLiteral("Fixed @"));
        lblAdmin[index]->setText(m->toCurrency());
        return;
    }
    const std::optional<double> parsed = Numbers::parse(amount);
    if (!parsed) {
        ErrorMessage::show(*ctx_.prompt, 13, QStringLiteral("Type mismatch"),
                           QStringLiteral("FigureAdmin"), kFrmEstiGrid);
        return;
    }
    // The percentage is a single-precision number, as it has always been figured.
    const float p = float(*parsed);
    type->setText((index == 0 ? amount : Numbers::shortest(double(p))) + QLatin1Char('%'));
    const double value = (double(p) * 0.01) * ctx_.Totals.SubTotal.toDouble();
    lblAdmin[index]->setText(Money::fromDouble(value).toCurrency());
}

void TotalsTab::FigureTotals() {
    EstimateTotals& t = ctx_.Totals;
    t.resetTypeTotals();
    const QStringList types = {QStringLiteral("Material"), QStringLiteral("Labor"),
                               QStringLiteral("SubCon"),   QStringLiteral("Equip"),
                               QStringLiteral("Fee"),      QStringLiteral("Unit_Item")};
    Money* sums[] = {&t.MaterialTotal, &t.LaborTotal, &t.SubConTotal,
                     &t.EquipTotal,    &t.FeeTotal,   &t.UnitTotal};
    try {
        QSqlQuery q = modData::exec(ctx_, ctx_.TempDBConn,
                                    QStringLiteral("select ItemTable, sum(LineTotal) from "
                                                   "tpLineItems group by ItemTable"));
        while (q.next()) {
            const QString name = q.value(0).toString();
            for (int k = 0; k < types.size(); ++k)
                if (name.compare(types[k], Qt::CaseInsensitive) == 0)
                    *sums[k] += Money::fromRaw(q.value(1).toLongLong());
        }
    } catch (const ProcedureError& e) {
        ErrorMessage::show(*ctx_.prompt, e.number, e.description, QStringLiteral("FigureTotals"),
                           kFrmEstiGrid);
    }
    t.SubTotal = Money();
    for (int k = 0; k < 6; ++k) {
        t.SubTotal += *sums[k];
        if (lines_)
            lines_->lblSubTotals[k]->setText(sums[k]->toCurrency());
    }
    if (lines_)
        lines_->lblSubTotals[6]->setText(t.SubTotal.toCurrency());
    lblSubTotal->setText(t.SubTotal.toCurrency());

    for (int i = 0; i < 4; ++i) {
        const QString type = typeLabel(i)->text();
        if (type == QLatin1String("Fixed @"))
            FigureAdmin(i, QStringLiteral("Fixed"), lblAdmin[i]->text());
        else
            FigureAdmin(i, QStringLiteral("%"), type.left(type.size() - 1));
    }
    // Each amount counts as the cents its label shows.
    t.AdminTotal = Money();
    for (QLabel* l : lblAdmin)
        t.AdminTotal += Money::fromText(l->text());
    lblAdminTotal->setText(t.AdminTotal.toCurrency());
    t.EstTotal = t.SubTotal + t.AdminTotal;
    lblEstTotal->setText(t.EstTotal.toCurrency());
}

void TotalsTab::PopAdmin() {
    const auto op =
        ctx_.settings->section(QString::fromLatin1(SettingsStore::App), QStringLiteral("Op"));
    for (int i = 0; i < 4; ++i) {
        // A missing default is a fixed 0 rather than a failure.
        const QString stored = i + 1 < int(op.size()) ? op[i + 1].second : QString();
        const Admin::Amount a = Admin::parseStored(stored);
        FigureAdmin(i, a.fixed ? QStringLiteral("Fixed") : QStringLiteral("%"), a.value);
    }
}

void TotalsTab::PopEstAdmin() {
    try {
        QSqlQuery q = modData::exec(ctx_, ctx_.EstConn,
                                    QStringLiteral("Select overhead,profit,contingency,management,"
                                                   "paymentterms,estsummary from main where id=1"));
        if (!q.next())
            throw modData::SqlError::message(
                QStringLiteral("The owner row of this estimate is missing"));
        for (int i = 0; i < 4; ++i) {
            const QString stored = q.value(i).toString();
            const Admin::Amount a = Admin::parseStored(stored);
            if (q.value(i).isNull() || stored.trimmed().isEmpty()) {
                typeLabel(i)->setText(QStringLiteral("Fixed @"));
                lblAdmin[i]->setText(QStringLiteral(".00"));
            } else if (a.fixed) {
                typeLabel(i)->setText(QStringLiteral("Fixed @"));
                lblAdmin[i]->setText(a.value);
            } else {
                typeLabel(i)->setText(a.value + QLatin1Char('%'));
            }
        }
        if (!q.value(4).isNull())
            txtTerms->setPlainText(q.value(4).toString());
        if (!q.value(5).isNull())
            txtSumm->setPlainText(q.value(5).toString());
    } catch (const ProcedureError& e) {
        ErrorMessage::show(*ctx_.prompt, e.number, e.description, QStringLiteral("PopEstAdmin"),
                           kFrmEstiGrid);
    }
}

QStringList TotalsTab::adminStoredTexts() const {
    QStringList texts;
    for (int i = 0; i < 4; ++i) {
        const QString type = typeLabel(i)->text();
        Admin::Amount a;
        a.fixed = type == QLatin1String("Fixed @");
        a.value = a.fixed ? lblAdmin[i]->text() : type.left(type.size() - 1);
        texts << Admin::storedText(a);
    }
    return texts;
}

void TotalsTab::resetLabels() {
    if (lines_)
        for (QLabel* l : lines_->lblSubTotals)
            l->setText(QStringLiteral(".00"));
    for (QLabel* l : {lblSubTotal, lblAdminTotal, lblEstTotal})
        l->setText(QStringLiteral(".00"));
    for (QLabel* l : lblAdmin)
        l->setText(QStringLiteral("..."));
}

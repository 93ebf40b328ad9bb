#include "pricing/forms/TotalsTab.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/UndoableText.h"
#include "common/forms/Widgets.h"
#include "pricing/forms/frmAdminEdit.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QUndoStack>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {

const char* const kCaptions[] = {"Overhead", "Profit", "Contingency", "Management"};

// One edit of an administrative amount as a step of the undo stack ("Change Profit").
class AdminStep : public QUndoCommand {
public:
    AdminStep(TotalsTab* tab, int index, const Totals::AdminAmount& before,
              const Totals::AdminAmount& after)
        : QUndoCommand(QStringLiteral("Change ") + QLatin1String(kCaptions[index])), tab_(tab),
          index_(index), before_(before), after_(after) {}
    void redo() override { tab_->setAdmin(index_, after_); }
    void undo() override { tab_->setAdmin(index_, before_); }

private:
    TotalsTab* tab_;
    int index_;
    Totals::AdminAmount before_;
    Totals::AdminAmount after_;
};

} // namespace

TotalsTab::TotalsTab(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), undo_(new QUndoStack(this)) {
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
    const char* const* captions = kCaptions;
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

    connect(this, &TotalsTab::frAdminClicked, this, &TotalsTab::frAdmin_Click);
    // Text the program puts in while it loads an estimate is no change by the user.
    auto stack = [this] { return undo_; };
    auto loading = [this] { return ctx_.Loading; };
    summaryUndo_ = UndoableText::attach(txtSumm, QStringLiteral("Summary"), stack, loading);
    termsUndo_ = UndoableText::attach(txtTerms, QStringLiteral("Payment Terms"), stack, loading);
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
const QString kFrmEstiGrid = Guard::form("frmEstiGrid");
}

void TotalsTab::showAdmin(int index) {
    const Totals::AdminAmount& a = totals_.admin[index];
    typeLabel(index)->setText(a.typeText());
    lblAdmin[index]->setText(a.shown);
}

void TotalsTab::showSums() {
    lblSubTotal->setText(totals_.subTotal.toCurrency());
    lblAdminTotal->setText(totals_.adminTotal.toCurrency());
    lblEstTotal->setText(totals_.estTotal.toCurrency());
}

void TotalsTab::FigureAdmin(int index, const QString& kind, const QString& amount) {
    if (index < 0 || index > 3)
        return;
    const std::optional<Totals::AdminAmount> a =
        Totals::figureAdmin(index, kind == QLatin1String("Fixed"), amount, totals_.subTotal);
    if (!a) {
        ErrorMessage::show(*ctx_.prompt, 13, QStringLiteral("Type mismatch"),
                           QStringLiteral("FigureAdmin"), kFrmEstiGrid);
        return;
    }
    totals_.admin[index] = *a;
    showAdmin(index);
}

void TotalsTab::FigureTotals() {
    // Without the lines' sums the totals are figured from nothing rather than not at all.
    Totals::TypeTotals types{};
    Guard::run(*ctx_.prompt, QStringLiteral("FigureTotals"), kFrmEstiGrid,
               [&] { types = Totals::sumByType(ctx_); });
    const Totals::Figured figured = Totals::figure(types, totals_.admin);
    totals_ = figured.totals;
    for (int i = 0; i < 4; ++i)
        showAdmin(i);
    showSums();
    Q_EMIT totalsFigured(totals_);
    if (figured.tooLarge)
        ctx_.prompt->message(QStringLiteral("The totals of this estimate are larger than "
                                            "Corvanel can figure. Please check the quantities, "
                                            "prices and administrative amounts."),
                             QString(), Prompt::Icon::Warning);
    // An amount whose figure is not a number keeps what it showed.
    for (qsizetype n = 0; n < figured.mismatches.size(); ++n)
        ErrorMessage::show(*ctx_.prompt, 13, QStringLiteral("Type mismatch"),
                           QStringLiteral("FigureAdmin"), kFrmEstiGrid);
}

void TotalsTab::PopAdmin() {
    const std::array<Admin::Amount, 4> defaults = Totals::adminDefaults(*ctx_.settings);
    for (int i = 0; i < 4; ++i)
        FigureAdmin(i, defaults[i].fixed ? QStringLiteral("Fixed") : QStringLiteral("%"),
                    defaults[i].value);
}

void TotalsTab::PopEstAdmin() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopEstAdmin"), kFrmEstiGrid,
               [this] { showTerms(Totals::storedTerms(ctx_)); });
}

void TotalsTab::showTerms(const Totals::StoredTerms& stored) {
    for (int i = 0; i < 4; ++i) {
        totals_.admin[i] = Totals::loadedAdmin(stored.admin[i], totals_.admin[i]);
        showAdmin(i);
    }
    if (stored.terms)
        txtTerms->setPlainText(*stored.terms);
    if (stored.summary)
        txtSumm->setPlainText(*stored.summary);
}

QStringList TotalsTab::adminStoredTexts() const {
    QStringList texts;
    for (const Totals::AdminAmount& a : totals_.admin)
        texts << a.storedText();
    return texts;
}

QString TotalsTab::summary() const {
    return txtSumm->toPlainText();
}

QString TotalsTab::terms() const {
    return txtTerms->toPlainText();
}

void TotalsTab::clearTexts() {
    txtSumm->clear();
    txtTerms->clear();
}

void TotalsTab::resetLabels() {
    for (QLabel* l : {lblSubTotal, lblAdminTotal, lblEstTotal})
        l->setText(QStringLiteral(".00"));
    for (int i = 0; i < 4; ++i) {
        totals_.admin[i] = Totals::closedAdmin(totals_.admin[i]);
        showAdmin(i);
    }
    Q_EMIT totalsCleared();
}

void TotalsTab::frAdmin_Click(int index) {
    if (index < 0 || index > 3)
        return;
    std::optional<Admin::Amount> entered;
    {
        frmAdminEdit dialog(ctx_, frAdmin[index]->title(), index, totals_, window());
        dialog.exec();
        entered = dialog.entered();
    }
    // A cancelled dialog, or the amount it already had, changes nothing.
    if (!entered)
        return;
    const std::optional<Totals::AdminAmount> after =
        Totals::figureAdmin(index, entered->fixed, entered->value, totals_.subTotal);
    if (!after || *after == totals_.admin[index])
        return;
    undo_->push(new AdminStep(this, index, totals_.admin[index], *after));
}

void TotalsTab::setAdmin(int index, const Totals::AdminAmount& a) {
    if (index < 0 || index > 3)
        return;
    totals_.admin[index] = a;
    showAdmin(index);
    FigureTotals();
}

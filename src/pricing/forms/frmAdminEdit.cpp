#include "pricing/forms/frmAdminEdit.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using Widgets::named;

frmAdminEdit::frmAdminEdit(AppContext& ctx, const QString& frame, int index,
                           const Totals::EstimateTotals& totals, QWidget* parent)
    : QDialog(parent), ctx_(ctx), index_(index), totals_(totals) {
    const Totals::AdminAmount& current = totals_.admin[std::size_t(index_ & 3)];
    setObjectName(QStringLiteral("frmAdminEdit"));
    setWindowTitle(QStringLiteral("Admin Amounts - ") + frame);
    Text1 = named(new QLineEdit, "Text1");
    Text1->setMaxLength(Admin::MaxTyped);
    InputHelpers::focusColour(Text1);
    Option1 = named(new QRadioButton(QStringLiteral("%")), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("$")), "Option2");
    Command1 = named(new QPushButton(QStringLiteral("Okay")), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Cancel")), "Command2");

    (current.fixed ? Option2 : Option1)->setChecked(true);
    // A figure not yet made ("...") offers nothing to keep.
    Text1->setText(current.figure == Totals::kNotFigured ? QString() : current.figureText());
    Text1->selectAll();

    auto* row = new QHBoxLayout;
    row->addWidget(Text1, 1);
    row->addWidget(Option1);
    row->addWidget(Option2);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("A percentage of the sub total, or a fixed amount:")));
    v->addLayout(row);
    v->addLayout(Widgets::buttonRow({Command1, Command2}));
    connect(Command1, &QPushButton::clicked, this, &frmAdminEdit::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void frmAdminEdit::refuse(const QString& message) {
    ctx_.prompt->message(message);
    Text1->setFocus();
    Text1->selectAll();
}

void frmAdminEdit::Command1_Click() {
    const QString text = Text1->text().trimmed();
    if (text.isEmpty())
        return;
    const bool fixed = Option2->isChecked();
    // Currency text is fine for a fixed amount; a percentage is a plain number.
    if (const std::optional<QString> problem = Admin::problemWith(fixed, text)) {
        refuse(*problem);
        return;
    }
    const Admin::Amount a = *Admin::fromTyped(fixed, text);
    Totals::AdminAmounts admin = totals_.admin;
    if (const auto figured = Totals::figureAdmin(index_, a.fixed, a.value, totals_.subTotal))
        admin[std::size_t(index_ & 3)] = *figured;
    if (!Totals::fits(totals_.types, admin)) {
        refuse(Totals::tooLargeMessage());
        return;
    }
    entered_ = a;
    accept();
}

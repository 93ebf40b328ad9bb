#include "pricing/forms/frmAdminEdit.h"

#include "common/AppContext.h"
#include "common/Money.h"
#include "common/Numbers.h"
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

namespace {
// The largest amount whose stored text ("Fixed-$99,999,999.99") still fits its column.
constexpr double kLargest = 9999999.99;
} // namespace

frmAdminEdit::frmAdminEdit(AppContext& ctx, const QString& frame,
                           const Totals::AdminAmount& current, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAdminEdit"));
    setWindowTitle(QStringLiteral("Admin Amounts - ") + frame);
    Text1 = named(new QLineEdit, "Text1");
    Text1->setMaxLength(14);
    InputHelpers::focusColour(Text1);
    Option1 = named(new QRadioButton(QStringLiteral("%")), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("$")), "Option2");
    Command1 = named(new QPushButton(QStringLiteral("Okay")), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Cancel")), "Command2");

    (current.fixed ? Option2 : Option1)->setChecked(true);
    Text1->setText(current.figure);
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

void frmAdminEdit::Command1_Click() {
    const QString text = Text1->text().trimmed();
    if (text.isEmpty())
        return;
    const bool fixed = Option2->isChecked();
    // Currency text is fine for a fixed amount; a percentage is a plain number.
    const std::optional<double> value =
        fixed ? (Money::parse(text) ? std::optional<double>(Money::parse(text)->toDouble())
                                    : std::nullopt)
              : Numbers::parse(text);
    if (!value) {
        ctx_.prompt->message(QString::fromLatin1(InputHelpers::NotANumber));
        Text1->setFocus();
        Text1->selectAll();
        return;
    }
    if (*value > kLargest || *value < -kLargest) {
        ctx_.prompt->message(QStringLiteral("This number is too large."));
        Text1->setFocus();
        Text1->selectAll();
        return;
    }
    entered_ = Admin::Amount{fixed, text};
    accept();
}

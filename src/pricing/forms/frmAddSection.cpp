#include "pricing/forms/frmAddSection.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "pricing/Sections.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using Widgets::named;

namespace {
const char* TooLong = "This field cannot be any longer than 50 characters.";
}

frmAddSection::frmAddSection(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmAddSection");
    setWindowTitle(QStringLiteral("Add Section"));
    cmbSection = named(new QComboBox, "cmbSection");
    cmbSection->setEditable(true);
    cmbSection->setInsertPolicy(QComboBox::NoInsert);
    cmbSection->setMinimumWidth(InputHelpers::twips(4000));
    cmdSave = named(new QPushButton(QStringLiteral("Save")), "cmdSave");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdSave->setDefault(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(
        named(new QLabel(QStringLiteral("Select from drop down or type another.")), "Label1"));
    v->addWidget(cmbSection);
    auto* h = new QHBoxLayout;
    h->addStretch();
    h->addWidget(cmdSave);
    h->addWidget(cmdCancel);
    v->addLayout(h);
    InputHelpers::focusColour(cmbSection);
    InputHelpers::lengthLimit(cmbSection, ctx, 50, QLatin1String(TooLong));
    connect(cmdSave, &QPushButton::clicked, this, &frmAddSection::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    Guard::run(*ctx.prompt, QStringLiteral("PopSectionNames"), Guard::form("frmAddSection"),
               [this] { PopSectionNames(); });
    QTimer::singleShot(0, cmbSection, qOverload<>(&QWidget::setFocus));
}

void frmAddSection::PopSectionNames() {
    cmbSection->clear();
    cmbSection->addItem(QString());
    int n = 0;
    for (const QString& name : Sections::SharedNames(ctx_))
        cmbSection->addItem(name, ++n);
}

void frmAddSection::cmdSave_Click() {
    const QString text = cmbSection->currentText();
    if (!InputHelpers::withinLimit(cmbSection, ctx_, 50, QLatin1String(TooLong)))
        return;
    if (text.trimmed().isEmpty()) {
        reject();
        return;
    }
    // "Add" is the picker's own entry for making a section, so it cannot name one.
    if (text.trimmed().compare(QLatin1String("Add"), Qt::CaseInsensitive) == 0) {
        ctx_.prompt->message(QStringLiteral("\"Add\" cannot be used as a section name."));
        cmbSection->setFocus();
        return;
    }
    const bool ok = Guard::run(
        *ctx_.prompt, QStringLiteral("cmdSave_Click"), Guard::form("frmAddSection"), [&] {
            if (cmbSection->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
                Sections::AddSharedName(ctx_, text);
            // A section the estimate already has is chosen again rather than made twice, since
            // its lines are found by their section's name.
            bool exists = false;
            for (const auto& s : Sections::List(ctx_))
                exists = exists || s.name.compare(text, Qt::CaseInsensitive) == 0;
            if (!exists)
                Sections::Add(ctx_, text);
        });
    if (!ok)
        return;
    section_ = text;
    cmbSection->clear();
    accept();
}

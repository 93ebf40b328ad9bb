#include "documents/forms/frmPrintForms.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "common/forms/Widgets.h"
#include "documents/forms/frmPrint.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::named;

frmPrintForms::frmPrintForms(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmPrintForms"));
    setWindowTitle(QStringLiteral("Print Forms"));
    auto* v = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Form ")));
    cmbForms = named(new QComboBox, "cmbForms");
    cmbForms->setMinimumWidth(200);
    const char* texts[] = {"", "Lead Form", "Roof Form", "Estimate Detail", "Estimate Summary"};
    for (int i = 0; i < 5; ++i)
        cmbForms->addItem(QString::fromLatin1(texts[i]), i);
    cmbForms->setCurrentIndex(0);
    row->addWidget(cmbForms, 1);
    v->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdPrint = named(new QPushButton(QStringLiteral("Print")), "cmdPrint");
    cmdPrint->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCancel);
    v->addLayout(buttons);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrintForms::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmPrintForms::kindOf(int formCode) {
    switch (formCode) {
    case 1:
        return QStringLiteral("lead");
    case 2:
        return QStringLiteral("roof");
    case 3:
        return QStringLiteral("detail");
    case 4:
        return QStringLiteral("main");
    default:
        return QString();
    }
}

void frmPrintForms::cmdPrint_Click() {
    const int code = cmbForms->currentData().toInt();
    if (code == 0) {
        ctx_.prompt->message(QStringLiteral("Please select a form"));
        cmbForms->setFocus();
        return;
    }
    result_.Cancel = false;
    result_.FormCode = code;
    accept();
}

void frmPrintForms::mnuReportForms_Click(AppContext& ctx, QWidget* parent) {
    frmPrintForms dlg(ctx, parent);
    dlg.exec();
    const Result r = dlg.result();
    if (r.Cancel)
        return;
    const QString kind = kindOf(r.FormCode);
    if (kind.isEmpty())
        return;
    frmPrint printer(ctx, parent);
    printer.hide();
    printer.PrintBlankForm(kind);
}

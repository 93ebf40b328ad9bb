#include "pricing/forms/frmEditID.h"

#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::named;

frmEditID::frmEditID(std::int32_t suggested, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmEditID"));
    setWindowTitle(QStringLiteral("Enter ID# "));
    auto* v = new QVBoxLayout(this);
    v->addWidget(
        named(new QLabel(QStringLiteral("Enter the ID of the line item to edit.")), "Label1"));
    v->addWidget(
        named(new QLabel(QStringLiteral("Enter ID from the ID column to the left.")), "Label2"));
    txtID = named(new QLineEdit, "txtID");
    txtID->setMaxLength(10);
    if (suggested > 0)
        txtID->setText(QString::number(suggested));
    txtID->selectAll();
    InputHelpers::focusColour(txtID);
    v->addWidget(txtID);
    cmdOk = named(new QPushButton(QStringLiteral("OK")), "cmdOk");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    v->addLayout(Widgets::buttonRow({cmdOk, cmdCancel}));
    connect(cmdOk, &QPushButton::clicked, this, &frmEditID::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEditID::cmdOk_Click() {
    bool ok = false;
    const int id = txtID->text().trimmed().toInt(&ok);
    if (!ok || id <= 0)
        return;
    id_ = id;
    accept();
}

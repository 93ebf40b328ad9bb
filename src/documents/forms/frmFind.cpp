#include "documents/forms/frmFind.h"

#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using Widgets::named;

frmFind::frmFind(const Result& last, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Find:")), 0, 0);
    txtFind = named(new QLineEdit(last.Text), "txtFind");
    InputHelpers::focusColour(txtFind);
    grid->addWidget(txtFind, 0, 1, 1, 2);
    chkWholeWords = named(new QCheckBox(QStringLiteral("&Whole Words")), "chkWholeWords");
    chkWholeWords->setChecked(last.WholeWords);
    chkMatchCase = named(new QCheckBox(QStringLiteral("&Match Case")), "chkMatchCase");
    chkMatchCase->setChecked(last.MatchCase);
    grid->addWidget(chkWholeWords, 1, 1);
    grid->addWidget(chkMatchCase, 2, 1);
    cmdFind = named(new QPushButton(QStringLiteral("&Find")), "cmdFind");
    cmdFind->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    grid->addWidget(cmdFind, 1, 2);
    grid->addWidget(cmdCancel, 2, 2);
    result_ = last;
    result_.Cancelled = true;
    connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    txtFind->setFocus();
    txtFind->selectAll();
}

void frmFind::cmdFind_Click() {
    result_.Cancelled = false;
    result_.Text = txtFind->text();
    result_.WholeWords = chkWholeWords->isChecked();
    result_.MatchCase = chkMatchCase->isChecked();
    accept();
}

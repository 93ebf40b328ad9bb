#include "pricing/forms/frmSortSections.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/forms/Widgets.h"
#include "pricing/Sections.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::named;

namespace {
const char* Form = "frmSortSections";
}

frmSortSections::frmSortSections(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Edit Section Order"));
    List1 = named(new QListWidget, "List1");
    frList = named(new QGroupBox(QStringLiteral("Enter Order")), "frList");
    lblItem = named(new QLabel, "lblItem");
    Combo1 = named(new QComboBox, "Combo1");
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdClose = named(new QPushButton(QStringLiteral("Cancel")), "cmdClose");
    cmdCommit = named(new QPushButton(QStringLiteral("Commit Changes")), "cmdCommit");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* fl = new QVBoxLayout(frList);
    fl->addWidget(
        named(new QLabel(QStringLiteral("Item                                         Order ")),
              "Label1"));
    auto* row = new QHBoxLayout;
    row->addWidget(lblItem, 1);
    row->addWidget(Combo1);
    fl->addLayout(row);
    auto* fb = new QHBoxLayout;
    fb->addWidget(cmdOkay);
    fb->addWidget(cmdClose);
    fl->addLayout(fb);
    frList->hide();
    auto* v = new QVBoxLayout(this);
    v->addWidget(
        named(new QLabel(QStringLiteral("Cick item to edit its order in the list")), "Label2"));
    v->addWidget(List1, 1);
    v->addWidget(frList);
    auto* b = new QHBoxLayout;
    b->addWidget(cmdCommit);
    b->addWidget(cmdCancel);
    v->addLayout(b);

    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* it) { List1_Click(List1->row(it)); });
    connect(cmdOkay, &QPushButton::clicked, this, &frmSortSections::cmdOkay_Click);
    connect(cmdClose, &QPushButton::clicked, frList, &QWidget::hide);
    connect(cmdCommit, &QPushButton::clicked, this, &frmSortSections::cmdCommit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSortSections::reject);
    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), Guard::form(Form), [this] {
        SectionOrder::Begin(ctx_);
        PopList();
    });
}

void frmSortSections::PopList() {
    List1->clear();
    for (const auto& e : SectionOrder::List(ctx_)) {
        auto* it = new QListWidgetItem(e.name);
        it->setData(Qt::UserRole, e.autoID);
        List1->addItem(it);
    }
}

void frmSortSections::List1_Click(int row) {
    if (row < 0 || row >= List1->count())
        return;
    Combo1->clear();
    frList->show();
    SortSectID = List1->item(row)->data(Qt::UserRole).toInt();
    SortSectPos = row;
    lblItem->setText(List1->item(row)->text());
    for (int i = 0; i < List1->count(); ++i)
        Combo1->addItem(QString::number(i));
}

void frmSortSections::cmdOkay_Click() {
    if (Combo1->currentText().isEmpty())
        return;
    const int to = Combo1->currentText().toInt();
    Guard::run(*ctx_.prompt, QStringLiteral("cmdOkay_Click"), Guard::form(Form), [&] {
        SectionOrder::Move(ctx_, SortSectID, SortSectPos, to);
        PopList();
    });
    frList->hide();
}

void frmSortSections::cmdCommit_Click() {
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdCommit_Click"), Guard::form(Form),
                    [this] { SectionOrder::Commit(ctx_); }))
        return;
    committed_ = true;
    QDialog::accept();
}

void frmSortSections::reject() {
    Guard::run(*ctx_.prompt, QStringLiteral("cmdCancel_Click"), Guard::form(Form),
               [this] { SectionOrder::Cancel(ctx_); });
    List1->clear();
    QDialog::reject();
}

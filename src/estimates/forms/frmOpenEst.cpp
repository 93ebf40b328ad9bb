#include "estimates/forms/frmOpenEst.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/forms/Widgets.h"
#include "estimates/EstList.h"

#include <QDate>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

frmOpenEst::frmOpenEst(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOpenEst"));
    setWindowTitle(QStringLiteral("Open Existing"));
    resize(560, 460);

    SSTab1 = named(new QTabWidget, "SSTab1");
    const char* headings[] = {"Working", "Pending", "Accepted", "Rejected"};
    // Fixed-pitch text, so that the columns of each line sit under one another.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int page = 0; page < 2; ++page) {
        auto* w = new QWidget;
        auto* v = new QVBoxLayout(w);
        for (int k = 0; k < 2; ++k) {
            const int i = page * 2 + k;
            Label[i] = named(new QLabel(QString::fromLatin1(headings[i])),
                             page == 0 ? "Label1" : "Label2");
            QFont bold = Label[i]->font();
            bold.setBold(true);
            Label[i]->setFont(bold);
            lstEstList[i] = named(new QListWidget, indexed("lstEstList", i));
            lstEstList[i]->setFont(fixed);
            Label[i]->setBuddy(lstEstList[i]);
            v->addWidget(Label[i]);
            v->addWidget(lstEstList[i], 1);
            connect(lstEstList[i], &QListWidget::itemActivated, this,
                    [this, i] { lstEstList_DblClick(i); });
        }
        SSTab1->addTab(w, page == 0 ? QStringLiteral("Working/Pending")
                                    : QStringLiteral("Accepted/Rejected"));
    }

    cmdCancel = named(new QPushButton(QStringLiteral("Cancel/Close")), "cmdCancel");
    connect(cmdCancel, &QPushButton::clicked, this, &frmOpenEst::cmdCancel_Click);
    auto* hint = new QLabel(QStringLiteral("Double-click an estimate to open it."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(SSTab1);
    outer->addLayout(buttons);

    for (int i = 0; i < 4; ++i)
        PopEstList(i);
    lstEstList[0]->setFocus();
}

void frmOpenEst::PopEstList(int index) {
    QListWidget* list = lstEstList[index];
    list->clear();
    Guard::run(*ctx_.prompt, QStringLiteral("PopEstList"), Guard::form("frmOpenEst"), [&] {
        for (const EstList::Line& line : EstList::PopEstList(ctx_, index, QDate::currentDate())) {
            auto* item = new QListWidgetItem(line.text, list);
            item->setData(Qt::UserRole, line.id);
        }
    });
}

void frmOpenEst::lstEstList_DblClick(int index) {
    QListWidgetItem* item = lstEstList[index]->currentItem();
    const int id = item ? item->data(Qt::UserRole).toInt() : 0;
    if (id < 1)
        return;
    chosen_ = id;
    accept();
}

void frmOpenEst::cmdCancel_Click() {
    chosen_ = 0;
    reject();
}

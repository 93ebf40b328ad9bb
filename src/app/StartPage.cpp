#include "app/StartPage.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/forms/Widgets.h"
#include "estimates/EstList.h"

#include <QAction>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using Widgets::named;

StartPage::StartPage(AppContext& ctx, const std::array<QAction*, 4>& actions, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("StartPage"));
    auto* v = new QVBoxLayout(this);
    v->addStretch(1);
    auto* title = new QLabel(QStringLiteral("Corvanel"));
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 2.4);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    v->addWidget(title);
    auto* sub = new QLabel(QStringLiteral("Roofing estimates, from the measured roof to the signed "
                                          "contract. What would you like to do?"));
    sub->setAlignment(Qt::AlignCenter);
    v->addWidget(sub);
    v->addSpacing(24);
    auto* grid = new QGridLayout;
    struct Item {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Item items[] = {
        {"cmdStartNew", "New estimate (F6)", "Enter a home owner and price a roof"},
        {"cmdStartOpen", "Open estimate (F7)", "Continue or print a saved estimate"},
        {"cmdStartFigure", "Figure a roof (F8)", "Measure a roof without an estimate"},
        {"cmdStartManage", "Manage estimates (F3)", "Accept, reject or delete estimates"}};
    for (int i = 0; i < 4; ++i) {
        auto* b = named(new QPushButton(QString::fromLatin1(items[i].caption)), items[i].name);
        b->setMinimumSize(240, 56);
        b->setToolTip(QString::fromLatin1(items[i].hint));
        QFont bf = b->font();
        bf.setPointSizeF(bf.pointSizeF() * 1.15);
        b->setFont(bf);
        grid->addWidget(b, i / 2, i % 2);
        if (QAction* a = actions[std::size_t(i)])
            connect(b, &QPushButton::clicked, a, &QAction::trigger);
        buttons[std::size_t(i)] = b;
    }
    // The recent estimates, under the buttons and as wide as they are.
    lblRecent = named(new QLabel(QStringLiteral("Recent estimates")), "lblRecent");
    QFont bold = lblRecent->font();
    bold.setBold(true);
    lblRecent->setFont(bold);
    lstRecent = named(new QTreeWidget, "lstRecent");
    lstRecent->setColumnCount(4);
    lstRecent->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Owner"),
                                QStringLiteral("Status"), QStringLiteral("Total")});
    lstRecent->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    lstRecent->setRootIsDecorated(false);
    lstRecent->setUniformRowHeights(true);
    lstRecent->setAllColumnsShowFocus(true);
    lstRecent->setToolTip(QStringLiteral("Click an estimate to open it"));
    lstRecent->header()->setStretchLastSection(false);
    lstRecent->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstRecent->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    lstRecent->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lstRecent->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    lstRecent->setMinimumHeight(lstRecent->fontMetrics().height() * (RecentCount + 3));
    lblRecent->setBuddy(lstRecent);
    lblExpiring = named(new QLabel, "lblExpiring");
    lblExpiring->setWordWrap(true);
    auto open = [this](QTreeWidgetItem* item) {
        const std::int32_t id = item ? item->data(0, Qt::UserRole).toInt() : 0;
        if (id > 0)
            Q_EMIT openRequested(id);
    };
    connect(lstRecent, &QTreeWidget::itemClicked, this, open);
    connect(lstRecent, &QTreeWidget::itemActivated, this, open);

    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addSpacing(24);
    column->addWidget(lblRecent);
    column->addWidget(lstRecent);
    column->addWidget(lblExpiring);
    auto* h = new QHBoxLayout;
    h->addStretch(1);
    h->addLayout(column, 3);
    h->addStretch(1);
    v->addLayout(h);
    v->addStretch(2);
}

void StartPage::setIdle(bool idle) {
    for (QPushButton* b : buttons)
        b->setEnabled(idle);
    lstRecent->setEnabled(idle);
    if (idle)
        refresh();
}

void StartPage::refresh() {
    lstRecent->clear();
    lblExpiring->clear();
    if (ctx_.MastEstConn.isEmpty())
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("refresh"), Guard::form("StartPage"), [this] {
        for (const EstList::Row& r : EstList::recent(ctx_, RecentCount)) {
            auto* item =
                new QTreeWidgetItem(lstRecent, {r.name, r.owner, r.status,
                                                r.total ? r.total->toCurrency() : QString()});
            item->setData(0, Qt::UserRole, r.id);
            item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
            for (int c = 0; c < 4; ++c)
                item->setToolTip(c, item->text(c));
        }
        if (lstRecent->topLevelItemCount() == 0) {
            auto* none = new QTreeWidgetItem(
                lstRecent, {QStringLiteral("No estimate has been opened or saved yet.")});
            none->setFlags(Qt::NoItemFlags);
            none->setFirstColumnSpanned(true);
        }
        const int n = EstList::expiringWithin(ctx_, QDate::currentDate(), ExpiringDays);
        lblExpiring->setText(
            n == 0 ? QStringLiteral("No pending estimate expires within %1 days.").arg(ExpiringDays)
            : n == 1
                ? QStringLiteral("1 pending estimate expires within %1 days.").arg(ExpiringDays)
                : QStringLiteral("%1 pending estimates expire within %2 days.")
                      .arg(n)
                      .arg(ExpiringDays));
    });
}

void StartPage::addNotice(QWidget* notice) {
    if (auto* v = qobject_cast<QVBoxLayout*>(layout()))
        v->insertWidget(0, notice);
}

#include "app/StartPage.h"

#include "common/forms/Widgets.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::named;

StartPage::StartPage(const std::array<QAction*, 4>& actions, QWidget* parent) : QWidget(parent) {
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
    auto* h = new QHBoxLayout;
    h->addStretch();
    h->addLayout(grid);
    h->addStretch();
    v->addLayout(h);
    v->addStretch(2);
}

void StartPage::setIdle(bool idle) {
    for (QPushButton* b : buttons)
        b->setEnabled(idle);
}

void StartPage::addNotice(QWidget* notice) {
    if (auto* v = qobject_cast<QVBoxLayout*>(layout()))
        v->insertWidget(0, notice);
}

#include "takeoff/forms/frmAreas.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "takeoff/RoofMath.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

frmAreas::frmAreas(AppContext& ctx, std::int32_t editID, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAreas"));
    setWindowTitle(QStringLiteral("Areas"));
    cmbShape = named(new QComboBox, "cmbShape");
    cmbShape->addItem(QString(), -1);
    cmbShape->addItem(QStringLiteral("Sq/Rect"), 0);
    cmbShape->addItem(QStringLiteral("Tri"), 1);
    cmbShape->addItem(QStringLiteral("Trap"), 2);
    InputHelpers::focusColour(cmbShape);
    for (int i = 0; i < 4; ++i) {
        txtAreas[i] = named(new QLineEdit, indexed("txtAreas", i));
        txtAreas[i]->setMaxLength(10);
        txtAreas[i]->setAlignment(Qt::AlignRight);
        InputHelpers::focusColour(txtAreas[i]);
    }
    txtAreas[0]->setReadOnly(true);
    txtAreas[0]->setFocusPolicy(Qt::NoFocus);
    lblTrap = named(new QLabel(QStringLiteral("Top:")), "lblTrap");
    lblTrapBottom = new QLabel(QStringLiteral("Bottom:"));
    auto* widthLabel = new QLabel(QStringLiteral("Width"));
    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("Area #:")), 0, 0);
    g->addWidget(txtAreas[0], 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Shape")), 1, 0);
    g->addWidget(cmbShape, 1, 1);
    g->addWidget(widthLabel, 2, 0);
    g->addWidget(lblTrap, 2, 2);
    g->addWidget(txtAreas[1], 2, 1);
    g->addWidget(lblTrapBottom, 3, 2);
    g->addWidget(txtAreas[2], 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Height:")), 4, 0);
    g->addWidget(txtAreas[3], 4, 1);
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* v = new QVBoxLayout(this);
    v->addLayout(g);
    v->addLayout(Widgets::buttonRow({cmdOkay, cmdCancel}));
    connect(cmbShape, &QComboBox::currentIndexChanged, this, &frmAreas::cmbShape_Click);
    connect(cmdOkay, &QPushButton::clicked, this, &frmAreas::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    for (int i = 1; i < 4; ++i)
        txtAreas[i]->hide();
    lblTrap->hide();
    lblTrapBottom->hide();
    if (editID > 0) {
        Guard::run(*ctx_.prompt, QStringLiteral("Form_Load"), Guard::form("frmAreas"), [&] {
            if (const auto a = Takeoff::area(ctx_, editID)) {
                cmbShape->setCurrentIndex(cmbShape->findData(a->shape));
                txtAreas[1]->setText(QString::number(a->width1));
                txtAreas[2]->setText(QString::number(a->width2));
                txtAreas[3]->setText(QString::number(a->height));
            }
        });
        txtAreas[0]->setText(QString::number(editID));
    }
    cmbShape->setFocus();
}

void frmAreas::cmbShape_Click() {
    const int shape = cmbShape->currentData().toInt();
    const bool trap = shape == RoofMath::Trap;
    txtAreas[2]->setVisible(trap);
    lblTrap->setVisible(trap);
    lblTrapBottom->setVisible(trap);
    txtAreas[1]->setVisible(shape >= 0);
    txtAreas[3]->setVisible(shape >= 0);
}

std::optional<std::int32_t> frmAreas::measurement(int i) {
    const std::optional<double> v = Numbers::parse(txtAreas[i]->text());
    QString message;
    if (!v)
        message = QString::fromLatin1(InputHelpers::NotANumber);
    else if (*v <= 0 || *v > RoofMath::MaxMeasure)
        message = QStringLiteral("A measurement must be more than 0 and at most %1.")
                      .arg(QLocale().toString(RoofMath::MaxMeasure, 'f', 0));
    if (message.isEmpty() && Numbers::toLong(*v) == 0)
        message = QStringLiteral("A measurement must be more than 0 and at most %1.")
                      .arg(QLocale().toString(RoofMath::MaxMeasure, 'f', 0));
    if (!message.isEmpty()) {
        ctx_.prompt->message(message);
        txtAreas[i]->setFocus();
        txtAreas[i]->selectAll();
        return std::nullopt;
    }
    return Numbers::toLong(*v);
}

void frmAreas::cmdOkay_Click() {
    const int shape = cmbShape->currentData().toInt();
    if (shape < 0) {
        ctx_.prompt->message(QStringLiteral("Please select a shape."));
        cmbShape->setFocus();
        return;
    }
    Result r;
    r.shape = shape;
    const auto w1 = measurement(1);
    if (!w1)
        return;
    r.width1 = *w1;
    if (shape == RoofMath::Trap) {
        const auto w2 = measurement(2);
        if (!w2)
            return;
        r.width2 = *w2;
    }
    const auto h = measurement(3);
    if (!h)
        return;
    r.height = *h;
    r.total = RoofMath::areaTotal(r.shape, r.width1, r.width2, r.height);
    result_ = r;
    accept();
}

#include "catalogue/forms/RuleBox.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "takeoff/RoofMath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using TakeoffRule::Measure;
using Widgets::named;

namespace {
const QList<int> kKinds = [] {
    QList<int> k;
    for (int t = RoofMath::FirstLinealType; t <= RoofMath::LastLinealType; ++t)
        if (t != RoofMath::Percent)
            k << t;
    return k;
}();
} // namespace

RuleBox::RuleBox(AppContext& ctx, QWidget* parent)
    : QGroupBox(QStringLiteral("Take-off rule"), parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frRule"));
    cboRuleMeasure = named(new QComboBox, "cboRuleMeasure");
    for (Measure m : {Measure::None, Measure::SquaresToOrder, Measure::RoofArea, Measure::Lineal,
                      Measure::Planes})
        cboRuleMeasure->addItem(TakeoffRule::measureName(m), int(m));
    txtRuleAmount = named(new QLineEdit, "txtRuleAmount");
    InputHelpers::numberBox(txtRuleAmount, ctx);
    cboRuleWay = named(new QComboBox, "cboRuleWay");
    cboRuleWay->addItem(QStringLiteral("units per measure unit (3 bundles per square)"), 1);
    cboRuleWay->addItem(QStringLiteral("measure units per unit (33 lf per bundle)"), 0);
    auto* g = new QGridLayout(this);
    g->addWidget(new QLabel(QStringLiteral("Follows:")), 0, 0);
    g->addWidget(cboRuleMeasure, 0, 1, 1, 3);
    auto* kinds = new QGridLayout;
    for (int i = 0; i < kKinds.size(); ++i) {
        auto* box = new QCheckBox(RoofMath::linealName(kKinds[i]));
        box->setObjectName(QStringLiteral("chkRuleKinds%1").arg(i));
        chkRuleKinds << box;
        kinds->addWidget(box, i / 4, i % 4);
    }
    g->addLayout(kinds, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Coverage:")), 2, 0);
    g->addWidget(txtRuleAmount, 2, 1);
    g->addWidget(cboRuleWay, 2, 2, 1, 2);
    connect(cboRuleMeasure, &QComboBox::currentIndexChanged, this, &RuleBox::follow);
    follow();
}

void RuleBox::follow() {
    const auto m = Measure(cboRuleMeasure->currentData().toInt());
    for (QCheckBox* box : chkRuleKinds)
        box->setEnabled(m == Measure::Lineal);
    txtRuleAmount->setEnabled(m != Measure::None);
    cboRuleWay->setEnabled(m != Measure::None);
}

void RuleBox::setRule(const std::optional<TakeoffRule::Rule>& r) {
    const TakeoffRule::Rule rule = r.value_or(TakeoffRule::Rule{});
    cboRuleMeasure->setCurrentIndex(std::max(0, cboRuleMeasure->findData(int(rule.measure))));
    for (int i = 0; i < kKinds.size(); ++i)
        chkRuleKinds[i]->setChecked(rule.kinds & (1 << kKinds[i]));
    txtRuleAmount->setText(rule.amount > 0 ? Quantity::fromRaw(rule.amount).toText() : QString());
    cboRuleWay->setCurrentIndex(rule.perMeasure ? 0 : 1);
    follow();
}

std::optional<TakeoffRule::Rule> RuleBox::rule() {
    TakeoffRule::Rule r;
    r.measure = Measure(cboRuleMeasure->currentData().toInt());
    if (r.measure == Measure::None)
        return r;
    for (int i = 0; i < kKinds.size(); ++i)
        if (chkRuleKinds[i]->isChecked())
            r.kinds |= 1 << kKinds[i];
    if (r.measure == Measure::Lineal && r.kinds == 0) {
        ctx_.prompt->message(QStringLiteral("Please tick the lineal runs this item follows."));
        chkRuleKinds.first()->setFocus();
        return std::nullopt;
    }
    if (r.measure != Measure::Lineal)
        r.kinds = 0;
    const std::optional<Quantity> amount = Quantity::parse(txtRuleAmount->text());
    if (!amount || amount->raw() <= 0 || amount->raw() > Quantity::whole(100000).raw()) {
        ctx_.prompt->message(QStringLiteral("The coverage must be a number more than 0 and at "
                                            "most 100,000 (3 for 3 bundles per square)."));
        txtRuleAmount->setFocus();
        txtRuleAmount->selectAll();
        return std::nullopt;
    }
    r.amount = amount->raw();
    r.perMeasure = cboRuleWay->currentData().toInt() == 1;
    return r;
}

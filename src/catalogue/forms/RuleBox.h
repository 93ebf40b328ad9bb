#pragma once

#include "takeoff/TakeoffRule.h"

#include <QGroupBox>
#include <QList>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
struct AppContext;

// "Take-off rule" of a cost item or unit item: the measure of the roof its quantity follows
// (none, squares to order, roof area, lineal runs, roof planes), the lineal kinds summed, and the
// coverage that turns the measure into purchase units.
class RuleBox : public QGroupBox {
    Q_OBJECT
public:
    explicit RuleBox(AppContext& ctx, QWidget* parent = nullptr);

    // Shows `rule` (nothing: no rule).
    void setRule(const std::optional<TakeoffRule::Rule>& rule);
    // The rule as the boxes hold it; nothing (with the message shown and the focus on the box at
    // fault) when it is incomplete. A measure of None is a rule that removes any other.
    std::optional<TakeoffRule::Rule> rule();

    QComboBox* cboRuleMeasure;
    QList<QCheckBox*> chkRuleKinds; // one per lineal type but "%", in type order
    QLineEdit* txtRuleAmount;
    QComboBox* cboRuleWay;

private:
    void follow();

    AppContext& ctx_;
};

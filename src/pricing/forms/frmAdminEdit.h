#pragma once

#include "pricing/Admin.h"
#include "pricing/Totals.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;
class QRadioButton;
struct AppContext;

// "Admin Amounts - <frame>": one administrative amount as a percentage or a fixed sum. It offers
// administrative amount `index` of `totals` and hands back the one entered; an amount that
// would make the estimate's totals too large to figure is refused.
class frmAdminEdit : public QDialog {
    Q_OBJECT
public:
    frmAdminEdit(AppContext& ctx, const QString& frame, int index,
                 const Totals::EstimateTotals& totals, QWidget* parent = nullptr);

    QLineEdit* Text1;
    QRadioButton* Option1; // "%"
    QRadioButton* Option2; // "$"
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();

    // The amount entered with Okay (the percentage or the amount, as a plain decimal); nothing
    // when the dialog was cancelled.
    const std::optional<Admin::Amount>& entered() const { return entered_; }

private:
    void refuse(const QString& message);

    AppContext& ctx_;
    int index_;
    Totals::EstimateTotals totals_;
    std::optional<Admin::Amount> entered_;
};

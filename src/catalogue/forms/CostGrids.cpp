#include "catalogue/forms/CostGrids.h"

#include "catalogue/CostItems.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <cmath>

namespace CostGrids {

QList<int> Widths(bool material) {
    if (material)
        return {500, 1200, 1900, 1250, 750, 750, 2900, 1000};
    return {500, 1000, 1900, 500, 4400, 1000};
}

void StretchColumn(QTableView* grid, int column) {
    QHeaderView* h = grid->horizontalHeader();
    h->setStretchLastSection(false);
    for (int i = 0; i < h->count(); ++i)
        h->setSectionResizeMode(i, i == column ? QHeaderView::Stretch : QHeaderView::Interactive);
}

void ShowItems(QTableView* grid, AppContext& ctx, const QString& costType,
               const QString& category) {
    const bool material = costType == QLatin1String("Material");
    CostItems::ShowList(ctx, GridBinding::model(grid, ctx), costType, category);
    GridBinding::setWidths(grid, Widths(material));
    StretchColumn(grid, material ? 6 : 4);
}

void ShowUnits(QTableView* grid, AppContext& ctx) {
    CostItems::ShowUnitList(ctx, GridBinding::model(grid, ctx));
    GridBinding::setWidths(grid, Widths(false));
    StretchColumn(grid, 4);
}

void FillCategories(QComboBox* box, const QStringList& categories) {
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(categories);
    if (categories.isEmpty() || categories.first() != QLatin1String("All"))
        box->insertItem(0, QStringLiteral("All"));
    box->setCurrentIndex(0);
}

bool RequireNumber(QLineEdit* box, AppContext& ctx) {
    if (!InputHelpers::requireNumber(box, ctx))
        return false;
    if (std::abs(Numbers::value(box->text())) <= 1e9)
        return true;
    ctx.prompt->message(QLatin1String(TooLarge));
    box->setText(QStringLiteral("0"));
    box->setFocus();
    return false;
}

std::int32_t CurrentID(QTableView* grid) {
    const int row = GridBinding::currentRow(grid);
    if (row < 0)
        return 0;
    return std::int32_t(GridBinding::cell(grid, row, 0).toLongLong());
}

namespace {

QString textOf(QWidget* box) {
    if (auto* c = qobject_cast<QComboBox*>(box))
        return c->currentText();
    if (auto* l = qobject_cast<QLineEdit*>(box))
        return l->text();
    return {};
}

void clear(QWidget* box) {
    if (auto* c = qobject_cast<QComboBox*>(box))
        c->setEditText(QString());
    else if (auto* l = qobject_cast<QLineEdit*>(box))
        l->clear();
}

class LimitFilter : public QObject {
public:
    LimitFilter(QWidget* box, AppContext& ctx, int limit, QString message)
        : QObject(box), box_(box), ctx_(ctx), limit_(limit), message_(std::move(message)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusOut && !busy_ &&
            static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason &&
            static_cast<QFocusEvent*>(e)->reason() != Qt::ActiveWindowFocusReason &&
            box_->isVisible() && textOf(box_).size() > limit_) {
            busy_ = true;
            ctx_.prompt->message(message_);
            clear(box_);
            QPointer<QWidget> guard(box_);
            QTimer::singleShot(0, box_, [guard] {
                if (guard)
                    guard->setFocus();
            });
            busy_ = false;
        }
        return QObject::eventFilter(o, e);
    }

private:
    QWidget* box_;
    AppContext& ctx_;
    int limit_;
    QString message_;
    bool busy_ = false;
};

} // namespace

void LengthLimit(QWidget* box, AppContext& ctx, int limit, const QString& message) {
    box->installEventFilter(new LimitFilter(box, ctx, limit, message));
}

bool WithinLimit(QWidget* box, AppContext& ctx, int limit, const QString& message) {
    if (textOf(box).size() <= limit)
        return true;
    ctx.prompt->message(message);
    clear(box);
    box->setFocus();
    return false;
}

} // namespace CostGrids

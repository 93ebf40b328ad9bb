#include "common/forms/SearchBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace SearchBox {
namespace {

class Keys : public QObject {
public:
    Keys(QLineEdit* box, QAbstractItemView* view) : QObject(box), view_(view) {}
    void setView(QAbstractItemView* view) { view_ = view; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !view_ || !view_->model())
            return QObject::eventFilter(o, e);
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Down && key != Qt::Key_Return && key != Qt::Key_Enter)
            return QObject::eventFilter(o, e);
        QModelIndex current = view_->currentIndex();
        const bool hadRow = current.isValid() && view_->selectionModel() &&
                            view_->selectionModel()->isRowSelected(current.row(), QModelIndex());
        if (!hadRow && view_->model()->rowCount() > 0) {
            current = view_->model()->index(0, 0);
            view_->setCurrentIndex(current);
        }
        view_->setFocus(Qt::ShortcutFocusReason);
        if (key != Qt::Key_Down && hadRow)
            Q_EMIT view_->activated(current);
        return true;
    }

private:
    QPointer<QAbstractItemView> view_;
};

} // namespace

QLineEdit* make(const char* name, const QString& hint) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setPlaceholderText(hint);
    box->setClearButtonEnabled(true);
    box->setToolTip(hint + QStringLiteral(": every word typed must match; case and accents do "
                                          "not matter."));
    return box;
}

void attach(QLineEdit* box, QAbstractItemView* view) {
    if (auto* keys =
            box->findChild<Keys*>(QStringLiteral("SearchBoxKeys"), Qt::FindDirectChildrenOnly)) {
        keys->setView(view);
        return;
    }
    box->installEventFilter(new Keys(box, view));
}

} // namespace SearchBox

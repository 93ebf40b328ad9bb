#include "common/forms/UndoableText.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>
#include <QUndoStack>

// One step of typing in one box; later typing in the same box joins it.
class TextStep : public QUndoCommand {
public:
    TextStep(UndoableText* owner, const QString& before, const QString& after)
        : QUndoCommand(QStringLiteral("Edit ") + owner->what_), owner_(owner), before_(before),
          after_(after) {}

    // Every box is a kind of its own, so steps only join steps of the same box.
    int id() const override { return 0x7e47; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = static_cast<const TextStep*>(other);
        if (o->owner_ != owner_)
            return false;
        after_ = o->after_;
        setObsolete(after_ == before_);
        return true;
    }
    void redo() override {
        if (first_) {
            first_ = false;
            return;
        }
        if (owner_)
            owner_->show(after_);
    }
    void undo() override {
        if (owner_)
            owner_->show(before_);
    }

private:
    QPointer<UndoableText> owner_;
    QString before_;
    QString after_;
    bool first_ = true;
};

UndoableText::UndoableText(QWidget* box, const QString& what, StackOf stack)
    : QObject(box), box_(box), what_(what), stack_(std::move(stack)) {
    box->installEventFilter(this);
}

UndoableText* UndoableText::attach(QLineEdit* box, const QString& what, StackOf stack) {
    auto* u = new UndoableText(box, what, std::move(stack));
    u->last_ = box->text();
    // A line edit tells the user's edits (textEdited) from the program's (textChanged alone);
    // textChanged comes first, so it keeps the text from before the edit.
    connect(box, &QLineEdit::textChanged, u, [u](const QString& now) {
        u->beforeEdit_ = u->last_;
        u->last_ = now;
    });
    connect(box, &QLineEdit::textEdited, u, [u](const QString& now) { u->changed(now, true); });
    return u;
}

UndoableText* UndoableText::attach(QTextEdit* box, const QString& what, StackOf stack,
                                   std::function<bool()> quiet) {
    auto* u = new UndoableText(box, what, std::move(stack));
    u->quiet_ = std::move(quiet);
    u->last_ = box->toPlainText();
    connect(box, &QTextEdit::textChanged, u, [u, box] {
        const QString now = box->toPlainText();
        if (now == u->last_)
            return;
        u->beforeEdit_ = u->last_;
        u->last_ = now;
        u->changed(now, !(u->quiet_ && u->quiet_()));
    });
    return u;
}

QString UndoableText::text() const {
    if (auto* le = qobject_cast<QLineEdit*>(box_))
        return le->text();
    if (auto* te = qobject_cast<QTextEdit*>(box_))
        return te->toPlainText();
    return {};
}

void UndoableText::changed(const QString& now, bool byUser) {
    if (applying_ || !byUser)
        return;
    if (QUndoStack* stack = stack_ ? stack_() : nullptr)
        stack->push(new TextStep(this, beforeEdit_, now));
}

void UndoableText::setText(const QString& text) {
    const QString before = this->text();
    if (before == text)
        return;
    show(text);
    if (QUndoStack* stack = stack_ ? stack_() : nullptr)
        stack->push(new TextStep(this, before, text));
}

void UndoableText::show(const QString& text) {
    applying_ = true;
    if (auto* le = qobject_cast<QLineEdit*>(box_))
        le->setText(text);
    else if (auto* te = qobject_cast<QTextEdit*>(box_))
        te->setPlainText(text);
    last_ = text;
    applying_ = false;
}

bool UndoableText::eventFilter(QObject* watched, QEvent* event) {
    // Left unclaimed, the keys reach the window's Undo and Redo.
    if (watched == box_ && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z)) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

#include "common/forms/InputHelpers.h"

#include "common/AppContext.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/Text.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>
#include <cmath>

namespace InputHelpers {
namespace {

const QColor FocusColour(0xFF, 0xFF, 0xC0);

// The box's background and text: the focus colours while it has the focus, otherwise those of
// the user's palette (a dark palette keeps its dark boxes). The focus colour is light whatever
// the palette, so its text is always dark.
void paint(QWidget* w, bool focused) {
    QPalette p = w->palette();
    const QPalette plain = QApplication::palette(w);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool lit = focused && group != QPalette::Disabled;
        p.setColor(group, QPalette::Base, lit ? FocusColour : plain.color(group, QPalette::Base));
        p.setColor(group, QPalette::Text,
                   lit ? QColor(Qt::black) : plain.color(group, QPalette::Text));
    }
    w->setPalette(p);
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
        combo->lineEdit()->setPalette(p);
}

void selectAll(QWidget* w) {
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        // Selecting inside the focus event is undone by the mouse press that gave the focus.
        QPointer<QLineEdit> guard(le);
        QTimer::singleShot(0, le, [guard] {
            if (guard && guard->hasFocus())
                guard->selectAll();
        });
        le->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    } else if (auto* te = qobject_cast<QTextEdit*>(w)) {
        te->selectAll();
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        pe->selectAll();
    }
}

class FocusFilter : public QObject {
public:
    explicit FocusFilter(QWidget* box) : QObject(box), box_(box) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) {
            paint(box_, true);
            selectAll(box_);
        } else if (e->type() == QEvent::FocusOut) {
            // Opening a drop-down list keeps the box active.
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            if (reason != Qt::PopupFocusReason)
                paint(box_, false);
        }
        return QObject::eventFilter(o, e);
    }

private:
    QWidget* box_;
};

class NumberFilter : public QObject {
public:
    NumberFilter(QLineEdit* box, AppContext& ctx) : QObject(box), box_(box), ctx_(ctx) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        // A box being destroyed loses the focus too, but it is no longer a line edit then and
        // there is nothing left to check.
        if (e->type() == QEvent::FocusOut && !busy_ && qobject_cast<QLineEdit*>(o) == box_) {
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            // Switching to another window or opening a menu is not leaving the box.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                box_->isEnabled() && !box_->isReadOnly() && box_->isVisible() &&
                !Numbers::isNumber(box_->text())) {
                busy_ = true;
                requireNumber(box_, ctx_);
                busy_ = false;
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    QLineEdit* box_;
    AppContext& ctx_;
    bool busy_ = false;
};

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
            box_->isVisible() && Text::characters(textOf(box_)) > limit_) {
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

void plainColours(QWidget* box) {
    paint(box, false);
}

void focusColour(QWidget* box) {
    box->setAutoFillBackground(true);
    paint(box, false);
    auto* f = new FocusFilter(box);
    box->installEventFilter(f);
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(f);
}

void numberBox(QLineEdit* box, AppContext& ctx) {
    focusColour(box);
    box->installEventFilter(new NumberFilter(box, ctx));
}

bool requireNumber(QLineEdit* box, AppContext& ctx) {
    if (Numbers::isNumber(box->text()))
        return true;
    ctx.prompt->message(QString::fromLatin1(NotANumber));
    box->setText(QStringLiteral("0"));
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    return false;
}

bool requireBoundedNumber(QLineEdit* box, AppContext& ctx) {
    if (!requireNumber(box, ctx))
        return false;
    if (std::abs(Numbers::value(box->text())) <= 1e9)
        return true;
    ctx.prompt->message(QLatin1String(TooLarge));
    box->setText(QStringLiteral("0"));
    box->setFocus();
    return false;
}

namespace {
// Cuts what the box would hold to the limit in characters; the line edit takes the cut text.
class CharacterValidator : public QValidator {
public:
    CharacterValidator(QObject* parent, int limit) : QValidator(parent), limit_(limit) {}
    State validate(QString& input, int& pos) const override {
        if (Text::characters(input) > limit_) {
            input = Text::cutToCharacters(input, limit_);
            pos = std::min(pos, int(input.size()));
        }
        return Acceptable;
    }

private:
    int limit_;
};
} // namespace

void characterLimit(QLineEdit* box, int limit) {
    // The box's own limit counts UTF-16 units and would cut an emoji in two; twice the limit
    // bounds it without ever reaching that, and the validator cuts by characters.
    box->setMaxLength(2 * limit);
    box->setValidator(new CharacterValidator(box, limit));
}

void lengthLimit(QWidget* box, AppContext& ctx, int limit, const QString& message) {
    box->installEventFilter(new LimitFilter(box, ctx, limit, message));
}

bool withinLimit(QWidget* box, AppContext& ctx, int limit, const QString& message) {
    if (Text::characters(textOf(box)) <= limit)
        return true;
    ctx.prompt->message(message);
    clear(box);
    box->setFocus();
    return false;
}

int twips(int tw) {
    // 96 logical pixels to the inch on an ordinary screen.
    double dpi = 96.0;
    if (auto* s = QGuiApplication::primaryScreen())
        dpi = s->logicalDotsPerInch();
    return int(tw * dpi / 1440.0 + 0.5);
}

} // namespace InputHelpers

void InputHelpers::readOnlyLook(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    box->setPalette(p);
}

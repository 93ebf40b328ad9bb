#include "app/GeometryKeeper.h"

#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
const QString Group = QStringLiteral("Geometry/");
} // namespace

GeometryKeeper::GeometryKeeper(const QString& stateFile, QObject* parent)
    : QObject(parent), store_(stateFile, QSettings::IniFormat) {
    QDir().mkpath(QFileInfo(stateFile).absolutePath());
}

QString GeometryKeeper::defaultStateFile() {
    QString root = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is to be ignored, as the XDG base directories rule.
    if (root.isEmpty() || QDir::isRelativePath(root))
        root = QDir::homePath() + QStringLiteral("/.local/state");
    return root + QStringLiteral("/Corvanel/windows.ini");
}

bool GeometryKeeper::keeps(const QWidget* w) {
    if (!w || !w->isWindow() || w->objectName().isEmpty())
        return false;
    if (!qobject_cast<const QDialog*>(w) && !qobject_cast<const QMainWindow*>(w))
        return false;
    // Qt's own dialogs (message boxes, file and printer dialogs) size themselves.
    return w->metaObject()->className()[0] != 'Q';
}

QByteArray GeometryKeeper::stored(const QString& name) const {
    return store_.value(Group + name).toByteArray();
}

bool GeometryKeeper::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    // Spontaneous show and hide events come from minimising and restoring, not from opening
    // and closing.
    if ((t == QEvent::Show || t == QEvent::Hide) && !event->spontaneous() &&
        watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (keeps(w)) {
            if (t == QEvent::Show)
                restore(w);
            else
                save(w);
        }
    }
    return QObject::eventFilter(watched, event);
}

void GeometryKeeper::restore(QWidget* w) {
    const QByteArray g = stored(w->objectName());
    const bool restored = !g.isEmpty() && w->restoreGeometry(g);
    if (!restored)
        fitScreen(w);
    if (w == main_)
        return;
    if (!restored) {
        centreOnMain(w);
        return;
    }
    // A dialog left on another screen, or far from where the main window now is, would open
    // out of sight.
    if (main_ && main_->isVisible() && main_->screen() &&
        !main_->screen()->availableGeometry().intersects(w->geometry()))
        centreOnMain(w);
}

void GeometryKeeper::save(QWidget* w) {
    store_.setValue(Group + w->objectName(), w->saveGeometry());
    // Written at once: a window's place is not worth losing to a crash later on.
    store_.sync();
}

void GeometryKeeper::fitScreen(QWidget* w) {
    QScreen* s = main_ && main_ != w && main_->isVisible() ? main_->screen() : w->screen();
    if (!s)
        return;
    // A window's first size is made for an ordinary screen; at 200 % on a small one it would
    // reach past the screen's edges, with its buttons out of sight.
    const QSize frame = w->frameGeometry().size() - w->size();
    const QSize room = s->availableGeometry().size() - frame;
    if (w->width() > room.width() || w->height() > room.height()) {
        w->resize(w->size().boundedTo(room).expandedTo(w->minimumSize()));
        if (w == main_ || !main_) {
            QRect r = w->frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            w->move(r.topLeft());
        }
    }
}

void GeometryKeeper::centreOnMain(QWidget* w) {
    if (!main_ || !main_->isVisible() || main_ == w)
        return;
    QRect r = w->frameGeometry();
    r.moveCenter(main_->frameGeometry().center());
    if (QScreen* s = main_->screen()) {
        const QRect avail = s->availableGeometry();
        r.moveLeft(
            std::clamp(r.left(), avail.left(), std::max(avail.left(), avail.right() - r.width())));
        r.moveTop(
            std::clamp(r.top(), avail.top(), std::max(avail.top(), avail.bottom() - r.height())));
    }
    w->move(r.topLeft());
}

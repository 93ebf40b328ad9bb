#pragma once

#include <QObject>
#include <QPointer>
#include <QSettings>

class QWidget;

// Remembers the size and place of the main window and of every dialog of the program, keyed by
// the window's objectName, in a state file of its own (never the ordered settings file): what
// a window looked like last time is not a setting. Installed once on the application, it acts
// on every window as it is shown and hidden, so no dialog needs code of its own. A dialog shown
// for the first time, or whose remembered place is on no screen the main window is on, opens
// centred on the main window; a window shown for the first time is made no larger than its
// screen.
class GeometryKeeper : public QObject {
    Q_OBJECT
public:
    explicit GeometryKeeper(const QString& stateFile, QObject* parent = nullptr);

    // $XDG_STATE_HOME/Corvanel/windows.ini ($XDG_STATE_HOME defaults to ~/.local/state).
    static QString defaultStateFile();

    // The window that dialogs open centred on.
    void setMainWindow(QWidget* w) { main_ = w; }

    // Whether the keeper looks after this window: a top-level dialog or main window of the
    // program's own with an objectName (Qt's message boxes and file dialogs size themselves).
    static bool keeps(const QWidget* w);

    // The stored geometry of the window named `name` (empty when none).
    QByteArray stored(const QString& name) const;
    QString fileName() const { return store_.fileName(); }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore(QWidget* w);
    void save(QWidget* w);
    void centreOnMain(QWidget* w);
    // Shrinks a window shown for the first time to the screen it opens on.
    void fitScreen(QWidget* w);

    QSettings store_;
    QPointer<QWidget> main_;
};

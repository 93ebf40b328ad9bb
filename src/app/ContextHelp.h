#pragma once

#include <QObject>
#include <QString>

struct AppContext;

// F1 in any window of the program opens the help page about that window. The main window's F1
// is its Help → Contents; every other window (the dialogs) is found here by its objectName.
namespace ContextHelp {

// The page and anchor about the window named `windowName` ("roof.html#areas"); the contents
// ("index.html") for a window the help does not describe on its own.
QString pageFor(const QString& windowName);
// The window names that have a page of their own.
QStringList knownWindows();

// Installed once on the application: an F1 pressed in a dialog opens the help about it.
class Filter : public QObject {
public:
    explicit Filter(AppContext& ctx, QObject* parent = nullptr) : QObject(parent), ctx_(ctx) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& ctx_;
};

} // namespace ContextHelp

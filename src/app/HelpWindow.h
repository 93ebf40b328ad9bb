#pragma once

#include <QMainWindow>
#include <QUrl>
#include <functional>

class QAction;
class QLineEdit;
class QListWidget;
class QPrinter;
class QTextBrowser;
class Prompt;

// The program's own help window: the shipped pages in a text browser with the contents, back,
// forward, a search through every page and printing. It needs no web browser; only links to
// outside pages go to the user's browser (or mail program), with a message when there is none.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    HelpWindow(Prompt& prompt, QWidget* parent = nullptr);

    // Shows `page` ("roof.html#areas") in the help window that belongs to `owner`'s window,
    // making that window when there is none yet. The window belongs to the one it was opened
    // from, so that it can be used beside a dialog that is waiting for an answer, and closes
    // with it.
    static HelpWindow* showPage(Prompt& prompt, QWidget* owner, const QString& page);

    // Goes to a page of the help ("documents.html#find"); an unknown page shows the contents.
    void open(const QString& page);
    // The page in view, as "file.html" (with "#anchor" when one was asked for).
    QString currentPage() const;

    // Searches every page for the words in the search box, lists the pages that hold them and
    // shows the first, with the words marked.
    void searchPages();
    // Marks the next place of the search words on the page in view (from the top after the
    // last); false when the page does not hold them.
    bool findInPage();
    // Prints the page in view on a printer that is already set up.
    void printPage(QPrinter& printer);

    QTextBrowser* txtHelpPage;
    QListWidget* lstHelpContents;
    QLineEdit* txtHelpSearch;
    QListWidget* lstHelpResults;
    QAction* actHelpBack;
    QAction* actHelpForward;
    QAction* actHelpHome;
    QAction* actHelpFind;
    QAction* actHelpFindNext;
    QAction* actHelpPrint;
    QAction* actHelpClose;

    // Replaceable by tests: asks the desktop to open an outside address (true when it did), and
    // shows the printer dialog (true when confirmed).
    std::function<bool(const QUrl&)> openExternal;
    std::function<bool(QPrinter&)> printDialog;

private:
    void followLink(const QUrl& url);
    void pageShown(const QUrl& url);
    void printClicked();

    Prompt& prompt_;
};

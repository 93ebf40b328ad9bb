#pragma once

#include "documents/forms/PrintPreview.h"
#include "documents/forms/frmFind.h"

#include <QObject>
#include <functional>

class OutputTab;
class QPrinter;
class QTextEdit;
struct AppContext;

// The commands of the Output tab's toolbar and font lists, acting on the document box in front.
class DocEditor : public QObject {
    Q_OBJECT
public:
    DocEditor(AppContext& ctx, OutputTab* tab);

    // Dispatches a toolbar key ("New" … "Right", "PDF" and "Email"). A failing step is skipped.
    void tbToolBar_ButtonClick(const QString& key);
    void cboFonts_Click();
    void cboSize_Click();
    void cboSize_DropDown() { PopSizeCombo(); }
    // Refills the size list with the sizes the font in the font list offers.
    void PopSizeCombo();

    // The commands themselves, on a given box.
    bool openFile(QTextEdit* box, const QString& path);
    bool saveFile(QTextEdit* box, const QString& path);
    bool savePdf(QTextEdit* box, const QString& path);
    // Writes the document as a PDF beside the estimate and opens a new message in the user's
    // mail program with it attached; says so when no mail program is set up.
    void email(QTextEdit* box);
    // What the document in front is called in a file name and a message ("Proposal").
    QString documentTitle() const;
    void copy(QTextEdit* box);
    void cut(QTextEdit* box);
    void paste(QTextEdit* box);
    void find(QTextEdit* box);
    void align(QTextEdit* box, Qt::Alignment a);
    void print(QTextEdit* box);

    enum class Attr { Bold, Italic, Underline };
    // Toggles the attribute of the selection; a selection that is partly on is left alone.
    // Returns whether the attribute is now on (what the button shows).
    bool toggle(QTextEdit* box, Attr attr);
    // Whether the whole selection (or the cursor's format) has the attribute.
    static bool isOn(QTextEdit* box, Attr attr);

    // The filters of the open and save dialogs and the one preselected.
    static QString fileFilter();
    static QString rtfFilter();

    // The search text and option bits (2 whole words, 4 match case) kept between searches.
    QString FindText;
    int FindOptions = 0;

    // Dialogs, replaceable by tests. An empty name means cancelled.
    std::function<QString()> openFileName;
    std::function<QString()> saveFileName;
    // Offered the proposed file ("<estimate> – Proposal.pdf" in the estimate's folder).
    std::function<QString(const QString& proposed)> pdfFileName;
    // The print preview, from which the user prints.
    PrintPreview::Run preview;
    // Runs xdg-email with these arguments and calls `done` with its exit code (-1 when it
    // could not be started). Tests replace it.
    std::function<void(const QStringList& args, std::function<void(int)> done)> mailer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateButtons();
    void reportWriteFailure(const QString& path);

    AppContext& ctx_;
    OutputTab* tab_;
    // The size list, kept apart from the tab: its events still arrive while the tab is being
    // destroyed and is no longer an OutputTab.
    QObject* sizeBox_ = nullptr;
};

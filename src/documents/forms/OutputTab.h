#pragma once

#include "takeoff/Takeoff.h"

#include <QWidget>
#include <array>
#include <functional>

class QToolBar;
class QAction;
class QComboBox;
class QTabWidget;
class QTextEdit;
class QPushButton;
class DocEditor;
struct AppContext;

// Tab 4 of the main window: the four generated documents in a small word processor.
class OutputTab : public QWidget {
    Q_OBJECT
public:
    explicit OutputTab(AppContext& ctx, QWidget* parent = nullptr);

    QToolBar* tbToolBar;
    QComboBox* cboFonts;
    QComboBox* cboSize;
    QTabWidget* SSTab2;
    std::array<QTextEdit*, 4> rtfText{};
    // cmdPrint(1) to cmdPrint(4); index 0 of this array is cmdPrint(1).
    std::array<QPushButton*, 4> cmdPrint{};

    // The commands of the toolbar and the font lists.
    DocEditor* editor = nullptr;

    // The toolbar button with the given key ("New", "Open", "Save", "Print", "Copy", "Cut",
    // "Paste", "Find", "Bold", "Italic", "Underline", "Left", "Center", "Right", "PDF" and
    // "Email").
    QAction* button(const QString& key) const;
    static QStringList keys();

    // The document box in front.
    QTextEdit* activeBox() const;

    // Fills the font list with the system's font families.
    void popFonts();

    // "Create document set" sits on the totals tab; it makes all four documents.
    void setCreateSetButton(QPushButton* button) { createSet_ = button; }
    // The five document buttons: the set (0) and one per document box (1 to 4).
    std::array<QPushButton*, 5> documentButtons() const;
    // Makes the documents of button `index` (0 all four, 1 to 4 one box) from the stored
    // estimate and keeps them in the estimate's folder; each button then stays disabled until
    // the estimate is closed. A document the user edited is replaced only when they agree.
    void createDocuments(int index, const Takeoff::RoofTotals& roof);
    // Empties the four document boxes.
    void clearDocuments();
    // The documents kept in the estimate's folder, back in their boxes (opening an estimate).
    void loadDocuments();
    // Stores the documents edited since they were made, loaded or last stored (saving the
    // estimate). False after telling the user which file could not be written.
    bool saveDocuments();
    // Whether the user changed the document of box 0 to 3 after the program made it.
    bool isEdited(int box) const { return box >= 0 && box < 4 && edited_[box]; }
    // Whether a document was edited since it was last stored: the estimate has something to save.
    bool hasUnsavedDocuments() const;
    // Figure mode shows only the roof document; report mode only the first box, untitled, with
    // no document buttons; leaving either shows every document again.
    void showFigureMode();
    void showReportMode();
    void showAllDocuments();

Q_SIGNALS:
    void buttonClicked(const QString& key);
    // The user edited a document: the estimate has something to save.
    void changed();

protected:
    AppContext& ctx_;
    QPushButton* createSet_ = nullptr;

private:
    // Puts the program's own content into a box: not an edit of the user's.
    void fill(const std::function<void()>& change);
    // Asks before a document the user edited is made again; true to replace it.
    bool mayReplace(int box);
    void storeMade(int box);

    bool filling_ = false;
    // Changed by the user since the program made it (kept with the document), and changed
    // since it was last stored.
    std::array<bool, 4> edited_{};
    std::array<bool, 4> unsaved_{};
};

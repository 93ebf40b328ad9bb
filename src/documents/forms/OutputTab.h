#pragma once

#include "takeoff/Takeoff.h"

#include <QWidget>
#include <array>

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
    // "Paste", "Find", "Bold", "Italic", "Underline", "Left", "Center", "Right", and "PDF").
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
    // estimate; each button then stays disabled until the estimate is closed.
    void createDocuments(int index, const Takeoff::RoofTotals& roof);
    // Empties the four document boxes.
    void clearDocuments();
    // Figure mode shows only the roof document; report mode only the first box, untitled, with
    // no document buttons; leaving either shows every document again.
    void showFigureMode();
    void showReportMode();
    void showAllDocuments();

Q_SIGNALS:
    void buttonClicked(const QString& key);

protected:
    AppContext& ctx_;
    QPushButton* createSet_ = nullptr;
};

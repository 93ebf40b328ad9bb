#pragma once

#include <QDialog>

class QLineEdit;
class QCheckBox;
class QPushButton;

// The search dialog of the document editor.
class frmFind : public QDialog {
    Q_OBJECT
public:
    struct Result {
        bool Cancelled = true; // also when closed by the close box
        QString Text;
        bool WholeWords = false;
        bool MatchCase = false;
    };

    explicit frmFind(const Result& last, QWidget* parent = nullptr);
    Result result() const { return result_; }

    QLineEdit* txtFind;
    QCheckBox* chkWholeWords;
    QCheckBox* chkMatchCase;
    QPushButton* cmdFind;
    QPushButton* cmdCancel;

private:
    void cmdFind_Click();
    Result result_;
};

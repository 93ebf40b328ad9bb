#pragma once

#include <QDialog>

struct AppContext;
class QComboBox;
class QPushButton;

// Creates a working section, offering the shared list of section names.
class frmAddSection : public QDialog {
    Q_OBJECT
public:
    explicit frmAddSection(AppContext& ctx, QWidget* parent = nullptr);

    // The name of the section created (or chosen, when the estimate already has it); empty
    // after Cancel or the close box.
    QString section() const { return section_; }

    QComboBox* cmbSection;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;

    void PopSectionNames();
    void cmdSave_Click();

private:
    AppContext& ctx_;
    QString section_;
};

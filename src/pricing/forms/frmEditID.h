#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QPushButton;

// "Enter ID# ": asks for the ID of the line to edit. OK does nothing until the box holds a
// whole number.
class frmEditID : public QDialog {
    Q_OBJECT
public:
    explicit frmEditID(std::int32_t suggested = 0, QWidget* parent = nullptr);

    QLineEdit* txtID;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    // The ID typed; 0 when cancelled.
    std::int32_t EditLineID() const { return id_; }
    void cmdOk_Click();

private:
    std::int32_t id_ = 0;
};

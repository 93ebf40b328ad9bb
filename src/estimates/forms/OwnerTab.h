#pragma once

#include <QWidget>
#include <array>

class QLineEdit;
class QComboBox;
class QPushButton;
class QLabel;
class QGroupBox;
struct AppContext;

// Tab 0 of the main window: the home owner of the estimate, its type and name.
class OwnerTab : public QWidget {
    Q_OBJECT
public:
    explicit OwnerTab(AppContext& ctx, QWidget* parent = nullptr);

    QGroupBox* frNewEst;
    std::array<QLineEdit*, 7> txtName{};
    QLineEdit* txtEstName;
    QComboBox* cmbEstType;
    QPushButton* cmdStartEst;
    QPushButton* cmdCancel;
    QPushButton* cmdImport;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label6;
    QLabel* Label24;

    // Empties the owner fields, the name and the typed type.
    void clearFields();

    static QString enterOwnerText();
    // Captions and maximum lengths of the seven owner fields (also used by the owner dialog).
    static const std::array<const char*, 7>& ownerCaptions();
    static const std::array<int, 7>& ownerLengths();

private:
    AppContext& ctx_;
};

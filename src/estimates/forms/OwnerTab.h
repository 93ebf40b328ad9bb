#pragma once

#include "estimates/modEst.h"
#include "estimates/modOpenEst.h"

#include <QWidget>
#include <array>
#include <optional>

class QLineEdit;
class QComboBox;
class QPushButton;
class QLabel;
class QGroupBox;
class QUndoStack;
class UndoableText;
struct AppContext;

// Tab 0 of the main window: the home owner of the estimate, its type and name.
class OwnerTab : public QWidget {
    Q_OBJECT
public:
    explicit OwnerTab(AppContext& ctx, QWidget* parent = nullptr);

    // The undo stack of the estimate in work: typing in the owner fields before Start goes
    // there (the tab keeps a stack of its own until it is given one).
    void setUndoStack(QUndoStack* stack) { undo_ = stack; }

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

    // Refills the estimate type list: an empty entry, then every type already used.
    void PopEstTypeCbo();
    // Locks or unlocks the owner fields (an estimate's owner is edited from Manage).
    void LockOwner(bool locked);
    // Shows the owner of an opened estimate.
    void showOwner(const modOpenEst::OwnerRecord& r);
    // Whether the sibling program's contacts can be imported (its folder is known).
    void enableImport();

    // What Start needs from the tab, checked field by field: every message is shown here, with
    // the focus put back in the field; nothing when a field is refused.
    struct StartRequest {
        modEst::OwnerFields fields;
        QString typedName; // the estimate name as typed (may be empty)
    };
    std::optional<StartRequest> checkStart();
    // Shows the name the program built (last name and type) while it is being tried; `keep`
    // false empties it again after a refusal.
    void showBuiltName(const QString& built, bool keep);

    // Start and Cancel (and the contact import) are for a new estimate before Start only.
    void enableStartButtons(bool enabled);
    // A new estimate: the fields unlocked, the first in focus, the instructions shown.
    void beginNewEstimate();

    // Contacts → owner fields, from the sibling's contacts database.
    void cmdImport_Click();

    static QString lockedOwnerText();

    static QString enterOwnerText();
    // Captions and maximum lengths of the seven owner fields (also used by the owner dialog).
    static const std::array<const char*, 7>& ownerCaptions();
    static const std::array<int, 7>& ownerLengths();

private:
    AppContext& ctx_;
    QUndoStack* undo_;
    std::array<UndoableText*, 7> nameUndo_{};
};

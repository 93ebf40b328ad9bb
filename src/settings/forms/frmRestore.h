#pragma once

#include "storage/Backup.h"

#include <QDialog>
#include <functional>

class QPushButton;
class QTreeWidget;

// Chooses the backup to restore: the backups of the data folder with their date and size,
// newest first, or a backup file from elsewhere ("Other file…"). Hands back the chosen file.
class frmRestore : public QDialog {
    Q_OBJECT
public:
    frmRestore(const QList<Backup::Info>& backups, std::function<QString()> otherFile,
               QWidget* parent = nullptr);

    // The backup file chosen; empty when cancelled.
    QString chosen() const { return chosen_; }

    QTreeWidget* lstBackups;
    QPushButton* cmdOtherFile;
    QPushButton* cmdRestore;
    QPushButton* cmdCancel;

    void cmdRestore_Click();
    void cmdOtherFile_Click();

    // "2.4 MB", "830 KB": a size as the list shows it.
    static QString sizeText(qint64 bytes);

private:
    std::function<QString()> otherFile_;
    QString chosen_;
};

#include "settings/forms/frmRestore.h"

#include "common/forms/Widgets.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using Widgets::named;

namespace {

QString kindText(const Backup::Info& b) {
    if (!b.readable)
        return QStringLiteral("Cannot be read");
    switch (b.kind) {
    case Backup::Kind::Automatic:
        return QStringLiteral("Daily");
    case Backup::Kind::BeforeRestore:
        return QStringLiteral("Before a restore");
    case Backup::Kind::Manual:
        break;
    }
    return QStringLiteral("Made by hand");
}

} // namespace

QString frmRestore::sizeText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

frmRestore::frmRestore(const QList<Backup::Info>& backups, std::function<QString()> otherFile,
                       QWidget* parent)
    : QDialog(parent), otherFile_(std::move(otherFile)) {
    setObjectName("frmRestore");
    setWindowTitle(QStringLiteral("Restore from backup"));
    lstBackups = named(new QTreeWidget, "lstBackups");
    lstBackups->setColumnCount(3);
    lstBackups->setHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Size"), QStringLiteral("Backup")});
    lstBackups->setRootIsDecorated(false);
    lstBackups->setUniformRowHeights(true);
    lstBackups->setAllColumnsShowFocus(true);
    // The list comes newest first and stays in that order.
    for (const Backup::Info& b : backups) {
        auto* item = new QTreeWidgetItem(
            {QLocale().toString(b.created, QLocale::ShortFormat), sizeText(b.size), kindText(b)});
        item->setData(0, Qt::UserRole, b.path);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(0, QFileInfo(b.path).fileName());
        lstBackups->addTopLevelItem(item);
    }
    lstBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstBackups->header()->setStretchLastSection(true);
    if (lstBackups->topLevelItemCount() > 0)
        lstBackups->setCurrentItem(lstBackups->topLevelItem(0));

    cmdOtherFile = named(new QPushButton(QStringLiteral("Other file…")), "cmdOtherFile");
    cmdRestore = named(new QPushButton(QStringLiteral("Restore")), "cmdRestore");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdRestore->setDefault(true);
    cmdRestore->setEnabled(lstBackups->currentItem() != nullptr);

    auto* intro = new QLabel(
        backups.isEmpty()
            ? QStringLiteral("There are no backups in the data folder yet. Choose \"Other "
                             "file…\" to restore one from elsewhere.")
            : QStringLiteral("Choose the backup to restore. Every estimate, the catalogue, the "
                             "templates and the settings are replaced by its copies; the data in "
                             "use now is kept as one more backup first."));
    intro->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOtherFile);
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdCancel);
    auto* v = new QVBoxLayout(this);
    v->addWidget(intro);
    v->addWidget(lstBackups);
    v->addLayout(buttons);
    resize(560, 360);

    connect(lstBackups, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { cmdRestore->setEnabled(current != nullptr); });
    connect(lstBackups, &QTreeWidget::itemActivated, this, &frmRestore::cmdRestore_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmRestore::cmdRestore_Click);
    connect(cmdOtherFile, &QPushButton::clicked, this, &frmRestore::cmdOtherFile_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmRestore::cmdRestore_Click() {
    const QTreeWidgetItem* item = lstBackups->currentItem();
    if (!item)
        return;
    chosen_ = item->data(0, Qt::UserRole).toString();
    accept();
}

void frmRestore::cmdOtherFile_Click() {
    const QString file = otherFile_ ? otherFile_() : QString();
    if (file.isEmpty())
        return;
    chosen_ = file;
    accept();
}

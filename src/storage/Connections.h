#pragma once

#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <functional>

// One open SQLite connection per database file, keyed by the file's path. A connection is
// closed (and every grid showing its tables told to let go first) before its file is deleted
// or recreated.
class Connections : public QObject {
    Q_OBJECT
public:
    explicit Connections(QObject* parent = nullptr);
    ~Connections() override;

    // The open connection to an existing database file. A missing file is not created: the
    // returned connection is then not open and lastError() says why.
    QSqlDatabase database(const QString& path);
    // Creates an empty database file (the path must be free) and returns its connection.
    QSqlDatabase create(const QString& path);
    // Opens a database read-only (another program's file).
    QSqlDatabase readOnly(const QString& path);

    // Run on every existing database file when its connection opens (not on read-only files or
    // files being created): false refuses the file, with the reason in *error. Start-up installs
    // the schema upgrade here.
    using OpenCheck = std::function<bool(QSqlDatabase db, const QString& path, QString* error)>;
    void setOpenCheck(OpenCheck check) { openCheck_ = std::move(check); }

    // Working databases: recreated on every use, synced less often than the stored ones.
    void markScratch(const QString& path) { scratch_.insert(path); }

    void close(const QString& path);
    void closeAll();
    bool isOpen(const QString& path) const;

    QString lastError() const { return lastError_; }

Q_SIGNALS:
    // Sent before a connection closes, so that models on it can detach.
    void aboutToClose(const QString& path);

private:
    QSqlDatabase openConnection(const QString& path, bool readOnly, bool existing);
    QString name(const QString& path) const;

    QString prefix_;
    QSet<QString> open_;
    QSet<QString> scratch_;
    QString lastError_;
    OpenCheck openCheck_;
};

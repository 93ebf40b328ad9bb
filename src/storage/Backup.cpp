#include "storage/Backup.h"

#include "common/AppContext.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <unistd.h>

namespace Backup {
namespace {

// Where things are inside a backup: the data folder below one prefix, the settings file below
// another, so neither can be mistaken for the other whatever the user's files are called.
const QString kManifest = QStringLiteral("manifest.json");
const QString kDataPrefix = QStringLiteral("data-folder/");
const QString kSettingsEntry = QStringLiteral("settings/settings.ini");
const QString kFormat = QStringLiteral("Corvanel backup");
constexpr qint64 kChunk = 1 << 16;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString kindName(Kind k) {
    switch (k) {
    case Kind::Automatic:
        return QStringLiteral("automatic");
    case Kind::BeforeRestore:
        return QStringLiteral("before restore");
    case Kind::Manual:
        break;
    }
    return QStringLiteral("manual");
}

Kind kindFrom(const QString& name) {
    if (name == QLatin1String("automatic"))
        return Kind::Automatic;
    if (name == QLatin1String("before restore"))
        return Kind::BeforeRestore;
    return Kind::Manual;
}

QString autoName(const QDate& d) {
    return QStringLiteral("Corvanel auto backup %1.zip").arg(d.toString(Qt::ISODate));
}

bool isAutoName(const QString& fileName, QDate* date = nullptr) {
    static const QString head = QStringLiteral("Corvanel auto backup ");
    if (!fileName.startsWith(head) || !fileName.endsWith(QLatin1String(".zip")))
        return false;
    const QDate d = QDate::fromString(fileName.mid(head.size(), 10), Qt::ISODate);
    if (date)
        *date = d;
    return d.isValid() && fileName.size() == head.size() + 14;
}

bool isDatabaseName(const QString& rel) {
    return rel.endsWith(QLatin1String(".db"), Qt::CaseInsensitive);
}

// Files of the data folder that are not the user's own data: the backups, the lock, what a
// backup or restore under way keeps aside, the working databases and SQLite's side files.
bool excluded(const QString& rel) {
    const QString top = rel.section(QLatin1Char('/'), 0, 0);
    if (top == QLatin1String("backups") || top.startsWith(QLatin1String("corvanel.lock")) ||
        top.startsWith(QLatin1String(".restore-")) || top.startsWith(QLatin1String(".replaced-")) ||
        top.startsWith(QLatin1String(".backup-")))
        return true;
    for (const char* side : {"-journal", "-wal", "-shm"})
        if (rel.endsWith(QLatin1String(side)))
            return true;
    for (const char* work : {"data/tempdb.db", "data/unitdb.db"})
        if (rel.compare(QLatin1String(work), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The top-level entries of the data folder that a restore replaces.
QStringList userEntries(const QString& root) {
    QStringList out;
    const QDir dir(root);
    for (const QString& e :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (!excluded(e))
            out << e;
    return out;
}

// A private connection to one file, closed and removed when it goes out of scope.
class Connection {
public:
    Connection(const QString& path, bool readOnly) {
        name_ = QStringLiteral("backup:") + QUuid::createUuid().toString();
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db_.setDatabaseName(path);
        db_.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;"
                                                        "QSQLITE_BUSY_TIMEOUT=5000")
                                       : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        open_ = db_.open();
    }
    ~Connection() {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    bool open() const { return open_; }
    QSqlDatabase& db() { return db_; }

private:
    QString name_;
    QSqlDatabase db_;
    bool open_ = false;
};

// A consistent copy of a database that may be in use: VACUUM INTO reads it in one transaction.
bool snapshot(const QString& source, const QString& target, QString* error) {
    Connection c(source, true);
    if (!c.open()) {
        *error = c.db().lastError().text();
        return false;
    }
    QSqlQuery q(c.db());
    // The snapshot is a scratch file read once into the zip; syncing it to disk would only
    // slow the start of the day down.
    q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    QString quoted = target;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    if (!q.exec(QStringLiteral("VACUUM INTO '%1'").arg(quoted))) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

// Copies `source` into the open zip as `entry`, noting its size and SHA-256.
bool addFile(QuaZip& zip, const QString& source, const QString& entry, QJsonArray& files,
             QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The file '%1' could not be read.").arg(native(source));
        return false;
    }
    QuaZipFile out(&zip);
    QuaZipNewInfo info(entry, source);
    if (!out.open(QIODevice::WriteOnly, info)) {
        *error = QStringLiteral("The backup could not be written (zip error %1).")
                     .arg(out.getZipError());
        return false;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFile::NoError)
            break;
        hash.addData(chunk);
        size += chunk.size();
        if (out.write(chunk) != chunk.size()) {
            *error = QStringLiteral("The backup could not be written (the disk may be full).");
            return false;
        }
    }
    out.close();
    if (in.error() != QFile::NoError || out.getZipError() != 0) {
        *error = in.error() != QFile::NoError
                     ? QStringLiteral("The file '%1' could not be read.").arg(native(source))
                     : QStringLiteral("The backup could not be written (zip error %1).")
                           .arg(out.getZipError());
        return false;
    }
    files.append(
        QJsonObject{{QStringLiteral("path"), entry},
                    {QStringLiteral("size"), size},
                    {QStringLiteral("sha256"), QString::fromLatin1(hash.result().toHex())}});
    return true;
}

bool addBytes(QuaZip& zip, const QString& entry, const QByteArray& bytes, QString* error) {
    QuaZipFile out(&zip);
    if (!out.open(QIODevice::WriteOnly, QuaZipNewInfo(entry)) || out.write(bytes) != bytes.size()) {
        *error = QStringLiteral("The backup could not be written (zip error %1).")
                     .arg(out.getZipError());
        return false;
    }
    out.close();
    return out.getZipError() == 0;
}

struct Manifest {
    QDateTime created;
    Kind kind = Kind::Manual;
    struct File {
        QString path;
        qint64 size = 0;
        QByteArray sha256;
    };
    QList<File> files;
};

// Reads one entry whole, refusing more than `limit` bytes (a damaged or forged size).
bool readEntry(QuaZip& zip, const QString& entry, qint64 limit, QByteArray* bytes) {
    if (!zip.setCurrentFile(entry, QuaZip::csSensitive))
        return false;
    QuaZipFile in(&zip);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    bytes->clear();
    while (!in.atEnd() && bytes->size() <= limit) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty())
            break;
        bytes->append(chunk);
    }
    in.close();
    return in.getZipError() == 0 && bytes->size() <= limit;
}

std::optional<Manifest> readManifest(QuaZip& zip, QString* error) {
    QByteArray bytes;
    if (!readEntry(zip, kManifest, 16 << 20, &bytes)) {
        *error = QStringLiteral("It is not a Corvanel backup: it holds no readable list of its "
                                "files.");
        return std::nullopt;
    }
    const QJsonObject o = QJsonDocument::fromJson(bytes).object();
    if (o.value(QStringLiteral("format")).toString() != kFormat) {
        *error = QStringLiteral("It is not a Corvanel backup: its list of files cannot be read.");
        return std::nullopt;
    }
    Manifest m;
    m.created = QDateTime::fromString(o.value(QStringLiteral("created")).toString(), Qt::ISODate);
    m.kind = kindFrom(o.value(QStringLiteral("kind")).toString());
    for (const QJsonValue& v : o.value(QStringLiteral("files")).toArray()) {
        const QJsonObject f = v.toObject();
        m.files.append({f.value(QStringLiteral("path")).toString(),
                        qint64(f.value(QStringLiteral("size")).toDouble(-1)),
                        f.value(QStringLiteral("sha256")).toString().toLatin1()});
    }
    return m;
}

// A name that stays inside the folder it is extracted to.
bool safeEntry(const QString& entry) {
    if (entry == kSettingsEntry)
        return true;
    if (!entry.startsWith(kDataPrefix) || entry.contains(QLatin1Char('\\')))
        return false;
    const QString rel = entry.mid(kDataPrefix.size());
    if (rel.isEmpty() || rel.startsWith(QLatin1Char('/')))
        return false;
    for (const QString& part : rel.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return !excluded(rel);
}

// The kind of a database by its place in the data folder.
std::optional<Migrations::Kind> kindAt(const QString& rel) {
    if (rel.compare(QLatin1String("data/cost.db"), Qt::CaseInsensitive) == 0)
        return Migrations::Kind::Catalogue;
    if (rel.compare(QLatin1String("data/MastEst.db"), Qt::CaseInsensitive) == 0)
        return Migrations::Kind::MasterList;
    if (rel.startsWith(QLatin1String("estimates/")))
        return Migrations::Kind::Estimate;
    return std::nullopt;
}

// Whether a database extracted from a backup can be used: whole, and not written by a newer
// program (which this one would refuse to open once it was restored).
bool usable(const QString& path, const QString& rel, QString* problem) {
    Connection c(path, true);
    QSqlQuery q(c.db());
    if (!c.open() || !q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next()) {
        *problem = QStringLiteral("is damaged (%1)").arg(q.lastError().text());
        return false;
    }
    if (q.value(0).toString() != QLatin1String("ok")) {
        *problem = QStringLiteral("is damaged (%1)").arg(q.value(0).toString());
        return false;
    }
    const std::optional<Migrations::Kind> kind = kindAt(rel);
    if (kind && Migrations::versionOf(c.db()) > Migrations::currentVersion(*kind)) {
        *problem = QStringLiteral("was written by a newer version of Corvanel; restore it with "
                                  "that version");
        return false;
    }
    return true;
}

// Extracts and checks every file of a backup below `target` (the data folder's files below
// target/data-folder, the settings as target/settings.ini). With an empty target it only checks,
// extracting each database to a temporary folder for its integrity check.
bool extractChecked(const QString& zipPath, const QString& target, QString* error,
                    const QString& only = QString()) {
    const QString name = QFileInfo(zipPath).fileName();
    auto fail = [&](const QString& why) {
        *error = QStringLiteral("The backup '%1' cannot be used. %2").arg(name, why);
        return false;
    };
    QuaZip zip(zipPath);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(QStringLiteral("It cannot be opened as a zip file."));
    QString why;
    const std::optional<Manifest> m = readManifest(zip, &why);
    if (!m)
        return fail(why);
    QStringList listed{kManifest};
    for (const Manifest::File& f : m->files)
        listed << f.path;
    for (const QString& entry : zip.getFileNameList())
        if (!listed.contains(entry))
            return fail(QStringLiteral("It holds a file its list does not name (%1).").arg(entry));
    QTemporaryDir scratch;
    bool found = only.isEmpty();
    for (const Manifest::File& f : m->files) {
        if (!safeEntry(f.path))
            return fail(
                QStringLiteral("A file in it has a name that is not allowed (%1).").arg(f.path));
        if (!only.isEmpty() && f.path != kDataPrefix + only)
            continue;
        found = true;
        QByteArray bytes;
        if (f.size < 0 || !readEntry(zip, f.path, f.size, &bytes))
            return fail(QStringLiteral("The file %1 in it is missing or damaged.").arg(f.path));
        if (bytes.size() != f.size ||
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() != f.sha256)
            return fail(
                QStringLiteral("The file %1 in it does not match its checksum.").arg(f.path));
        QString out;
        if (!target.isEmpty())
            out = f.path == kSettingsEntry ? target + QStringLiteral("/settings.ini")
                                           : target + QLatin1Char('/') + f.path;
        else if (isDatabaseName(f.path))
            out = scratch.path() + QStringLiteral("/check.db");
        else
            continue;
        QDir().mkpath(QFileInfo(out).absolutePath());
        QFile::remove(out);
        QFile file(out);
        // On disk before it takes the place of the user's file: a power cut after the swap
        // must not leave empty files where the data was.
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.flush() || ::fsync(file.handle()) != 0) {
            *error = QStringLiteral("The backup could not be unpacked into '%1' (the disk may "
                                    "be full).")
                         .arg(native(QFileInfo(out).absolutePath()));
            return false;
        }
        file.close();
        QString problem;
        if (isDatabaseName(f.path) && f.path != kSettingsEntry &&
            !usable(out, f.path.mid(kDataPrefix.size()), &problem))
            return fail(QStringLiteral("The database %1 in it %2.")
                            .arg(f.path.mid(kDataPrefix.size()), problem));
        if (target.isEmpty())
            QFile::remove(out);
    }
    if (!found)
        return fail(QStringLiteral("It holds no copy of %1.").arg(only));
    zip.close();
    return true;
}

QString stamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
}

bool removeTree(const QString& path) {
    return QDir(path).removeRecursively();
}

} // namespace

QString folder(const AppContext& ctx) {
    return ctx.AppPath + QStringLiteral("/backups");
}

QString proposedName(const QDate& date) {
    return QStringLiteral("Corvanel backup %1.zip").arg(date.toString(Qt::ISODate));
}

bool rename(const QString& from, const QString& to) {
    return QFileInfo(from).isDir() ? QDir().rename(from, to) : QFile::rename(from, to);
}

bool create(const AppContext& ctx, const QString& zipPath, Kind kind, QString* error) {
    QString dummy;
    QString& err = error ? *error : dummy;
    const QString part = zipPath + QStringLiteral(".part");
    QDir().mkpath(QFileInfo(zipPath).absolutePath());
    QFile::remove(part);
    // Snapshots go next to the data (same disk), in a folder every backup skips.
    QTemporaryDir snaps(ctx.AppPath + QStringLiteral("/.backup-XXXXXX"));
    if (!snaps.isValid()) {
        err = QStringLiteral("The folder '%1' cannot be written.").arg(native(ctx.AppPath));
        return false;
    }
    bool ok = true;
    {
        QuaZip zip(part);
        zip.setUtf8Enabled(true);
        zip.setZip64Enabled(true);
        if (!zip.open(QuaZip::mdCreate)) {
            err = QStringLiteral("The file '%1' cannot be written.").arg(native(zipPath));
            return false;
        }
        QJsonArray files;
        QDirIterator it(ctx.AppPath, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        QStringList rels;
        const QDir root(ctx.AppPath);
        while (it.hasNext()) {
            const QString abs = it.next();
            const QString rel = root.relativeFilePath(abs);
            if (!excluded(rel) && !it.fileInfo().isSymLink())
                rels << rel;
        }
        rels.sort();
        int n = 0;
        for (const QString& rel : std::as_const(rels)) {
            QString source = root.filePath(rel);
            if (isDatabaseName(rel)) {
                const QString snap = snaps.filePath(QString::number(++n) + QStringLiteral(".db"));
                QString why;
                if (!snapshot(source, snap, &why)) {
                    err = QStringLiteral("The database '%1' could not be copied: %2")
                              .arg(native(source), why);
                    ok = false;
                    break;
                }
                source = snap;
            }
            ok = addFile(zip, source, kDataPrefix + rel, files, &err);
            if (isDatabaseName(rel))
                QFile::remove(source);
            if (!ok)
                break;
        }
        const QString settings =
            ctx.settings ? ctx.settings->filePath(QString::fromLatin1(SettingsStore::App))
                         : QString();
        if (ok && !settings.isEmpty() && QFileInfo(settings).isFile())
            ok = addFile(zip, settings, kSettingsEntry, files, &err);
        if (ok) {
            const QJsonObject manifest{
                {QStringLiteral("format"), kFormat},
                {QStringLiteral("version"), QStringLiteral(CORVANEL_VERSION)},
                {QStringLiteral("created"),
                 QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
                {QStringLiteral("kind"), kindName(kind)},
                {QStringLiteral("files"), files}};
            ok = addBytes(zip, kManifest, QJsonDocument(manifest).toJson(), &err);
        }
        zip.close();
        if (ok && zip.getZipError() != 0) {
            ok = false;
            err = QStringLiteral("The file '%1' could not be written (the disk may be full).")
                      .arg(native(zipPath));
        }
    }
    if (ok) {
        // Whole on disk before it takes its name, so that a backup by that name is never empty.
        QFile written(part);
        if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0) {
            ok = false;
            err = QStringLiteral("The file '%1' could not be written.").arg(native(zipPath));
        }
    }
    if (ok) {
        QFile::remove(zipPath);
        if (!QFile::rename(part, zipPath)) {
            ok = false;
            err = QStringLiteral("The file '%1' could not be written.").arg(native(zipPath));
        }
    }
    if (!ok)
        QFile::remove(part);
    return ok;
}

Info describe(const QString& zipPath) {
    Info info;
    const QFileInfo fi(zipPath);
    info.path = zipPath;
    info.size = fi.size();
    info.created = fi.lastModified();
    QuaZip zip(zipPath);
    zip.setUtf8Enabled(true);
    if (zip.open(QuaZip::mdUnzip)) {
        QString why;
        if (const std::optional<Manifest> m = readManifest(zip, &why)) {
            info.readable = true;
            info.kind = m->kind;
            if (m->created.isValid())
                info.created = m->created;
        }
        zip.close();
    }
    return info;
}

QList<Info> list(const AppContext& ctx) {
    QList<Info> out;
    const QDir dir(folder(ctx));
    for (const QString& f : dir.entryList({QStringLiteral("*.zip")}, QDir::Files))
        out.append(describe(dir.filePath(f)));
    std::stable_sort(out.begin(), out.end(),
                     [](const Info& a, const Info& b) { return a.created > b.created; });
    return out;
}

bool verify(const QString& zipPath, QString* error) {
    QString dummy;
    return extractChecked(zipPath, QString(), error ? error : &dummy);
}

bool restore(AppContext& ctx, const QString& zipPath, QString* error, QString* keptAs,
             const Mover& move) {
    QString dummy;
    QString& err = error ? *error : dummy;
    const QString root = ctx.AppPath;
    const QString id = stamp();
    const QString staging = root + QStringLiteral("/.restore-") + id;
    const QString replaced = root + QStringLiteral("/.replaced-") + id;
    if (!QDir().mkpath(staging)) {
        err = QStringLiteral("The folder '%1' cannot be written.").arg(native(root));
        return false;
    }
    // Unpacked and checked in full before anything of the user's is touched.
    if (!extractChecked(zipPath, staging, &err)) {
        removeTree(staging);
        return false;
    }
    ctx.connections->closeAll();
    const QString kept =
        folder(ctx) +
        QStringLiteral("/Corvanel before restore %1.zip")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmmss")));
    QString why;
    if (!create(ctx, kept, Kind::BeforeRestore, &why)) {
        removeTree(staging);
        err = QStringLiteral("The data in use could not be kept as a backup first (%1). Nothing "
                             "was restored.")
                  .arg(why);
        return false;
    }
    const QString settingsPath = ctx.settings->filePath(QString::fromLatin1(SettingsStore::App));
    const QString stagedSettings = staging + QStringLiteral("/settings.ini");
    const QString stagedData = staging + QLatin1Char('/') + kDataPrefix.chopped(1);
    // Each move is recorded so that a failure puts everything back where it was.
    QList<QPair<QString, QString>> done;
    auto step = [&](const QString& from, const QString& to) {
        if (!move(from, to))
            return false;
        done.append({from, to});
        return true;
    };
    bool ok = QDir().mkpath(replaced) && QDir().mkpath(stagedData);
    for (const QString& e : userEntries(root)) {
        if (!ok)
            break;
        ok = step(root + QLatin1Char('/') + e, replaced + QLatin1Char('/') + e);
    }
    // From here on the data folder holds entries of the backup: marked, so that a restore cut
    // short is undone without taking them for the user's.
    if (ok) {
        QFile mark(staging + QStringLiteral("/swapping-in"));
        ok = mark.open(QIODevice::WriteOnly);
    }
    for (const QString& e :
         QDir(stagedData).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!ok)
            break;
        ok = step(stagedData + QLatin1Char('/') + e, root + QLatin1Char('/') + e);
    }
    if (ok && QFileInfo(stagedSettings).isFile()) {
        QFile in(stagedSettings);
        QSaveFile out(settingsPath);
        QDir().mkpath(QFileInfo(settingsPath).absolutePath());
        ok = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
             out.write(in.readAll()) >= 0 && out.commit();
    }
    if (!ok) {
        for (auto it = done.crbegin(); it != done.crend(); ++it)
            Backup::rename(it->second, it->first);
        removeTree(staging);
        removeTree(replaced);
        err = QStringLiteral("The backup could not be put in place; the data in use was left as "
                             "it was. It is also kept as '%1'.")
                  .arg(native(kept));
        return false;
    }
    removeTree(staging);
    removeTree(replaced);
    // The restored data is worked on as any data folder: folders the program expects are made.
    for (const QString& dir : {ctx.dataDir(), ctx.estimatesDir(), ctx.templatesDir()})
        QDir().mkpath(dir);
    ctx.catalogueCache.reset();
    if (keptAs)
        *keptAs = kept;
    return true;
}

int undoInterruptedRestore(const AppContext& ctx) {
    const QString root = ctx.AppPath;
    int undone = 0;
    for (const QString& aside :
         QDir(root).entryList({QStringLiteral(".replaced-*")}, QDir::Dirs | QDir::Hidden)) {
        const QString id = aside.mid(QStringLiteral(".replaced-").size());
        const QString replaced = root + QLatin1Char('/') + aside;
        // Once the swap had begun to move the backup in, every entry of the data folder is the
        // backup's (all of the data in use was aside by then): those go back beside the staged
        // copy. Then the data that was in use returns; nothing is deleted until all is back.
        const QString staging = root + QStringLiteral("/.restore-") + id;
        bool ok = true;
        if (QFileInfo::exists(staging + QStringLiteral("/swapping-in"))) {
            const QString movedIn = staging + QStringLiteral("/in");
            QDir().mkpath(movedIn);
            for (const QString& e : userEntries(root))
                ok = rename(root + QLatin1Char('/') + e, movedIn + QLatin1Char('/') + e) && ok;
        }
        for (const QString& e :
             QDir(replaced).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            ok = rename(replaced + QLatin1Char('/') + e, root + QLatin1Char('/') + e) && ok;
        if (!ok)
            continue; // kept as they are; tried again on the next start
        removeTree(replaced);
        removeTree(staging);
        ++undone;
    }
    // A restore that stopped before the swap began leaves only its unpacked copy.
    for (const QString& staged :
         QDir(root).entryList({QStringLiteral(".restore-*")}, QDir::Dirs | QDir::Hidden))
        if (!QFileInfo::exists(root + QStringLiteral("/.replaced-") +
                               staged.mid(QStringLiteral(".restore-").size())))
            removeTree(root + QLatin1Char('/') + staged);
    return undone;
}

Daily makeDaily(const AppContext& ctx, const QDate& today) {
    Daily d;
    const QDir dir(folder(ctx));
    if (QFileInfo::exists(dir.filePath(autoName(today))))
        return d;
    if (!create(ctx, dir.filePath(autoName(today)), Kind::Automatic, &d.error))
        return d;
    d.written = dir.filePath(autoName(today));
    QList<QPair<QDate, QString>> autos;
    for (const QString& f : dir.entryList({QStringLiteral("*.zip")}, QDir::Files)) {
        QDate date;
        if (isAutoName(f, &date))
            autos.append({date, f});
    }
    std::sort(autos.begin(), autos.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (qsizetype i = keptAutomatic; i < autos.size(); ++i)
        if (QFile::remove(dir.filePath(autos[i].second)))
            ++d.pruned;
    return d;
}

bool databaseSound(const QString& path, QString* problem) {
    QString dummy;
    QString& why = problem ? *problem : dummy;
    Connection c(path, true);
    QSqlQuery q(c.db());
    if (!c.open() || !q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
        // SQLite's own words ("database disk image is malformed"), without the driver's.
        why = c.open() ? q.lastError().databaseText() : c.db().lastError().databaseText();
        if (why.trimmed().isEmpty())
            why = QStringLiteral("it cannot be read");
        return false;
    }
    if (q.value(0).toString() != QLatin1String("ok")) {
        why = q.value(0).toString();
        return false;
    }
    if (!q.exec(QStringLiteral("select count(*) from sqlite_master where type='table'")) ||
        !q.next() || q.value(0).toInt() == 0) {
        why = QStringLiteral("it holds no tables");
        return false;
    }
    return true;
}

std::optional<Info> newestHolding(const AppContext& ctx, const QString& relativePath) {
    for (const Info& info : list(ctx)) {
        QString why;
        if (info.readable && extractChecked(info.path, QString(), &why, relativePath))
            return info;
    }
    return std::nullopt;
}

bool restoreFile(AppContext& ctx, const QString& zipPath, const QString& relativePath,
                 QString* error, QString* keptAs) {
    QString dummy;
    QString& err = error ? *error : dummy;
    QTemporaryDir staging(ctx.AppPath + QStringLiteral("/.restore-XXXXXX"));
    if (!staging.isValid()) {
        err = QStringLiteral("The folder '%1' cannot be written.").arg(native(ctx.AppPath));
        return false;
    }
    if (!extractChecked(zipPath, staging.path(), &err, relativePath))
        return false;
    const QString target = ctx.AppPath + QLatin1Char('/') + relativePath;
    const QString copy = staging.path() + QLatin1Char('/') + kDataPrefix + relativePath;
    ctx.connections->close(target);
    const QString aside = target + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFileInfo::exists(target) && !QFile::rename(target, aside)) {
        err = QStringLiteral("The file '%1' could not be moved aside.").arg(native(target));
        return false;
    }
    // A journal left beside the damaged file belongs to it, not to the copy.
    for (const char* side : {"-journal", "-wal", "-shm"})
        if (QFileInfo::exists(target + QLatin1String(side)))
            QFile::rename(target + QLatin1String(side), aside + QLatin1String(side));
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!QFile::rename(copy, target)) {
        QFile::rename(aside, target);
        err = QStringLiteral("The copy from the backup could not be put in place of '%1'.")
                  .arg(native(target));
        return false;
    }
    if (keptAs)
        *keptAs = QFileInfo::exists(aside) ? aside : QString();
    return true;
}

} // namespace Backup

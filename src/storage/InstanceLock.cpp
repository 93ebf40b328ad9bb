#include "storage/InstanceLock.h"

#include <QDir>

QString InstanceLock::fileName(const QString& dataFolder) {
    return dataFolder + QStringLiteral("/corvanel.lock");
}

InstanceLock::InstanceLock(const QString& dataFolder)
    : folder_(dataFolder), lock_(fileName(dataFolder)) {
    // Only a lock whose program is gone is stale: a program that runs for days keeps its lock.
    lock_.setStaleLockTime(0);
}

InstanceLock::Result InstanceLock::acquire(QString* error) {
    if (!QDir().mkpath(folder_)) {
        if (error)
            *error = QStringLiteral("The folder '%1' could not be created.")
                         .arg(QDir::toNativeSeparators(folder_));
        return Result::Failed;
    }
    if (lock_.tryLock(0))
        return Result::Acquired;
    if (lock_.error() == QLockFile::LockFailedError)
        return Result::AlreadyRunning;
    if (error)
        *error = QStringLiteral("The lock file '%1' could not be written.")
                     .arg(QDir::toNativeSeparators(fileName(folder_)));
    return Result::Failed;
}

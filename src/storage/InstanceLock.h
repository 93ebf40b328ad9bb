#pragma once

#include <QLockFile>
#include <QString>

// One program at a time works on a data folder: two programs editing one estimate would
// overwrite each other's saves. The lock is a file in the data folder holding the program's
// process id; a lock left behind by a program that was killed is recognised (its process is
// gone) and taken over.
class InstanceLock {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    explicit InstanceLock(const QString& dataFolder);

    // Takes the lock. Failed: the folder or the lock file could not be made (*error says why).
    Result acquire(QString* error);

    static QString fileName(const QString& dataFolder);

private:
    QString folder_;
    QLockFile lock_;
};

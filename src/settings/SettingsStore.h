#pragma once

#include "settings/IniFile.h"

#include <QList>
#include <QPair>
#include <QString>
#include <map>
#include <memory>

// The per-user settings store: one ordered INI file per application,
// <config folder>/<Application>/settings.ini. Values are addressed by application, section
// and key; a missing value reads as the empty text.
class SettingsStore {
public:
    static constexpr const char* App = "Corvanel";

    explicit SettingsStore(QString configRoot);

    QString filePath(const QString& app) const;
    bool exists(const QString& app) const;

    QString value(const QString& app, const QString& section, const QString& key) const;
    QList<QPair<QString, QString>> section(const QString& app, const QString& section) const;
    bool setValue(const QString& app, const QString& section, const QString& key,
                  const QString& value);

    // Adds the entries the file of `app` lacks, each in its place (IniFile::addMissing).
    int addMissing(const QString& app, const QList<IniFile::Entry>& ordered) {
        return file(app).addMissing(ordered);
    }

    // Shorthands for this program's own settings.
    QString get(const QString& section, const QString& key) const {
        return value(QString::fromLatin1(App), section, key);
    }
    bool set(const QString& section, const QString& key, const QString& v) {
        return setValue(QString::fromLatin1(App), section, key, v);
    }

private:
    IniFile& file(const QString& app) const;
    QString root_;
    mutable std::map<QString, std::unique_ptr<IniFile>> files_;
};

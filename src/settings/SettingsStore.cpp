#include "settings/SettingsStore.h"

SettingsStore::SettingsStore(QString configRoot) : root_(std::move(configRoot)) {}

QString SettingsStore::filePath(const QString& app) const {
    return root_ + QLatin1Char('/') + app + QStringLiteral("/settings.ini");
}

bool SettingsStore::exists(const QString& app) const {
    return file(app).exists();
}

IniFile& SettingsStore::file(const QString& app) const {
    auto it = files_.find(app);
    if (it == files_.end())
        it = files_.emplace(app, std::make_unique<IniFile>(filePath(app))).first;
    else
        it->second->reload(); // the file may have been changed by another program
    return *it->second;
}

QString SettingsStore::value(const QString& app, const QString& section, const QString& key) const {
    return file(app).value(section, key);
}

QList<QPair<QString, QString>> SettingsStore::section(const QString& app,
                                                      const QString& section) const {
    return file(app).section(section);
}

bool SettingsStore::setValue(const QString& app, const QString& section, const QString& key,
                             const QString& value) {
    return file(app).setValue(section, key, value);
}

#pragma once

#include <QList>
#include <QPair>
#include <QString>

// An INI file that keeps sections and keys in the order they were first created, unlike
// QSettings, which sorts them. Several readers take values by position, so rewriting a value
// keeps its place. Written atomically: a crash mid-write leaves the previous file intact.
class IniFile {
public:
    using Pair = QPair<QString, QString>;

    explicit IniFile(QString path);

    const QString& path() const { return path_; }
    bool exists() const;
    // Reads the file again; a missing or unreadable file reads as empty.
    void reload();

    // A missing value reads as the empty text.
    QString value(const QString& section, const QString& key) const;
    bool contains(const QString& section, const QString& key) const;
    // All values of a section as (key, value) pairs in creation order.
    QList<Pair> section(const QString& section) const;
    // Writes one value: a new key goes to the end of its section, an existing key keeps its
    // place. Returns false when the file could not be written (the value is then not kept).
    bool setValue(const QString& section, const QString& key, const QString& value);

    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    // Adds every entry of `ordered` that the file lacks, in its place: after the nearest entry
    // before it in `ordered` that the file has (a missing section after the nearest section
    // before it), so the file keeps the order readers rely on. A value that is there is never
    // changed, whatever it holds. Returns how many were added, or -1 when the file could not be
    // written (nothing is then kept).
    int addMissing(const QList<Entry>& ordered);

    // The text form of the file, as written.
    QString serialise() const;
    static QString quoteValue(const QString& value);
    static QString unquoteValue(const QString& raw);

private:
    struct Section {
        QString name;
        QList<Pair> values;
    };
    bool save() const;
    void parse(const QString& text);

    QString path_;
    QList<Section> sections_;
};

#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

IniFile::IniFile(QString path) : path_(std::move(path)) {
    reload();
}

bool IniFile::exists() const {
    return QFileInfo::exists(path_);
}

void IniFile::reload() {
    sections_.clear();
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return;
    parse(QString::fromUtf8(f.readAll()));
}

void IniFile::parse(const QString& text) {
    Section* current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            const QString name = t.mid(1, t.size() - 2).trimmed();
            current = nullptr;
            for (Section& s : sections_)
                if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                    current = &s;
            if (!current) {
                sections_.append({name, {}});
                current = &sections_.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unquoteValue(line.mid(eq + 1));
        bool replaced = false;
        for (Pair& p : current->values) {
            if (p.first.compare(key, Qt::CaseInsensitive) == 0) {
                p.second = value;
                replaced = true;
            }
        }
        if (!replaced)
            current->values.append({key, value});
    }
}

QString IniFile::value(const QString& section, const QString& key) const {
    for (const Section& s : sections_) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Pair& p : s.values)
            if (p.first.compare(key, Qt::CaseInsensitive) == 0)
                return p.second;
    }
    return QString();
}

bool IniFile::contains(const QString& section, const QString& key) const {
    for (const Section& s : sections_) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Pair& p : s.values)
            if (p.first.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

QList<IniFile::Pair> IniFile::section(const QString& section) const {
    for (const Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return s.values;
    return {};
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    // Another program (or another window of ours) may have written since we read.
    reload();
    const QList<Section> before = sections_;
    Section* target = nullptr;
    for (Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            target = &s;
    if (!target) {
        sections_.append({section, {}});
        target = &sections_.last();
    }
    bool found = false;
    for (Pair& p : target->values) {
        if (p.first.compare(key, Qt::CaseInsensitive) == 0) {
            p.second = value;
            found = true;
        }
    }
    if (!found)
        target->values.append({key, value});
    if (!save()) {
        sections_ = before;
        return false;
    }
    return true;
}

int IniFile::addMissing(const QList<Entry>& ordered) {
    reload();
    const QList<Section> before = sections_;
    auto findSection = [this](const QString& name) -> qsizetype {
        for (qsizetype i = 0; i < sections_.size(); ++i)
            if (sections_[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    auto findKey = [](const Section& s, const QString& key) -> qsizetype {
        for (qsizetype i = 0; i < s.values.size(); ++i)
            if (s.values[i].first.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    int added = 0;
    for (qsizetype e = 0; e < ordered.size(); ++e) {
        const Entry& entry = ordered[e];
        qsizetype si = findSection(entry.section);
        if (si < 0) {
            // After the last of the sections that come before it in the list, else first.
            qsizetype at = 0;
            for (qsizetype p = 0; p < e; ++p)
                at = std::max(at, findSection(ordered[p].section) + 1);
            sections_.insert(at, {entry.section, {}});
            si = at;
        }
        Section& target = sections_[si];
        if (findKey(target, entry.key) >= 0)
            continue;
        qsizetype at = 0;
        for (qsizetype p = e - 1; p >= 0; --p) {
            if (ordered[p].section.compare(entry.section, Qt::CaseInsensitive) != 0)
                continue;
            const qsizetype prev = findKey(target, ordered[p].key);
            if (prev >= 0) {
                at = prev + 1;
                break;
            }
        }
        target.values.insert(at, {entry.key, entry.value});
        ++added;
    }
    if (added == 0)
        return 0;
    if (!save()) {
        sections_ = before;
        return -1;
    }
    return added;
}

QString IniFile::quoteValue(const QString& value) {
    const bool plain = !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')) &&
                       !value.startsWith(QLatin1Char('"')) && value.trimmed() == value;
    if (plain)
        return value;
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString IniFile::unquoteValue(const QString& raw) {
    const QString t = raw.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('"')) || !t.endsWith(QLatin1Char('"')))
        return t;
    QString out;
    for (qsizetype i = 1; i < t.size() - 1; ++i) {
        QChar c = t[i];
        if (c == QLatin1Char('\\') && i + 1 < t.size() - 1) {
            const QChar n = t[++i];
            switch (n.unicode()) {
            case 'n':
                out += QLatin1Char('\n');
                break;
            case 'r':
                out += QLatin1Char('\r');
                break;
            case 't':
                out += QLatin1Char('\t');
                break;
            default:
                out += n;
            }
        } else {
            out += c;
        }
    }
    return out;
}

QString IniFile::serialise() const {
    QString out;
    for (const Section& s : sections_) {
        if (!out.isEmpty())
            out += QLatin1Char('\n');
        out += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const Pair& p : s.values)
            out += p.first + QLatin1Char('=') + quoteValue(p.second) + QLatin1Char('\n');
    }
    return out;
}

bool IniFile::save() const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(serialise().toUtf8());
    return f.commit();
}

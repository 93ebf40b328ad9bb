#include "catalogue/CsvText.h"

#include <csv.h>
#include <memory>

namespace CsvText {
namespace {

// What libcsv hands back while one chunk of lines is parsed.
struct Collect {
    Encoding encoding;
    int line = 0;  // the line being fed
    int start = 0; // the line where the row being read starts; 0 before its first
    Row row;
    bool inRow = false;
    std::vector<Row>* rows;

    QString decode(const char* s, std::size_t n) const {
        if (encoding == Encoding::Utf8)
            return QString::fromUtf8(s, qsizetype(n));
        // Windows-1252 differs from Latin-1 only in 0x80..0x9F (the euro sign, curly quotes).
        static const char16_t high[32] = {
            0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        QString out(qsizetype(n), Qt::Uninitialized);
        QChar* d = out.data();
        for (std::size_t i = 0; i < n; ++i) {
            const auto c = static_cast<unsigned char>(s[i]);
            *d++ = QChar(c >= 0x80 && c < 0xA0 ? high[c - 0x80] : char16_t(c));
        }
        return out;
    }
};

void onField(void* s, std::size_t n, void* data) {
    auto* c = static_cast<Collect*>(data);
    c->inRow = true;
    c->row.fields << c->decode(static_cast<const char*>(s), n);
}

void onRowEnd(int, void* data) {
    auto* c = static_cast<Collect*>(data);
    c->row.line = c->start;
    c->start = 0;
    if (!c->inRow)
        return;
    c->rows->push_back(std::move(c->row));
    c->row = Row();
    c->inRow = false;
}

bool validUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int more = c >= 0xC2 && c <= 0xDF   ? 1
                   : c >= 0xE0 && c <= 0xEF ? 2
                   : c >= 0xF0 && c <= 0xF4 ? 3
                                            : -1;
        if (more < 0 || end - p < more)
            return false;
        for (; more > 0; --more)
            if ((*p++ & 0xC0) != 0x80)
                return false;
    }
    return true;
}

} // namespace

Encoding detectEncoding(const QByteArray& bytes) {
    return validUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

char detectSeparator(const QByteArray& bytes) {
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (char c : bytes) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ',')
            ++comma;
        else if (!quoted && c == ';')
            ++semicolon;
        else if (!quoted && c == '\t')
            ++tab;
    }
    if (semicolon > comma && semicolon >= tab)
        return ';';
    if (tab > comma && tab > semicolon)
        return '\t';
    return ',';
}

Table read(const QByteArray& bytes, char separator, Encoding encoding) {
    Table t;
    csv_parser p;
    if (csv_init(&p, 0) != 0) {
        t.error = QStringLiteral("The file could not be read (out of memory).");
        return t;
    }
    const std::unique_ptr<csv_parser, void (*)(csv_parser*)> freeing(&p, csv_free);
    csv_set_delim(&p, static_cast<unsigned char>(separator));
    Collect c{encoding, 0, 0, Row(), false, &t.rows};
    qsizetype at = 0;
    if (encoding == Encoding::Utf8 && bytes.startsWith("\xEF\xBB\xBF"))
        at = 3;
    // Fed a line at a time, so that each row knows the line it starts on (a quoted field may
    // run over several lines).
    while (at < bytes.size()) {
        ++c.line;
        qsizetype end = bytes.indexOf('\n', at);
        end = end < 0 ? bytes.size() : end + 1;
        const std::size_t n = std::size_t(end - at);
        // A row starts on the first line after the last row that is not blank (a field that
        // runs over lines ends later).
        if (c.start == 0 && bytes.at(at) != '\n' && bytes.at(at) != '\r')
            c.start = c.line;
        if (csv_parse(&p, bytes.constData() + at, n, onField, onRowEnd, &c) != n) {
            t.error = QStringLiteral("Line %1 could not be read: %2.")
                          .arg(c.line)
                          .arg(QString::fromLatin1(csv_strerror(csv_error(&p))));
            return t;
        }
        at = end;
    }
    csv_fini(&p, onField, onRowEnd, &c);
    return t;
}

QString quote(const QString& field) {
    const bool needs = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                       field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                       (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needs)
        return field;
    QString out = field;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString line(const QStringList& fields) {
    QString out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += QLatin1Char(',');
        out += quote(fields[i]);
    }
    return out + QLatin1String("\r\n");
}

} // namespace CsvText

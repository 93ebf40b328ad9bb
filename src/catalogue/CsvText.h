#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// Comma-separated text as spreadsheets and suppliers write it (RFC 4180): a quoted field may
// hold the separator, doubled quotes and line breaks. Reading goes through libcsv; the text is
// decoded after the fields are split, so a separator or quote is never taken from inside a
// multi-byte letter.
namespace CsvText {

enum class Encoding { Utf8, Windows1252 };

// UTF-8 when the bytes are valid UTF-8 (with or without its byte-order mark), else
// Windows-1252, the superset of Latin-1 that spreadsheets on Windows write.
Encoding detectEncoding(const QByteArray& bytes);
// Comma, semicolon or tab: the one found most often outside quotes in the first line.
char detectSeparator(const QByteArray& bytes);

struct Row {
    int line = 0; // the line of the file where the row starts, from 1
    QStringList fields;
};

struct Table {
    std::vector<Row> rows;
    QString error; // a file that could not be read at all; rows read before it are kept
};

// Splits `bytes` into rows of decoded fields. Blank lines hold no row. Leading and trailing
// blanks of an unquoted field are dropped.
Table read(const QByteArray& bytes, char separator, Encoding encoding);

// One field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line break (or
// starts or ends with a blank, which readers may drop), with its quotes doubled.
QString quote(const QString& field);
// A row of fields, separated by commas and ended by CR LF.
QString line(const QStringList& fields);

} // namespace CsvText

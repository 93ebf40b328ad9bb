#pragma once

#include <QString>
#include <QStringView>

// Lengths of text as the user and the database count them: in characters (Unicode code
// points), as SQLite's length() does in the schema's checks, not in UTF-16 units. An emoji is
// one character, though it takes two units.
namespace Text {

qsizetype characters(QStringView text);
// The first `limit` characters of `text`; never ends inside a character (a surrogate pair is
// kept whole or left out whole, and a lone surrogate at the end is dropped).
QString cutToCharacters(const QString& text, qsizetype limit);

} // namespace Text

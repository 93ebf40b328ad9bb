#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Finding things by what the user types: without regard to case or accents, so that "zoe"
// finds "Zoë" and "obrien" does not need the apostrophe's exact form to be typed in full.
namespace TextSearch {

// The text as searches compare it: accents removed (each letter decomposed and its combining
// marks dropped) and case folded. Plain ASCII text takes a quick road of its own, since lists
// of a hundred thousand rows are folded when they are loaded.
QString fold(QStringView text);

// The words of a typed search, folded, in the order typed; empty when it holds none.
QStringList words(const QString& typed);

// True when every word occurs somewhere in `folded` (text already folded); no words match all.
bool matchesAll(QStringView folded, const QStringList& words);

} // namespace TextSearch

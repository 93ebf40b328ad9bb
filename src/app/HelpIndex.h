#pragma once

#include <QList>
#include <QString>

// The help pages shipped inside the program (resources/help, at ":/help"): their order, titles
// and text, and a search through all of them.
namespace HelpIndex {

struct Page {
    QString file;  // "roof.html"
    QString title; // "Roof Area"
};

// Every page, in reading order: the contents first, then the guides, then one page per window
// and the reference pages. A page added to the resources but not named here comes last.
QList<Page> pages();

// The resource path of a page or a page with an anchor ("roof.html#areas").
QString source(const QString& page);
// A page's title (its <title> without the "Corvanel Help – " in front); empty when there is no
// such page.
QString title(const QString& file);
// A page's text without markup.
QString plainText(const QString& file);

struct Hit {
    QString file;
    QString title;
    QString excerpt; // the text around the first match
    int matches = 0; // how often the words occur on the page
};

// The pages holding every word of `query` (case and accents as typed are ignored), most
// matches first. An empty query finds nothing.
QList<Hit> search(const QString& query);

} // namespace HelpIndex

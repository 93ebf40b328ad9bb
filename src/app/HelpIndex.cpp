#include "app/HelpIndex.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace HelpIndex {

namespace {

const QString Root = QStringLiteral(":/help/");

// The reading order of the contents. Each window of the program has its page here.
const char* const Order[] = {
    "index.html",     "quickstart.html", "casestudy.html", "mainwindow.html",
    "owner.html",     "roof.html",       "lineitems.html", "totals.html",
    "documents.html", "catalogue.html",  "setup.html",     "data.html",
};

QString read(const QString& file) {
    QFile f(Root + file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// Letters without their accents and case, so that "resume" finds "Résumé".
QString folded(const QString& s) {
    QString out = s.normalized(QString::NormalizationForm_D);
    out.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return out.toCaseFolded();
}

} // namespace

QList<Page> pages() {
    QList<Page> list;
    QStringList named;
    for (const char* f : Order) {
        const QString file = QString::fromLatin1(f);
        if (QFile::exists(Root + file)) {
            list.append({file, title(file)});
            named << file;
        }
    }
    const QStringList all =
        QDir(Root).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& file : all)
        if (!named.contains(file))
            list.append({file, title(file)});
    return list;
}

QString source(const QString& page) {
    return Root + page;
}

QString title(const QString& file) {
    static const QRegularExpression re(QStringLiteral("<title>(.*?)</title>"),
                                       QRegularExpression::DotMatchesEverythingOption |
                                           QRegularExpression::CaseInsensitiveOption);
    const QString html = read(file);
    if (html.isEmpty())
        return QString();
    QString t = QTextDocumentFragment::fromHtml(re.match(html).captured(1)).toPlainText().trimmed();
    for (const QString& prefix :
         {QStringLiteral("Corvanel Help \u2013 "), QStringLiteral("Corvanel Help - ")})
        if (t.startsWith(prefix))
            t = t.mid(prefix.size());
    return t.isEmpty() ? file : t;
}

QString plainText(const QString& file) {
    const QString html = read(file);
    return html.isEmpty() ? QString() : QTextDocumentFragment::fromHtml(html).toPlainText();
}

QList<Hit> search(const QString& query) {
    QStringList words;
    for (const QString& w :
         folded(query).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        words << w;
    QList<Hit> hits;
    if (words.isEmpty())
        return hits;
    for (const Page& p : pages()) {
        const QString text = plainText(p.file);
        // Folding keeps the length of plain text apart from accented letters, where it may
        // differ by a little; the excerpt is cut from the folded text for that reason.
        const QString hay = folded(text);
        Hit h{p.file, p.title, QString(), 0};
        bool all = true;
        for (const QString& w : words) {
            const int n = int(hay.count(w));
            if (n == 0) {
                all = false;
                break;
            }
            h.matches += n;
        }
        if (!all)
            continue;
        const qsizetype at = hay.indexOf(words.first());
        const qsizetype from = std::max<qsizetype>(0, at - 40);
        h.excerpt = text.mid(from, 100).simplified();
        hits.append(h);
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const Hit& a, const Hit& b) { return a.matches > b.matches; });
    return hits;
}

} // namespace HelpIndex

#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QSizeF>

#include <optional>

class QTextCharFormat;
class QTextDocument;

// The page a document was designed on and its running heads (headers and footers), kept on
// the QTextDocument itself (in its root frame's format) so that they travel with it: through
// clone(), into the printer, and out again through Rtf::write. Replacing the document's
// content (clear(), setPlainText(), setHtml(), Rtf::read) removes them with it.
namespace Rtf {

// Lengths in twips (1440 to the inch), as RTF gives them; the paper as it lies, so a landscape
// page is wider than it is tall.
struct PageSetup {
    int paperWidth = 12240; // US Letter
    int paperHeight = 15840;
    int marginLeft = 1800;
    int marginRight = 1800;
    int marginTop = 1440;
    int marginBottom = 1440;
    int headerTop = 720;      // from the paper's top edge to the header's top
    int footerBottom = 720;   // from the paper's bottom edge to the footer's bottom
    bool titlePage = false;   // the first page has its own header and footer
    bool facingPages = false; // even pages have their own header and footer

    bool landscape() const { return paperWidth > paperHeight; }
    QSizeF paperPoints() const { return QSizeF(paperWidth / 20.0, paperHeight / 20.0); }
    QMarginsF marginPoints() const {
        return QMarginsF(marginLeft / 20.0, marginTop / 20.0, marginRight / 20.0,
                         marginBottom / 20.0);
    }
    bool operator==(const PageSetup&) const = default;
};

// The document's page setup; none when its file gave no paper size or margins, and then the
// printer's paper and the caller's margins apply.
std::optional<PageSetup> pageSetup(const QTextDocument& doc);
void setPageSetup(QTextDocument& doc, const std::optional<PageSetup>& setup);

enum class RunningHead : int {
    Header, // every page, or the odd pages when even pages have their own
    Footer,
    FirstHeader, // the first page, when PageSetup::titlePage
    FirstFooter,
    EvenHeader, // the even pages, when PageSetup::facingPages
    EvenFooter,
};
constexpr int RunningHeadCount = 6;

// A header or footer as a document of its own in RTF; empty when there is none.
QByteArray runningHead(const QTextDocument& doc, RunningHead which);
void setRunningHead(QTextDocument& doc, RunningHead which, const QByteArray& rtf);

// Page number fields: text the print routine replaces on every page.
enum class Field : int { None, Page, NumPages };
Field fieldOf(const QTextCharFormat& f);

} // namespace Rtf

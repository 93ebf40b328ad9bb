#pragma once

class QPagedPaintDevice;
class QTextDocument;

// Prints a whole document on a printer or PDF writer, page after page.
//
// A document read from an RTF file that gave its page (Rtf::pageSetup) is printed on that
// paper, in that orientation and inside those margins, whatever the device was set to; any
// other document on the device's paper inside the margins given here in twips (1440 to the
// inch) from the paper's edge. Headers and footers the document carries (Rtf::runningHead)
// are drawn on every page with their page numbers filled in ("Page 2 of 5"). Lengths in the
// document are pixels of 96 to the inch (see RtfFormat.h), printed at their true size.
//
// Returns the number of pages printed (0 when the device could not be painted on).
int PrintRichText(const QTextDocument& doc, QPagedPaintDevice& device, int leftTwips, int topTwips,
                  int rightTwips, int bottomTwips);

// The same, with one-inch margins for a document without its own.
int PrintRichText(const QTextDocument& doc, QPagedPaintDevice& device);

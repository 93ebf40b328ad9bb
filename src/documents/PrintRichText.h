#pragma once

class QPagedPaintDevice;
class QTextDocument;

// Prints a whole document on a printer or PDF writer, page after page, inside margins given in
// twips (1440 to the inch) measured from the paper's edge. The device's own unprintable border
// is allowed for by the device. Nothing else (no page numbers) is added to the pages.
// Returns the number of pages printed (0 when the device could not be painted on).
int PrintRichText(const QTextDocument& doc, QPagedPaintDevice& device, int leftTwips, int topTwips,
                  int rightTwips, int bottomTwips);

#pragma once

#include "documents/RtfPage.h"

#include <QByteArray>
#include <QString>

class QTextCursor;
class QTextDocument;
class QTextDocumentFragment;

// Rich text in the format every word processor exchanges, for the document templates and for
// copy and paste between the program's text boxes. Qt reads and writes HTML and Markdown only.
namespace Rtf {

// True when the data starts with "{\rtf" after any blanks.
bool looksLikeRtf(const QByteArray& data);

// Replaces the document's content with the RTF text, and its page setup, headers and footers
// with the file's (see RtfPage.h). Damaged input gives as much as can be read; false (with a
// short reason in *error) only when the data is not RTF at all.
bool read(const QByteArray& data, QTextDocument& doc, QString* error = nullptr);

// Inserts the RTF text at the cursor, keeping its formatting and pictures (not its page setup
// or running heads, which belong to a whole document).
bool insert(const QByteArray& data, QTextCursor& cursor);

// The whole document (with its page setup, headers and footers), or a selection for the
// clipboard, as RTF in the Windows-1252 code page with every other character as a Unicode
// escape.
QByteArray write(const QTextDocument& doc);
QByteArray write(const QTextDocumentFragment& fragment);

} // namespace Rtf

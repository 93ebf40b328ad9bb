#pragma once

#include <QString>

class QTextDocument;
struct AppContext;

// The rich-text templates in the Templates folder. The program ships one of each; the user may
// change them, so a shipped template is only written where none is.
namespace Templates {

// The template file of a document kind: "proposal", "contract", and the blank forms "lead",
// "roof", "detail", "main". Empty for any other kind.
QString fileName(const QString& kind);
QString path(const AppContext& ctx, const QString& kind);

// Loads a template into `doc` as rich text. False with a message naming the file in *problem
// when the file is missing, unreadable or not rich text; `doc` is then left as it was.
bool load(const QString& path, QTextDocument& doc, QString* problem);

// Writes each shipped template that is missing from the Templates folder (creating the folder).
// Returns false with a reason when one could not be written.
bool install(const AppContext& ctx, QString* error = nullptr);

} // namespace Templates

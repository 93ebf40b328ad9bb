#pragma once

#include <QString>
#include <QStringList>

class QTextDocument;
struct AppContext;

// Where the documents of the estimate in work are kept: the four documents of the Output tab
// in the estimate's folder (<estimates>/<name>/documents/<kind>.rtf), so that they are there
// again when the estimate is opened, and the PDFs made of them beside the estimate.
namespace DocumentFiles {

// The four documents in the order of the Output tab's boxes.
constexpr int Count = 4;
// "detail", "proposal", "contract", "roof"; empty outside 0 to 3.
QString kindOf(int box);
// "Detail", "Proposal", "Contract", "Roof Details": what a PDF of it is called.
QString titleOf(int box);

// The estimate's own folder, or empty when no estimate is in work.
QString estimateFolder(const AppContext& ctx);
// Its documents folder, or empty when no estimate is in work.
QString folder(const AppContext& ctx);

// The file a PDF of the document titled `title` is proposed under: "<estimate> – Proposal.pdf"
// in the estimate's folder, or "Proposal.pdf" in the estimates folder without an estimate.
QString pdfPath(const AppContext& ctx, const QString& title);

// A stored document: read into `doc` (true), with whether the user had edited it.
bool load(const AppContext& ctx, int box, QTextDocument& doc, bool* edited);
// Stores the document of `box` (as RTF) and whether the user edited it. False with the file's
// name in *error when it could not be written; what was stored before then stays.
bool save(const AppContext& ctx, int box, const QTextDocument& doc, bool edited, QString* error);

} // namespace DocumentFiles

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>

// Byte-to-text conversion for the \'hh escapes and 8-bit text of RTF files, which follow the
// code page of the current font's character set or, failing that, the document's code page.
namespace Rtf::detail {

constexpr int SymbolCodePage = 42; // Windows' name for the Symbol font's own encoding

// The Windows code page of an RTF \fcharset value; 0 when the document's code page applies.
int codePageForCharset(int charset);

class CodePageDecoder {
public:
    QString decode(int codePage, QByteArrayView bytes);

private:
    QStringDecoder* decoderFor(int codePage);
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

// Windows-1252 by table: the code page of nearly every RTF file, and the fallback for code
// pages the Qt build cannot convert.
void appendCp1252(QString& out, QByteArrayView bytes);

} // namespace Rtf::detail

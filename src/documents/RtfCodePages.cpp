#include "documents/RtfCodePages.h"

namespace Rtf::detail {

namespace {

// 0x80..0x9F of Windows-1252; the rest of the code page is ISO 8859-1. The five unassigned
// bytes map to the C1 controls of the same value, as Windows itself converts them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendSymbol(QString& out, QByteArrayView bytes) {
    // Only the Symbol font glyphs that word processors use as list bullets and marks; other
    // bytes are kept as they are and still show with the Symbol font.
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        switch (c) {
        case 0xB7:
            out.append(QChar(0x2022));
            break;
        case 0xA8:
            out.append(QChar(0x2663));
            break;
        case 0xD7:
            out.append(QChar(0x22C5));
            break;
        case 0xE0:
            out.append(QChar(0x25CA));
            break;
        default:
            out.append(QChar(c));
        }
    }
}

const char* encodingName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace

int codePageForCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return SymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

void appendCp1252(QString& out, QByteArrayView bytes) {
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        out.append(c >= 0x80 && c < 0xA0 ? QChar(Cp1252High[c - 0x80]) : QChar(c));
    }
}

QStringDecoder* CodePageDecoder::decoderFor(int codePage) {
    auto it = decoders_.find(codePage);
    if (it != decoders_.end())
        return it->second.get();
    std::unique_ptr<QStringDecoder> decoder;
    if (const char* name = encodingName(codePage)) {
        decoder = std::make_unique<QStringDecoder>(name, QStringConverter::Flag::Stateless);
        if (!decoder->isValid())
            decoder.reset();
    }
    return decoders_.emplace(codePage, std::move(decoder)).first->second.get();
}

QString CodePageDecoder::decode(int codePage, QByteArrayView bytes) {
    QString out;
    if (codePage == SymbolCodePage) {
        appendSymbol(out, bytes);
        return out;
    }
    if (codePage != 1252 && codePage != 0) {
        if (QStringDecoder* decoder = decoderFor(codePage))
            return decoder->decode(bytes);
    }
    out.reserve(bytes.size());
    appendCp1252(out, bytes);
    return out;
}

} // namespace Rtf::detail

#include "documents/Rtf.h"
#include "documents/RtfCodePages.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace Rtf {

namespace {

// Deeper groups than this are read as ignored content: real files nest a dozen levels at most,
// and hostile ones would otherwise grow the state stack without bound.
constexpr int MaxDepth = 256;
// A table grows one column per \cell; beyond this the extra cells' text joins the last cell.
constexpr int MaxColumns = 64;
constexpr int MaxTwips = 31680 * 4; // four times a Letter page's height
constexpr int MaxControlWordLength = 32;

enum class Dest : quint8 { Text, Skip, FontTable, ColorTable };

struct CharProps {
    int font = -1;
    int halfPoints = 24; // the RTF default of 12 pt
    int foreground = 0;  // colour table index; 0 is the automatic colour
    int background = 0;
    qint8 verticalPosition = 0; // -1 subscript, +1 superscript
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharProps&) const = default;
};

struct ParaProps {
    int align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool inTable = false;
    bool breakBefore = false;
};

struct State {
    Dest dest = Dest::Text;
    CharProps chr;
    ParaProps para;
    int unicodeSkip = 1;
};

struct Font {
    QString name;
    int codePage = 0;
};

enum class Kw : quint8 {
    Skip, // a destination whose content is not document text
    FontTable,
    ColorTable,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Font,
    Charset,
    Cpg,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    ColorFore,
    ColorBack,
    Super,
    Sub,
    NoSuperSub,
    Plain,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    Par,
    Line,
    Tab,
    Page,
    PageBreakBefore,
    Char, // a special character, in Word::ch
    RowDefaults,
    CellX,
    Cell,
    NestCell,
    Row,
    InTable,
    Red,
    Green,
    Blue,
    Bin,
    CellBorder,
    CellGap,
};

struct Word {
    Kw kw;
    char16_t ch = 0;
};

const std::unordered_map<std::string_view, Word>& words() {
    static const std::unordered_map<std::string_view, Word> table = [] {
        std::unordered_map<std::string_view, Word> t;
        // Groups that hold no document text: metadata, styles, pictures, running heads, list
        // definitions, revision tables, and the fallbacks old writers add for newer readers.
        for (const char* name : {"info",
                                 "pict",
                                 "stylesheet",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "fldinst",
                                 "object",
                                 "objdata",
                                 "listtable",
                                 "listoverridetable",
                                 "rsidtbl",
                                 "generator",
                                 "themedata",
                                 "colorschememapping",
                                 "datastore",
                                 "latentstyles",
                                 "xmlnstbl",
                                 "pgdsctbl",
                                 "revtbl",
                                 "filetbl",
                                 "footnote",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "bkmkstart",
                                 "bkmkend",
                                 "falt",
                                 "panose",
                                 "nonshppict",
                                 "shppict",
                                 "shp",
                                 "shpinst",
                                 "nonesttables",
                                 "nesttableprops",
                                 "template",
                                 "userprops",
                                 "docvar",
                                 "private",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "ftnsep",
                                 "ftnsepc",
                                 "aftnsep",
                                 "aftnsepc",
                                 "ftncn",
                                 "aftncn",
                                 "pn",
                                 "pntxta",
                                 "pntxtb",
                                 "listpicture",
                                 "mmathPr",
                                 "blipuid",
                                 "fchars",
                                 "lchars",
                                 "author",
                                 "operator",
                                 "title",
                                 "subject",
                                 "keywords",
                                 "comment",
                                 "doccomm",
                                 "company",
                                 "htmltag",
                                 "mhtmltag",
                                 "oldcprops",
                                 "oldpprops",
                                 "oldsprops",
                                 "oldtprops",
                                 "factoidname",
                                 "formfield",
                                 "datafield",
                                 "wgrffmtfilter",
                                 "pgp",
                                 "defchp",
                                 "defpap",
                                 "ud",
                                 "background",
                                 "passwordhash",
                                 "protusertbl",
                                 "tcn"})
            t.emplace(name, Word{Kw::Skip});
        const std::pair<const char*, Kw> plain[] = {
            {"fonttbl", Kw::FontTable},
            {"colortbl", Kw::ColorTable},
            {"ansi", Kw::Ansi},
            {"mac", Kw::Mac},
            {"pc", Kw::Pc},
            {"pca", Kw::Pca},
            {"ansicpg", Kw::AnsiCpg},
            {"deff", Kw::DefaultFont},
            {"uc", Kw::UnicodeSkip},
            {"u", Kw::Unicode},
            {"f", Kw::Font},
            {"fcharset", Kw::Charset},
            {"cpg", Kw::Cpg},
            {"fs", Kw::FontSize},
            {"b", Kw::Bold},
            {"i", Kw::Italic},
            {"ul", Kw::Underline},
            {"uld", Kw::Underline},
            {"uldash", Kw::Underline},
            {"uldashd", Kw::Underline},
            {"uldashdd", Kw::Underline},
            {"uldb", Kw::Underline},
            {"ulth", Kw::Underline},
            {"ulw", Kw::Underline},
            {"ulwave", Kw::Underline},
            {"ulnone", Kw::UnderlineNone},
            {"strike", Kw::Strike},
            {"striked", Kw::Strike},
            {"v", Kw::Hidden},
            {"cf", Kw::ColorFore},
            {"cb", Kw::ColorBack},
            {"highlight", Kw::ColorBack},
            {"chcbpat", Kw::ColorBack},
            {"super", Kw::Super},
            {"sub", Kw::Sub},
            {"nosupersub", Kw::NoSuperSub},
            {"plain", Kw::Plain},
            {"pard", Kw::Pard},
            {"ql", Kw::AlignLeft},
            {"qc", Kw::AlignCenter},
            {"qr", Kw::AlignRight},
            {"qj", Kw::AlignJustify},
            {"qd", Kw::AlignJustify},
            {"li", Kw::LeftIndent},
            {"lin", Kw::LeftIndent},
            {"ri", Kw::RightIndent},
            {"rin", Kw::RightIndent},
            {"fi", Kw::FirstIndent},
            {"sb", Kw::SpaceBefore},
            {"sa", Kw::SpaceAfter},
            {"par", Kw::Par},
            {"sect", Kw::Par},
            {"line", Kw::Line},
            {"tab", Kw::Tab},
            {"page", Kw::Page},
            {"pagebb", Kw::PageBreakBefore},
            {"up", Kw::Super},
            {"dn", Kw::Sub},
            {"trowd", Kw::RowDefaults},
            {"cellx", Kw::CellX},
            {"cell", Kw::Cell},
            {"nestcell", Kw::NestCell},
            {"row", Kw::Row},
            {"intbl", Kw::InTable},
            {"red", Kw::Red},
            {"green", Kw::Green},
            {"blue", Kw::Blue},
            {"bin", Kw::Bin},
            {"clbrdrt", Kw::CellBorder},
            {"clbrdrb", Kw::CellBorder},
            {"clbrdrl", Kw::CellBorder},
            {"clbrdrr", Kw::CellBorder},
            {"trbrdrt", Kw::CellBorder},
            {"trbrdrb", Kw::CellBorder},
            {"trbrdrl", Kw::CellBorder},
            {"trbrdrr", Kw::CellBorder},
            {"trgaph", Kw::CellGap},
        };
        for (const auto& [name, kw] : plain)
            t.emplace(name, Word{kw});
        const std::pair<const char*, char16_t> chars[] = {
            {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},     {"zwnj", 0x200C},
            {"zwbo", 0x200B},      {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
        };
        for (const auto& [name, ch] : chars)
            t.emplace(name, Word{Kw::Char, ch});
        return t;
    }();
    return table;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int clampTwips(int v) {
    return std::clamp(v, -MaxTwips, MaxTwips);
}

class Reader {
public:
    Reader(QByteArrayView data, QTextDocument& doc) : data_(data), cursor_(&doc) {
        cellBudget_ = 4096 + data.size() / 4;
    }
    void run();

private:
    State& state() { return stack_.back(); }
    bool skipping() const { return excessDepth_ > 0 || stack_.back().dest == Dest::Skip; }

    void openGroup();
    void closeGroup();
    void controlWord();
    void controlSymbol(char c);
    void hexByte();
    void textBytes();
    void applyWord(const Word& w, bool hasParam, int param);

    void emitText(QStringView text);
    void emitChar(char16_t c) { emitText(QStringView(&c, 1)); }
    void flushBytes();
    void flushRun();
    int codePage();
    QTextCharFormat charFormat(const CharProps& p) const;
    void applyBlockFormat();
    void endParagraph();
    void pageBreak();
    void commitFont();
    void commitColor();

    // Tables are built lazily: text in a paragraph marked \intbl opens one, and text outside
    // closes it, so a row definition before or after its cells both work.
    void ensureContext();
    void startTable();
    bool growTable();
    void ensureCell();
    void endTable();
    void cell();

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool done_ = false;
    QTextCursor cursor_;
    QList<State> stack_;
    int excessDepth_ = 0;
    bool ignorableNext_ = false;
    int pendingSkip_ = 0;
    int docCodePage_ = 1252;
    int defaultFont_ = 0;
    ParaProps lastPara_;

    QHash<int, Font> fonts_;
    int fontEntry_ = 0;
    QString fontName_;
    QList<QColor> colors_;
    int red_ = -1, green_ = -1, blue_ = -1;

    detail::CodePageDecoder decoder_;
    QByteArray bytes_;
    QString run_;
    CharProps runProps_;
    bool breakBefore_ = false;

    QTextTable* table_ = nullptr;
    bool tablesDisabled_ = false;
    qsizetype cellBudget_ = 0;
    int row_ = 0, col_ = 0, cursorCol_ = -1;
    bool rowDone_ = false;
    QList<int> rowCellX_;
    bool rowBorders_ = false;
    int rowGap_ = 108;
};

void Reader::run() {
    const char* d = data_.data();
    const qsizetype n = data_.size();
    // Skip the blanks before the opening brace; the caller has checked "{\rtf" follows.
    while (pos_ < n && d[pos_] != '{')
        ++pos_;
    while (pos_ < n && !done_) {
        const char c = d[pos_];
        switch (c) {
        case '{':
            ++pos_;
            openGroup();
            break;
        case '}':
            ++pos_;
            closeGroup();
            break;
        case '\\':
            ++pos_;
            if (pos_ >= n)
                break;
            if (isLetter(d[pos_]))
                controlWord();
            else if (d[pos_] == '\'')
                hexByte();
            else
                controlSymbol(d[pos_++]);
            break;
        case '\r':
        case '\n':
        case '\0':
            ++pos_;
            break;
        default:
            textBytes();
        }
    }
    flushBytes();
    flushRun();
    if (!stack_.isEmpty())
        lastPara_ = stack_.back().para;
    const bool endsInTable = table_ != nullptr;
    if (table_)
        endTable();
    if (!endsInTable || !lastPara_.inTable) {
        // The paragraph the file ends in takes the properties in force at the end.
        State s;
        s.para = lastPara_;
        stack_.append(s);
        applyBlockFormat();
    }
}

void Reader::openGroup() {
    flushBytes();
    pendingSkip_ = 0;
    if (stack_.size() >= MaxDepth) {
        ++excessDepth_;
        return;
    }
    stack_.append(stack_.isEmpty() ? State() : stack_.back());
}

void Reader::closeGroup() {
    flushBytes();
    pendingSkip_ = 0;
    ignorableNext_ = false;
    if (excessDepth_ > 0) {
        --excessDepth_;
        return;
    }
    if (stack_.isEmpty()) {
        done_ = true;
        return;
    }
    const Dest dest = stack_.back().dest;
    if (dest == Dest::FontTable)
        commitFont();
    if (stack_.size() == 1) {
        lastPara_ = stack_.back().para;
        stack_.removeLast();
        done_ = true;
        return;
    }
    stack_.removeLast();
}

void Reader::textBytes() {
    const char* d = data_.data();
    const qsizetype n = data_.size();
    if (stack_.isEmpty() || skipping()) {
        while (pos_ < n && d[pos_] != '\\' && d[pos_] != '{' && d[pos_] != '}')
            ++pos_;
        return;
    }
    const Dest dest = state().dest;
    while (pos_ < n) {
        const char c = d[pos_];
        if (c == '\\' || c == '{' || c == '}')
            break;
        ++pos_;
        if (c == '\r' || c == '\n' || c == '\0')
            continue;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            continue; // control characters are not text; what was meant is unknowable
        if (dest == Dest::ColorTable) {
            if (c == ';')
                commitColor();
        } else if (dest == Dest::FontTable) {
            if (c == ';') {
                flushBytes();
                commitFont();
            } else {
                bytes_.append(c);
            }
        } else if (c == '\t') {
            flushBytes();
            emitChar(u'\t');
        } else {
            bytes_.append(c);
        }
    }
}

void Reader::hexByte() {
    const char* d = data_.data();
    const qsizetype n = data_.size();
    ++pos_; // the quote
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < n) {
        const int h = hexValue(d[pos_]);
        if (h < 0)
            break;
        value = value * 16 + h;
        ++digits;
        ++pos_;
    }
    if (stack_.isEmpty() || skipping() || digits == 0)
        return;
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    const Dest dest = state().dest;
    if (value == '\t' && dest == Dest::Text) {
        flushBytes();
        emitChar(u'\t');
    } else if (value >= 0x20 && (dest == Dest::Text || dest == Dest::FontTable)) {
        bytes_.append(char(value));
    }
}

void Reader::controlSymbol(char c) {
    if (stack_.isEmpty())
        return;
    flushBytes();
    if (c == '*') {
        ignorableNext_ = true;
        return;
    }
    if (skipping())
        return;
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        if (state().dest == Dest::FontTable)
            fontName_.append(QLatin1Char(c));
        else
            emitChar(char16_t(c));
        break;
    case '~':
        emitChar(0x00A0);
        break;
    case '_':
        emitChar(0x2011);
        break;
    case '\t':
        emitChar(u'\t');
        break;
    case '\r':
    case '\n':
        applyWord(Word{Kw::Par}, false, 0);
        break;
    default: // \- optional hyphens, \: index subentries, \| formula marks
        break;
    }
}

void Reader::controlWord() {
    const char* d = data_.data();
    const qsizetype n = data_.size();
    const qsizetype start = pos_;
    while (pos_ < n && isLetter(d[pos_]))
        ++pos_;
    const std::string_view name(d + start,
                                size_t(std::min<qsizetype>(pos_ - start, MaxControlWordLength)));
    bool negative = false;
    bool hasParam = false;
    qint64 value = 0;
    if (pos_ < n && d[pos_] == '-' && pos_ + 1 < n && isDigit(d[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    while (pos_ < n && isDigit(d[pos_])) {
        hasParam = true;
        if (value < 0x7FFFFFFFLL)
            value = value * 10 + (d[pos_] - '0');
        ++pos_;
    }
    if (pos_ < n && d[pos_] == ' ')
        ++pos_;
    value = std::min<qint64>(value, 0x7FFFFFFFLL);
    const int param = int(negative ? -value : value);

    if (stack_.isEmpty())
        return;
    flushBytes();
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;

    const auto& table = words();
    const auto it = table.find(name);
    if (name == "bin") {
        // Binary data: its length is the parameter, whatever the bytes are.
        const qint64 skip = hasParam && param > 0 ? param : 0;
        pos_ += qsizetype(std::min<qint64>(skip, n - pos_));
        return;
    }
    if (skipping())
        return;
    if (pendingSkip_ > 0 && !(it != table.end() && it->second.kw == Kw::Unicode)) {
        --pendingSkip_;
        return;
    }
    if (it == table.end()) {
        if (ignorable)
            state().dest = Dest::Skip;
        return;
    }
    if (ignorable && it->second.kw != Kw::Skip) {
        // A starred group we read anyway would only be one we know; none of those matter.
        state().dest = Dest::Skip;
        return;
    }
    applyWord(it->second, hasParam, param);
}

void Reader::applyWord(const Word& w, bool hasParam, int param) {
    State& s = state();
    CharProps& c = s.chr;
    ParaProps& p = s.para;
    const bool on = !hasParam || param != 0;
    const bool text = s.dest == Dest::Text;
    switch (w.kw) {
    case Kw::Skip:
        s.dest = Dest::Skip;
        break;
    case Kw::FontTable:
        s.dest = Dest::FontTable;
        fontName_.clear();
        break;
    case Kw::ColorTable:
        s.dest = Dest::ColorTable;
        colors_.clear();
        red_ = green_ = blue_ = -1;
        break;
    case Kw::Ansi:
        docCodePage_ = 1252;
        break;
    case Kw::Mac:
        docCodePage_ = 10000;
        break;
    case Kw::Pc:
        docCodePage_ = 437;
        break;
    case Kw::Pca:
        docCodePage_ = 850;
        break;
    case Kw::AnsiCpg:
        if (hasParam && param > 0)
            docCodePage_ = param;
        break;
    case Kw::DefaultFont:
        defaultFont_ = param;
        c.font = param;
        break;
    case Kw::UnicodeSkip:
        s.unicodeSkip = std::clamp(param, 0, 16);
        break;
    case Kw::Unicode: {
        // A signed 16-bit UTF-16 unit; the fallback characters after it are for old readers.
        const auto unit = char16_t(param < 0 ? param + 65536 : param);
        // Control characters and object markers would be taken for structure, not text.
        if ((unit >= 0x20 || unit == '\t') && unit != QChar::ObjectReplacementCharacter) {
            if (s.dest == Dest::FontTable)
                fontName_.append(QChar(unit));
            else if (text)
                emitChar(unit);
        }
        pendingSkip_ = s.unicodeSkip;
        break;
    }
    case Kw::Font:
        if (s.dest == Dest::FontTable) {
            commitFont();
            fontEntry_ = param;
        } else {
            c.font = param;
        }
        break;
    case Kw::Charset:
        if (s.dest == Dest::FontTable)
            fonts_[fontEntry_].codePage = detail::codePageForCharset(param);
        break;
    case Kw::Cpg:
        if (s.dest == Dest::FontTable && param > 0)
            fonts_[fontEntry_].codePage = param;
        break;
    case Kw::FontSize:
        if (param > 0 && param <= 3276)
            c.halfPoints = param;
        else if (!hasParam)
            c.halfPoints = 24;
        break;
    case Kw::Bold:
        c.bold = on;
        break;
    case Kw::Italic:
        c.italic = on;
        break;
    case Kw::Underline:
        c.underline = on;
        break;
    case Kw::UnderlineNone:
        c.underline = false;
        break;
    case Kw::Strike:
        c.strike = on;
        break;
    case Kw::Hidden:
        c.hidden = on;
        break;
    case Kw::ColorFore:
        c.foreground = std::max(param, 0);
        break;
    case Kw::ColorBack:
        c.background = std::max(param, 0);
        break;
    case Kw::Super:
        c.verticalPosition = on ? 1 : 0;
        break;
    case Kw::Sub:
        c.verticalPosition = on ? -1 : 0;
        break;
    case Kw::NoSuperSub:
        c.verticalPosition = 0;
        break;
    case Kw::Plain:
        c = CharProps();
        c.font = defaultFont_;
        break;
    case Kw::Pard:
        p = ParaProps();
        break;
    case Kw::AlignLeft:
        p.align = 0;
        break;
    case Kw::AlignCenter:
        p.align = 1;
        break;
    case Kw::AlignRight:
        p.align = 2;
        break;
    case Kw::AlignJustify:
        p.align = 3;
        break;
    case Kw::LeftIndent:
        p.leftIndent = clampTwips(param);
        break;
    case Kw::RightIndent:
        p.rightIndent = clampTwips(param);
        break;
    case Kw::FirstIndent:
        p.firstIndent = clampTwips(param);
        break;
    case Kw::SpaceBefore:
        p.spaceBefore = std::clamp(param, 0, MaxTwips);
        break;
    case Kw::SpaceAfter:
        p.spaceAfter = std::clamp(param, 0, MaxTwips);
        break;
    case Kw::Par:
        if (text)
            endParagraph();
        break;
    case Kw::Line:
        if (text)
            emitChar(QChar::LineSeparator);
        break;
    case Kw::Tab:
    case Kw::NestCell:
        if (text)
            emitChar(u'\t');
        break;
    case Kw::Page:
        if (text)
            pageBreak();
        break;
    case Kw::PageBreakBefore:
        p.breakBefore = on;
        break;
    case Kw::Char:
        if (text)
            emitChar(w.ch);
        break;
    case Kw::RowDefaults:
        rowCellX_.clear();
        rowBorders_ = false;
        rowGap_ = 108;
        break;
    case Kw::CellX:
        if (rowCellX_.size() < MaxColumns)
            rowCellX_.append(clampTwips(param));
        break;
    case Kw::CellBorder:
        rowBorders_ = true;
        break;
    case Kw::CellGap:
        rowGap_ = std::clamp(param, 0, 1440);
        break;
    case Kw::Cell:
        if (text)
            cell();
        break;
    case Kw::Row:
        if (text && table_) {
            flushRun();
            applyBlockFormat();
            rowDone_ = true;
            col_ = 0;
            cursorCol_ = -1;
        }
        break;
    case Kw::InTable:
        p.inTable = true;
        break;
    case Kw::Red:
        red_ = std::clamp(param, 0, 255);
        break;
    case Kw::Green:
        green_ = std::clamp(param, 0, 255);
        break;
    case Kw::Blue:
        blue_ = std::clamp(param, 0, 255);
        break;
    case Kw::Bin:
        break;
    }
}

int Reader::codePage() {
    const int font = state().dest == Dest::FontTable ? fontEntry_ : state().chr.font;
    const auto it = fonts_.constFind(font);
    if (it != fonts_.constEnd() && it->codePage != 0)
        return it->codePage;
    return docCodePage_;
}

void Reader::flushBytes() {
    if (bytes_.isEmpty())
        return;
    const QString text = decoder_.decode(codePage(), bytes_);
    bytes_.clear();
    if (state().dest == Dest::FontTable)
        fontName_.append(text);
    else
        emitText(text);
}

void Reader::emitText(QStringView text) {
    State& s = state();
    if (s.dest != Dest::Text || s.chr.hidden || text.isEmpty())
        return;
    ensureContext();
    if (!(s.chr == runProps_)) {
        flushRun();
        runProps_ = s.chr;
    }
    run_.append(text);
}

QTextCharFormat Reader::charFormat(const CharProps& p) const {
    QTextCharFormat f;
    const auto font = fonts_.constFind(p.font);
    if (font != fonts_.constEnd() && !font->name.isEmpty())
        f.setFontFamilies({font->name});
    f.setFontPointSize(p.halfPoints / 2.0);
    if (p.bold)
        f.setFontWeight(QFont::Bold);
    if (p.italic)
        f.setFontItalic(true);
    if (p.underline)
        f.setFontUnderline(true);
    if (p.strike)
        f.setFontStrikeOut(true);
    if (p.foreground > 0 && p.foreground < colors_.size() && colors_[p.foreground].isValid())
        f.setForeground(colors_[p.foreground]);
    if (p.background > 0 && p.background < colors_.size() && colors_[p.background].isValid())
        f.setBackground(colors_[p.background]);
    if (p.verticalPosition > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (p.verticalPosition < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return f;
}

void Reader::flushRun() {
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, charFormat(runProps_));
    run_.clear();
}

void Reader::applyBlockFormat() {
    const ParaProps& p = state().para;
    QTextBlockFormat f;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    f.setAlignment(aligns[p.align]);
    // Twips to points, the unit the rest of the program lays pages out in.
    if (p.leftIndent)
        f.setLeftMargin(p.leftIndent / 20.0);
    if (p.rightIndent)
        f.setRightMargin(p.rightIndent / 20.0);
    if (p.firstIndent)
        f.setTextIndent(p.firstIndent / 20.0);
    if (p.spaceBefore)
        f.setTopMargin(p.spaceBefore / 20.0);
    if (p.spaceAfter)
        f.setBottomMargin(p.spaceAfter / 20.0);
    if ((breakBefore_ || p.breakBefore) && !table_)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    breakBefore_ = false;
    cursor_.setBlockFormat(f);
}

void Reader::endParagraph() {
    ensureContext();
    flushRun();
    applyBlockFormat();
    cursor_.insertBlock();
}

void Reader::pageBreak() {
    if (table_)
        return;
    flushRun();
    if (cursor_.positionInBlock() > 0)
        endParagraph();
    breakBefore_ = true;
}

void Reader::commitFont() {
    if (!fontName_.isEmpty()) {
        QString name = fontName_.trimmed();
        if (name.endsWith(QLatin1Char(';')))
            name.chop(1);
        fonts_[fontEntry_].name = name.trimmed();
        fontName_.clear();
    }
}

void Reader::commitColor() {
    if (red_ < 0 && green_ < 0 && blue_ < 0)
        colors_.append(QColor()); // the automatic colour
    else
        colors_.append(QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    red_ = green_ = blue_ = -1;
    if (colors_.size() > 4096)
        colors_.removeLast();
}

void Reader::ensureContext() {
    const bool want = state().para.inTable && !tablesDisabled_;
    if (want) {
        if (!table_)
            startTable();
        else if (rowDone_) {
            if (row_ + 1 >= table_->rows() && !growTable())
                return;
            ++row_;
            rowDone_ = false;
            col_ = 0;
            cursorCol_ = -1;
        }
        ensureCell();
    } else if (table_) {
        endTable();
    }
}

bool Reader::growTable() {
    // Rows are added in batches and the spares removed at the end: every change to the
    // table's cells makes Qt rebuild its grid, so one row at a time would take quadratic time.
    const int cols = table_->columns();
    int grow = std::clamp(table_->rows(), 1, 256);
    if (cellBudget_ < qsizetype(cols) * grow)
        grow = 1;
    if (cellBudget_ < cols) {
        // A hostile file could ask for millions of cells in a few bytes each.
        tablesDisabled_ = true;
        endTable();
        return false;
    }
    cellBudget_ -= qsizetype(cols) * grow;
    flushRun();
    table_->appendRows(grow);
    return true;
}

void Reader::startTable() {
    flushRun();
    const int cols = std::max<int>(1, int(rowCellX_.size()));
    QTextTableFormat f;
    QList<QTextLength> widths;
    int left = 0;
    for (int x : rowCellX_) {
        widths.append(QTextLength(QTextLength::FixedLength, std::max(x - left, 20) / 20.0));
        left = x;
    }
    f.setColumnWidthConstraints(widths);
    f.setCellPadding(rowGap_ / 20.0);
    f.setCellSpacing(0);
    f.setBorderCollapse(true);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorder(rowBorders_ ? 0.5 : 0);
    applyBlockFormat();
    // A table always follows a block of its own frame; reuse the paragraph before the table
    // rather than leave the empty one its \par opened.
    const QTextBlock block = cursor_.block();
    if (block.length() == 1 && block.previous().isValid()) {
        QTextCursor previous(block.previous());
        if (!previous.currentTable() && previous.currentFrame() == cursor_.currentFrame())
            cursor_.deletePreviousChar();
    }
    cellBudget_ -= cols;
    table_ = cursor_.insertTable(1, cols, f);
    row_ = 0;
    col_ = 0;
    cursorCol_ = 0;
    rowDone_ = false;
}

void Reader::ensureCell() {
    if (col_ == cursorCol_)
        return;
    flushRun();
    if (col_ >= table_->columns()) {
        if (cellBudget_ < table_->rows()) {
            tablesDisabled_ = true;
            endTable();
            return;
        }
        cellBudget_ -= table_->rows();
        table_->appendColumns(col_ - table_->columns() + 1);
    }
    cursor_ = table_->cellAt(row_, col_).firstCursorPosition();
    cursorCol_ = col_;
}

void Reader::cell() {
    if (tablesDisabled_) {
        emitChar(u'\t');
        return;
    }
    if (!state().para.inTable) {
        // \cell without \intbl: still a cell, as Word reads it.
        state().para.inTable = true;
    }
    ensureContext();
    if (!table_)
        return;
    flushRun();
    applyBlockFormat();
    if (col_ + 1 < MaxColumns)
        ++col_;
    else
        emitChar(u'\t');
}

void Reader::endTable() {
    flushRun();
    const int used = row_ + 1;
    if (table_->rows() > used)
        table_->removeRows(used, table_->rows() - used);
    cursor_ = table_->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    table_ = nullptr;
    rowDone_ = false;
}

} // namespace

bool looksLikeRtf(const QByteArray& data) {
    qsizetype i = 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' ||
                               data[i] == '\n' || data[i] == '\0'))
        ++i;
    return QByteArrayView(data).sliced(i).startsWith("{\\rtf");
}

bool read(const QByteArray& data, QTextDocument& doc, QString* error) {
    if (!looksLikeRtf(data)) {
        if (error)
            *error = QStringLiteral("The file is not rich text (RTF).");
        return false;
    }
    doc.clear();
    // One edit for the whole file: Qt then rebuilds its frame structure (tables) once at the
    // end instead of after every table, which made long documents take quadratic time. Reading
    // a file is not something to undo piece by piece.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    {
        QTextCursor edit(&doc);
        edit.beginEditBlock();
        Reader reader(data, doc);
        reader.run();
        edit.endEditBlock();
    }
    doc.setUndoRedoEnabled(undo);
    return true;
}

bool insert(const QByteArray& data, QTextCursor& cursor) {
    QTextDocument doc;
    if (!read(data, doc))
        return false;
    cursor.insertFragment(QTextDocumentFragment(&doc));
    return true;
}

} // namespace Rtf

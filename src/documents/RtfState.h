#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextFormat>

#include <array>

// The character and paragraph properties in force while reading, as RTF defines them (twips,
// colour table indexes), and their translation into Qt's formats.
namespace Rtf::detail {

// Where the text of the current group goes.
enum class Dest : quint8 {
    Text,
    Skip,
    FontTable,
    ColorTable,
    FieldInstruction,
    Picture,
    ShapeOnly, // a drawing shape: its text is dropped, a picture inside it is read
};

struct Font {
    QString name;
    int codePage = 0;
};

// The font and colour tables of the file.
struct Tables {
    QHash<int, Font> fonts;
    QList<QColor> colors;
    // The colour of a table index; invalid for the automatic colour or a bad index.
    QColor color(int index) const {
        return index > 0 && index < colors.size() ? colors[index] : QColor();
    }
};

struct Border {
    int width = 0;    // twips
    quint8 style = 0; // QTextFrameFormat::BorderStyle; 0 is none
    int color = 0;    // colour table index; 0 is automatic (black)
    bool shown() const { return style != 0; }
    bool operator==(const Border&) const = default;
};

struct CharProps {
    int font = -1;
    int halfPoints = 24; // the RTF default of 12 pt
    int foreground = 0;  // colour table index; 0 is the automatic colour
    int background = 0;
    qint8 verticalPosition = 0; // -1 subscript, +1 superscript
    quint8 field = 0;           // an Rtf::Field for page number fields
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool deleted = false;
    bool smallCaps = false;
    bool caps = false;
    bool operator==(const CharProps&) const = default;
};

struct TabStop {
    int position = 0; // twips from the left margin
    quint8 kind = 0;  // QTextOption::TabType
    bool operator==(const TabStop&) const = default;
};

struct ParaProps {
    int align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: 0 single, > 0 at least, < 0 exactly
    bool lineMultiple = false;
    bool rightToLeft = false;
    bool inTable = false;
    bool breakBefore = false;
    quint8 pendingTab = 0; // the alignment for the next \tx
    int shading = 0;       // colour table index of the background
    int borderSpacing = 0;
    std::array<Border, 4> borders; // in format::Edge order
    QList<TabStop> tabs;
};

// The properties of one group; each group starts with a copy of its parent's.
struct State {
    Dest dest = Dest::Text;
    CharProps chr;
    ParaProps para;
    int unicodeSkip = 1;
};

QTextCharFormat charFormat(const CharProps& p, const Tables& tables);
QTextBlockFormat blockFormat(const ParaProps& p, const Tables& tables);

// A border's width in pixels: a border that shows is never thinner than a hairline.
qreal borderPixels(const Border& b);

} // namespace Rtf::detail

#pragma once

#include <QTextFormat>

#include <cmath>

// What the RTF reader stores on a QTextDocument beyond Qt's own formats, shared by the reader,
// the writer and the print routine, and the one length unit they all use.
namespace Rtf::format {

// Lengths in a document are in pixels of 96 to the inch: the unit Qt's layout scales to the
// paint device for table widths and pictures, and the unit of a screen at its usual
// resolution. The print routine lays documents out at 96 dpi and scales the page, so that
// indents, spacing and tab stops (which Qt does not scale) print at their true size too.
constexpr double TwipsPerPixel = 15.0; // 1440 twips an inch / 96 pixels an inch

inline double pixels(double twips) {
    return twips / TwipsPerPixel;
}
inline int twips(double pixels) {
    return int(std::lround(pixels * TwipsPerPixel));
}

// Properties Qt has no name for.
enum Property : int {
    // Block: paragraph borders, drawn by the print routine. Widths in pixels (absent or 0: no
    // border), styles as QTextFrameFormat::BorderStyle, colours as QColor.
    BorderTopWidth = QTextFormat::UserProperty + 0x100,
    BorderLeftWidth,
    BorderBottomWidth,
    BorderRightWidth,
    BorderTopStyle,
    BorderLeftStyle,
    BorderBottomStyle,
    BorderRightStyle,
    BorderTopColor,
    BorderLeftColor,
    BorderBottomColor,
    BorderRightColor,
    BorderSpacing, // pixels between the text and the borders

    // Character: a field whose text the print routine replaces (a Field value).
    FieldKind,
    // Character: the colour was chosen by the reader for contrast with a dark cell shading
    // (the file asked for the automatic colour), so it is not written back.
    AutoColor,

    // Image: how the picture was stored (a PictureKind value) and its source size as the file
    // gave it (pixels for bitmaps, hundredths of a millimetre for metafiles).
    PictureFormat,
    PictureSourceWidth,
    PictureSourceHeight,

    // Table cell: the height of its row in twips (\\trrh), at least that or, when negative,
    // exactly; Qt has no row heights, so the print routine pads short rows to it.
    RowHeight,

    // Root frame: the page setup and the running heads; see RtfPage.h.
    PageSetupValues,
    RunningHeadFirst,
};

// Edges in the order of the border properties above.
enum Edge { Top, Left, Bottom, Right };

inline int borderWidthProperty(int edge) {
    return BorderTopWidth + edge;
}
inline int borderStyleProperty(int edge) {
    return BorderTopStyle + edge;
}
inline int borderColorProperty(int edge) {
    return BorderTopColor + edge;
}

enum class PictureKind : int { Png = 1, Jpeg, Wmf, Emf, Other };

// The value of one hexadecimal digit (in \'hh escapes and picture data), -1 for anything else.
inline int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Resource names of pictures: the image drawn, and the bytes the file held under a name of
// their own (a document keeps one resource a name, whatever its type), so that a picture is
// written back as it came, metafiles included. Both names end in a hash of the bytes.
inline constexpr char PictureScheme[] = "rtfpict";
inline constexpr char PictureDataScheme[] = "rtfpictdata";

} // namespace Rtf::format

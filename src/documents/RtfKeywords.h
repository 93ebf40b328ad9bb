#pragma once

#include <string_view>

// The control words the reader acts on, looked up by name.
namespace Rtf::detail {

enum class Kw : unsigned char {
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
    Deleted, // tracked deletion: read as accepted, so left out
    SmallCaps,
    Caps,
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
    RightToLeft,
    LeftToRight,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabPosition,
    TabBar,
    TabRight,
    TabCenter,
    TabDecimal,
    ParaShading,   // \cbpat: paragraph background colour
    ParaBorder,    // \brdrt \brdrl \brdrb \brdrr, in Word::ch the edge
    ParaBox,       // \box: all four edges
    BorderStyle,   // in Word::ch the QTextFrameFormat::BorderStyle, 0xFF for none
    BorderWidth,   // \brdrw
    BorderColor,   // \brdrcf
    BorderSpacing, // \brsp
    Par,
    Sect,
    Line,
    Tab,
    Page,
    PageBreakBefore,
    Char, // a special character, in Word::ch
    RowDefaults,
    RowLeft,
    RowAlign, // in Word::ch 0 left, 1 centre, 2 right
    RowHeader,
    RowHeight,
    RowPadding, // \trpaddl etc., in Word::ch the edge
    CellX,
    Cell,
    NestCell,
    Row,
    InTable,
    Red,
    Green,
    Blue,
    Bin,
    CellBorder, // \clbrdrt etc., in Word::ch the edge
    RowBorder,  // \trbrdrt etc., in Word::ch the edge; 4 inner horizontal, 5 inner vertical
    CellGap,
    CellPadding, // \clpadl etc., in Word::ch the edge
    CellMergeFirst,
    CellMerge,
    CellVMergeFirst,
    CellVMerge,
    CellShading,  // \clcbpat
    CellPattern,  // \clcfpat
    CellShadePct, // \clshdng
    CellVAlign,   // in Word::ch 0 top, 1 centre, 2 bottom
    PaperWidth,
    PaperHeight,
    MarginLeft,
    MarginRight,
    MarginTop,
    MarginBottom,
    Landscape,
    SectionDefaults,
    SectPaperWidth,
    SectPaperHeight,
    SectMarginLeft,
    SectMarginRight,
    SectMarginTop,
    SectMarginBottom,
    SectLandscape,
    HeaderY,
    FooterY,
    TitlePage,
    FacingPages,
    RunningHead, // in Word::ch the Rtf::RunningHead
    FieldInstruction,
    FieldResult,
    PageNumber, // \chpgn
    Picture,
    PictureType, // in Word::ch the format::PictureKind
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
    ShapePicture,  // \shppict: the picture itself, read
    ShapeInstance, // \shpinst: a shape; only its picture is read
};

struct Word {
    Kw kw;
    char16_t ch = 0;
};

// The word of that name; nullptr for a word the reader does not know.
const Word* lookup(std::string_view name);

} // namespace Rtf::detail

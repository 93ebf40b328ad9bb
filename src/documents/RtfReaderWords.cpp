#include "documents/RtfReader.h"

#include <QTextOption>

#include <algorithm>

namespace Rtf::detail {

void Reader::applyWord(const Word& w, bool hasParam, int param) {
    State& s = state();
    CharProps& c = s.chr;
    ParaProps& p = s.para;
    const bool text = s.dest == Dest::Text;
    if (applyCharWord(w, hasParam, param) || applyParagraphWord(w, hasParam, param) ||
        applyTableWord(w, hasParam, param))
        return;
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
        tables_.colors.clear();
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
            else if (s.dest == Dest::FieldInstruction)
                fieldInstruction_.append(QChar(unit));
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
            tables_.fonts[fontEntry_].codePage = detail::codePageForCharset(param);
        break;
    case Kw::Cpg:
        if (s.dest == Dest::FontTable && param > 0)
            tables_.fonts[fontEntry_].codePage = param;
        break;
    case Kw::Par:
        if (text && !c.deleted)
            builder_->paragraph(p);
        break;
    case Kw::Sect:
        if (text)
            builder_->paragraph(p);
        page_.nextSection();
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
            builder_->pageBreak(p);
        break;
    case Kw::Char:
        if (text)
            emitChar(w.ch);
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
    case Kw::PaperWidth:
    case Kw::PaperHeight:
    case Kw::MarginLeft:
    case Kw::MarginRight:
    case Kw::MarginTop:
    case Kw::MarginBottom:
    case Kw::HeaderY:
    case Kw::FooterY:
    case Kw::FacingPages:
        page_.document(w.kw, hasParam ? param : 1);
        break;
    case Kw::Landscape:
        page_.document(w.kw, 1);
        break;
    case Kw::SectionDefaults:
        page_.sectionDefaults();
        break;
    case Kw::SectPaperWidth:
    case Kw::SectPaperHeight:
    case Kw::SectMarginLeft:
    case Kw::SectMarginRight:
    case Kw::SectMarginTop:
    case Kw::SectMarginBottom:
    case Kw::SectLandscape:
    case Kw::TitlePage:
        page_.section(w.kw, hasParam ? param : 1);
        break;
    case Kw::RunningHead:
        // Only the first of each kind is read (the first section's), and none inside another.
        if (!text || runningDoc_ || runningSeen_[w.ch] || stack_.size() < 2) {
            s.dest = Dest::Skip;
            break;
        }
        startRunningHead(RunningHead(w.ch));
        stack_.back().opened = Opened::RunningHead;
        s.para = ParaProps();
        break;
    case Kw::FieldInstruction:
        s.dest = Dest::FieldInstruction;
        stack_.back().opened = Opened::FieldInstruction;
        fieldInstruction_.clear();
        break;
    case Kw::FieldResult:
        if (text && c.field != 0) {
            // A page number's result is whatever page the writer saw; the printer fills in
            // the real one, so one character stands for it (see emitText).
            fieldResultDepth_ = stack_.size();
            fieldResultEmitted_ = false;
        }
        break;
    case Kw::PageNumber:
        if (text) {
            CharProps number = c;
            number.field = quint8(Field::Page);
            builder_->text(u"1", number, p);
        }
        break;
    case Kw::Picture:
        if (!text && s.dest != Dest::ShapeOnly) {
            s.dest = Dest::Skip;
            break;
        }
        s.dest = Dest::Picture;
        stack_.back().opened = Opened::Picture;
        picture_ = Picture();
        break;
    case Kw::PictureType:
    case Kw::PictureWidth:
    case Kw::PictureHeight:
    case Kw::PictureGoalWidth:
    case Kw::PictureGoalHeight:
    case Kw::PictureScaleX:
    case Kw::PictureScaleY:
        if (s.dest == Dest::Picture)
            applyPictureWord(w, param);
        break;
    case Kw::ShapePicture:
        break; // the picture inside is read as any other
    case Kw::ShapeInstance:
        if (text)
            s.dest = Dest::ShapeOnly;
        break;
    default:
        break;
    }
}

bool Reader::applyCharWord(const Word& w, bool hasParam, int param) {
    CharProps& c = state().chr;
    const bool on = !hasParam || param != 0;
    switch (w.kw) {
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
    case Kw::Deleted:
        c.deleted = on;
        break;
    case Kw::SmallCaps:
        c.smallCaps = on;
        break;
    case Kw::Caps:
        c.caps = on;
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
    case Kw::Plain: {
        const quint8 field = c.field; // a field's result keeps its mark through \plain
        c = CharProps();
        c.font = defaultFont_;
        c.field = field;
        break;
    }
    default:
        return false;
    }
    return true;
}

bool Reader::applyParagraphWord(const Word& w, bool hasParam, int param) {
    ParaProps& p = state().para;
    const bool on = !hasParam || param != 0;
    switch (w.kw) {
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
    case Kw::RightToLeft:
        p.rightToLeft = true;
        break;
    case Kw::LeftToRight:
        p.rightToLeft = false;
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
        p.spaceBefore = clampLength(param);
        break;
    case Kw::SpaceAfter:
        p.spaceAfter = clampLength(param);
        break;
    case Kw::LineSpacing:
        p.lineSpacing = clampTwips(param);
        break;
    case Kw::LineMultiple:
        p.lineMultiple = on;
        break;
    case Kw::TabRight:
        p.pendingTab = QTextOption::RightTab;
        break;
    case Kw::TabCenter:
        p.pendingTab = QTextOption::CenterTab;
        break;
    case Kw::TabDecimal:
        p.pendingTab = QTextOption::DelimiterTab;
        break;
    case Kw::TabPosition:
    case Kw::TabBar:
        // Writer repeats its style's stops in the paragraph: one stop a position.
        p.tabs.removeIf([&](const TabStop& t) { return t.position == clampLength(param); });
        if (p.tabs.size() < 64)
            p.tabs.append(TabStop{clampLength(param), p.pendingTab});
        p.pendingTab = QTextOption::LeftTab;
        break;
    case Kw::ParaShading:
        p.shading = std::max(param, 0);
        break;
    case Kw::ParaBorder:
        border_ = {BorderTarget::Paragraph, int(w.ch)};
        p.borders[w.ch] = Border();
        break;
    case Kw::ParaBox:
        border_ = {BorderTarget::Box, 0};
        p.borders.fill(Border());
        break;
    case Kw::BorderStyle:
    case Kw::BorderWidth:
    case Kw::BorderColor:
        applyBorderWord(w, param);
        break;
    case Kw::BorderSpacing:
        if (border_.kind == BorderTarget::Paragraph || border_.kind == BorderTarget::Box)
            p.borderSpacing = std::clamp(param, 0, 1440);
        break;
    case Kw::PageBreakBefore:
        p.breakBefore = on;
        break;
    default:
        return false;
    }
    return true;
}

bool Reader::applyTableWord(const Word& w, bool hasParam, int param) {
    State& s = state();
    const bool text = s.dest == Dest::Text;
    const bool on = !hasParam || param != 0;
    switch (w.kw) {
    case Kw::RowDefaults:
        rowDef_ = RowDef();
        cellDef_ = CellDef();
        break;
    case Kw::RowLeft:
        rowDef_.left = clampTwips(param);
        break;
    case Kw::RowAlign:
        rowDef_.align = quint8(w.ch);
        break;
    case Kw::RowHeader:
        rowDef_.header = on;
        break;
    case Kw::RowHeight:
        rowDef_.height = clampTwips(param);
        break;
    case Kw::RowPadding:
        rowDef_.padding[w.ch] = std::clamp(param, 0, 1440);
        break;
    case Kw::RowBorder:
        border_ = {BorderTarget::Row, int(w.ch)};
        rowDef_.borders[w.ch] = Border();
        break;
    case Kw::CellGap:
        rowDef_.gap = std::clamp(param, 0, 1440);
        break;
    case Kw::CellBorder:
        border_ = {BorderTarget::Cell, int(w.ch)};
        cellDef_.borders[w.ch] = Border();
        break;
    case Kw::CellPadding:
        cellDef_.padding[w.ch] = std::clamp(param, 0, 1440);
        break;
    case Kw::CellMergeFirst:
        cellDef_.hmerge = 1;
        break;
    case Kw::CellMerge:
        cellDef_.hmerge = 2;
        break;
    case Kw::CellVMergeFirst:
        cellDef_.vmerge = 1;
        break;
    case Kw::CellVMerge:
        cellDef_.vmerge = 2;
        break;
    case Kw::CellShading:
        cellDef_.shading = std::max(param, 0);
        break;
    case Kw::CellPattern:
        cellDef_.pattern = std::max(param, 0);
        break;
    case Kw::CellShadePct:
        cellDef_.shadePct = std::clamp(param, 0, 10000);
        break;
    case Kw::CellVAlign:
        cellDef_.valign = quint8(w.ch);
        break;
    case Kw::CellX:
        cellDef_.right = clampTwips(param);
        if (rowDef_.cells.size() < TableBuilder::MaxColumns)
            rowDef_.cells.append(cellDef_);
        cellDef_ = CellDef();
        border_ = BorderTarget();
        break;
    case Kw::Cell:
        if (text) {
            // \cell without \intbl: still a cell, as Word reads it.
            s.para.inTable = true;
            builder_->cell(s.para);
        }
        break;
    case Kw::Row:
        if (text)
            builder_->row(rowDef_);
        break;
    case Kw::InTable:
        s.para.inTable = true;
        break;
    default:
        return false;
    }
    return true;
}

void Reader::applyBorderWord(const Word& w, int param) {
    const auto apply = [&](Border& b) {
        if (w.kw == Kw::BorderStyle)
            b.style = w.ch == 0xFF ? 0 : quint8(w.ch);
        else if (w.kw == Kw::BorderWidth)
            b.width = std::clamp(param, 0, 255);
        else
            b.color = std::max(param, 0);
    };
    ParaProps& p = state().para;
    switch (border_.kind) {
    case BorderTarget::None:
        break;
    case BorderTarget::Paragraph:
        apply(p.borders[size_t(border_.edge)]);
        break;
    case BorderTarget::Box:
        for (Border& b : p.borders)
            apply(b);
        break;
    case BorderTarget::Cell:
        apply(cellDef_.borders[size_t(border_.edge)]);
        break;
    case BorderTarget::Row:
        apply(rowDef_.borders[size_t(border_.edge)]);
        break;
    }
}

void Reader::applyPictureWord(const Word& w, int param) {
    const int size = std::clamp(param, 0, MaxTwips);
    switch (w.kw) {
    case Kw::PictureType:
        picture_.kind = format::PictureKind(w.ch);
        break;
    case Kw::PictureWidth:
        picture_.sourceWidth = size;
        break;
    case Kw::PictureHeight:
        picture_.sourceHeight = size;
        break;
    case Kw::PictureGoalWidth:
        picture_.goalWidth = size;
        break;
    case Kw::PictureGoalHeight:
        picture_.goalHeight = size;
        break;
    case Kw::PictureScaleX:
        picture_.scaleX = size;
        break;
    case Kw::PictureScaleY:
        picture_.scaleY = size;
        break;
    default:
        break;
    }
}

} // namespace Rtf::detail

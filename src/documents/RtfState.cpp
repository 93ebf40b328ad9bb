#include "documents/RtfState.h"
#include "documents/RtfFormat.h"

#include <QFont>
#include <QTextOption>

#include <algorithm>

namespace Rtf::detail {

namespace {

// The thinnest line worth drawing: at 96 to the inch, a third of a pixel is a quarter point,
// which every printer still draws.
constexpr qreal HairlinePixels = 1.0 / 3.0;

} // namespace

qreal borderPixels(const Border& b) {
    if (!b.shown())
        return 0;
    return std::max(format::pixels(b.width), HairlinePixels);
}

QTextCharFormat charFormat(const CharProps& p, const Tables& tables) {
    QTextCharFormat f;
    const auto font = tables.fonts.constFind(p.font);
    if (font != tables.fonts.constEnd() && !font->name.isEmpty())
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
    if (p.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    else if (p.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    if (const QColor c = tables.color(p.foreground); c.isValid())
        f.setForeground(c);
    if (const QColor c = tables.color(p.background); c.isValid())
        f.setBackground(c);
    if (p.verticalPosition > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (p.verticalPosition < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (p.field != 0)
        f.setProperty(format::FieldKind, int(p.field));
    return f;
}

QTextBlockFormat blockFormat(const ParaProps& p, const Tables& tables) {
    QTextBlockFormat f;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    Qt::Alignment align = aligns[std::clamp(p.align, 0, 3)];
    if (p.rightToLeft) {
        // RTF's left and right are the page's; Qt swaps them in a right-to-left paragraph
        // unless told they are absolute.
        f.setLayoutDirection(Qt::RightToLeft);
        if (p.align == 0 || p.align == 2)
            align |= Qt::AlignAbsolute;
    }
    f.setAlignment(align);
    if (p.leftIndent)
        f.setLeftMargin(format::pixels(p.leftIndent));
    if (p.rightIndent)
        f.setRightMargin(format::pixels(p.rightIndent));
    if (p.firstIndent)
        f.setTextIndent(format::pixels(p.firstIndent));
    if (p.spaceBefore)
        f.setTopMargin(format::pixels(p.spaceBefore));
    if (p.spaceAfter)
        f.setBottomMargin(format::pixels(p.spaceAfter));
    if (p.lineSpacing != 0) {
        if (p.lineMultiple) {
            // 240 is one line.
            const int percent = std::abs(p.lineSpacing) * 100 / 240;
            if (percent != 100 && percent > 0)
                f.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
        } else if (p.lineSpacing > 0) {
            f.setLineHeight(format::pixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
        } else {
            f.setLineHeight(format::pixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
        }
    }
    if (!p.tabs.isEmpty()) {
        // RTF measures tab stops from the margin, Qt from the paragraph's indent.
        QList<QTextOption::Tab> tabs;
        for (const TabStop& t : p.tabs) {
            const qreal at = format::pixels(t.position - p.leftIndent);
            if (at <= 0)
                continue;
            QTextOption::Tab tab(at, QTextOption::TabType(t.kind));
            if (t.kind == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            tabs.append(tab);
        }
        std::sort(tabs.begin(), tabs.end(),
                  [](const auto& a, const auto& b) { return a.position < b.position; });
        f.setTabPositions(tabs);
    }
    if (const QColor c = tables.color(p.shading); c.isValid())
        f.setBackground(c);
    bool bordered = false;
    for (int edge = 0; edge < 4; ++edge) {
        const Border& b = p.borders[size_t(edge)];
        if (!b.shown())
            continue;
        bordered = true;
        f.setProperty(format::borderWidthProperty(edge), borderPixels(b));
        f.setProperty(format::borderStyleProperty(edge), int(b.style));
        const QColor c = tables.color(b.color);
        f.setProperty(format::borderColorProperty(edge), c.isValid() ? c : QColor(Qt::black));
    }
    if (bordered && p.borderSpacing > 0)
        f.setProperty(format::BorderSpacing, format::pixels(p.borderSpacing));
    return f;
}

} // namespace Rtf::detail

#include "documents/RtfPageReader.h"

#include <algorithm>

namespace Rtf::detail {

namespace {

constexpr int MaxTwips = 31680 * 4; // four times a Letter page's height

} // namespace

std::optional<PageSetup> PageReader::result() const {
    if (!given_)
        return std::nullopt;
    PageSetup p;
    const auto pick = [&](int i, int& out) {
        if (sect_.v[i] >= 0)
            out = sect_.v[i];
        else if (doc_.v[i] >= 0)
            out = doc_.v[i];
    };
    pick(0, p.paperWidth);
    pick(1, p.paperHeight);
    pick(2, p.marginLeft);
    pick(3, p.marginRight);
    pick(4, p.marginTop);
    pick(5, p.marginBottom);
    pick(6, p.headerTop);
    pick(7, p.footerBottom);
    int flag = 0;
    pick(8, flag);
    p.titlePage = flag > 0;
    flag = 0;
    pick(9, flag);
    p.facingPages = flag > 0;
    flag = 0;
    pick(10, flag);
    if (flag > 0 && p.paperWidth < p.paperHeight)
        std::swap(p.paperWidth, p.paperHeight);
    return p;
}

void PageReader::set(Values& to, Kw kw, int v) {
    const int length = std::clamp(v, 0, MaxTwips);
    switch (kw) {
    case Kw::PaperWidth:
    case Kw::SectPaperWidth:
        to.v[0] = length;
        break;
    case Kw::PaperHeight:
    case Kw::SectPaperHeight:
        to.v[1] = length;
        break;
    case Kw::MarginLeft:
    case Kw::SectMarginLeft:
        to.v[2] = length;
        break;
    case Kw::MarginRight:
    case Kw::SectMarginRight:
        to.v[3] = length;
        break;
    case Kw::MarginTop:
    case Kw::SectMarginTop:
        to.v[4] = length;
        break;
    case Kw::MarginBottom:
    case Kw::SectMarginBottom:
        to.v[5] = length;
        break;
    case Kw::HeaderY:
        to.v[6] = length;
        break;
    case Kw::FooterY:
        to.v[7] = length;
        break;
    case Kw::TitlePage:
        to.v[8] = v != 0;
        break;
    case Kw::FacingPages:
        to.v[9] = v != 0;
        break;
    case Kw::Landscape:
    case Kw::SectLandscape:
        to.v[10] = v != 0;
        break;
    default:
        break;
    }
}

} // namespace Rtf::detail

#pragma once

#include "documents/RtfKeywords.h"
#include "documents/RtfPage.h"

#include <optional>

namespace Rtf::detail {

// The page setup as the file gives it: document-wide values, overridden by those of the first
// section where it has its own.
class PageReader {
public:
    void document(Kw kw, int v) {
        given_ = true;
        set(doc_, kw, v);
    }
    void section(Kw kw, int v) {
        if (sections_ > 0)
            return;
        given_ = true;
        set(sect_, kw, v);
    }
    void sectionDefaults() {
        if (sections_ == 0)
            sect_ = Values();
    }
    void nextSection() { ++sections_; }

    std::optional<PageSetup> result() const;

private:
    struct Values {
        int v[11] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    };
    static void set(Values& to, Kw kw, int v);
    Values doc_;
    Values sect_;
    int sections_ = 0;
    bool given_ = false;
};

} // namespace Rtf::detail

#pragma once

#include "documents/RtfBuilder.h"
#include "documents/RtfCodePages.h"
#include "documents/RtfKeywords.h"
#include "documents/RtfPage.h"
#include "documents/RtfPageReader.h"
#include "documents/RtfPicture.h"
#include "documents/RtfState.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <algorithm>
#include <memory>

class QTextDocument;

// The RTF reader: RtfReader.cpp splits the file into groups, control words and text;
// RtfReaderWords.cpp says what each control word does.
namespace Rtf::detail {

// Deeper groups than this are read as ignored content: real files nest a dozen levels at most,
// and hostile ones would otherwise grow the state stack without bound.
constexpr int MaxDepth = 256;
constexpr int MaxTwips = 31680 * 4; // four times a Letter page's height
constexpr int MaxControlWordLength = 32;

// What a group began, to be finished when it closes.
enum class Opened : quint8 { Nothing, RunningHead, Picture, FieldInstruction };

struct GroupState {
    State s;
    Opened opened = Opened::Nothing;
};

// Which border the next \brdrs, \brdrw and \brdrcf describe.
struct BorderTarget {
    enum Kind : quint8 { None, Paragraph, Box, Cell, Row } kind = None;
    int edge = 0;
};

inline int clampTwips(int v) {
    return std::clamp(v, -MaxTwips, MaxTwips);
}

inline int clampLength(int v) {
    return std::clamp(v, 0, MaxTwips);
}

class Reader {
public:
    Reader(QByteArrayView data, QTextDocument& doc)
        : data_(data), doc_(doc), body_(doc, tables_, budget_, rowDef_) {
        builder_ = &body_;
        budget_.cells = 4096 + data.size() / 4;
        budget_.merges = 20'000'000 + data.size() * 16;
    }
    void run();

private:
    State& state() { return stack_.back().s; }
    bool skipping() const { return excessDepth_ > 0 || stack_.back().s.dest == Dest::Skip; }

    void openGroup();
    void closeGroup();
    void finishGroup(const GroupState& closing);
    void controlWord();
    void controlSymbol(char c);
    void hexByte();
    void textBytes();
    void applyWord(const Word& w, bool hasParam, int param);
    bool applyCharWord(const Word& w, bool hasParam, int param);
    bool applyParagraphWord(const Word& w, bool hasParam, int param);
    bool applyTableWord(const Word& w, bool hasParam, int param);
    void applyBorderWord(const Word& w, int param);
    void applyPictureWord(const Word& w, int param);

    void emitText(QStringView text);
    void emitChar(char16_t c) { emitText(QStringView(&c, 1)); }
    void flushBytes();
    int codePage();
    void commitFont();
    void commitColor();
    void startRunningHead(RunningHead which);
    void endRunningHead();

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool done_ = false;
    QList<GroupState> stack_;
    int excessDepth_ = 0;
    bool ignorableNext_ = false;
    int pendingSkip_ = 0;
    int docCodePage_ = 1252;
    int defaultFont_ = 0;
    ParaProps lastPara_;

    QTextDocument& doc_;
    Tables tables_;
    Budget budget_;
    RowDef rowDef_;
    CellDef cellDef_;
    BorderTarget border_;
    Builder body_;
    Builder* builder_ = nullptr;

    int fontEntry_ = 0;
    QString fontName_;
    int red_ = -1, green_ = -1, blue_ = -1;
    detail::CodePageDecoder decoder_;
    QByteArray bytes_;

    PageReader page_;
    Picture picture_;
    QString fieldInstruction_;
    // The depth of the group of a page field's result (\\fldrslt) being read, 0 for none. Its
    // text stands for the number: one "1" in the format of the result's first text, which may
    // be set inside the group after \\fldrslt (as this program's own writer puts it).
    qsizetype fieldResultDepth_ = 0;
    bool fieldResultEmitted_ = false;
    std::unique_ptr<QTextDocument> runningDoc_;
    std::unique_ptr<Builder> runningBuilder_;
    RunningHead running_ = RunningHead::Header;
    RowDef bodyRowDef_;
    bool runningSeen_[RunningHeadCount] = {};
};

} // namespace Rtf::detail

#include "documents/RtfReader.h"

#include "documents/Rtf.h"
#include "documents/RtfFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <algorithm>
#include <string_view>

namespace Rtf::detail {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The field a field instruction asks for, by its first word.
Field fieldFor(const QString& instruction) {
    const QString word = instruction.trimmed().section(u' ', 0, 0).toUpper();
    if (word == QLatin1String("PAGE"))
        return Field::Page;
    if (word == QLatin1String("NUMPAGES"))
        return Field::NumPages;
    return Field::None;
}

} // namespace

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
    // A file cut short inside its groups: what each open group began is finished, innermost
    // first, so that a header or picture read so far is kept.
    while (stack_.size() > 1) {
        const GroupState closing = stack_.takeLast();
        finishGroup(closing);
    }
    if (!stack_.isEmpty())
        lastPara_ = state().para;
    if (runningDoc_)
        endRunningHead();
    body_.finish(lastPara_);
    setPageSetup(doc_, page_.result());
}

void Reader::openGroup() {
    flushBytes();
    pendingSkip_ = 0;
    if (stack_.size() >= MaxDepth) {
        ++excessDepth_;
        return;
    }
    stack_.append(GroupState{stack_.isEmpty() ? State() : state(), Opened::Nothing});
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
    if (stack_.size() == 1) {
        lastPara_ = state().para;
        stack_.removeLast();
        done_ = true;
        return;
    }
    const GroupState closing = stack_.takeLast();
    if (fieldResultDepth_ > stack_.size()) {
        // The field's result ends; one without text still stands for its number.
        if (!fieldResultEmitted_ && closing.s.dest == Dest::Text)
            builder_->text(u"1", closing.s.chr, closing.s.para);
        fieldResultDepth_ = 0;
    }
    finishGroup(closing);
}

void Reader::finishGroup(const GroupState& closing) {
    if (closing.s.dest == Dest::FontTable)
        commitFont();
    switch (closing.opened) {
    case Opened::Nothing:
        break;
    case Opened::Picture: {
        const QTextImageFormat f = addPicture(builder_->document(), picture_);
        picture_ = Picture();
        if (!f.name().isEmpty() && !stack_.isEmpty())
            builder_->image(f, state().para);
        break;
    }
    case Opened::FieldInstruction:
        // The kind of field goes to the field's group, so its result is marked with it.
        if (!stack_.isEmpty())
            state().chr.field = quint8(fieldFor(fieldInstruction_));
        fieldInstruction_.clear();
        break;
    case Opened::RunningHead:
        lastPara_ = closing.s.para;
        endRunningHead();
        break;
    }
}

void Reader::startRunningHead(RunningHead which) {
    body_.flush();
    bodyRowDef_ = rowDef_;
    running_ = which;
    runningSeen_[int(which)] = true;
    runningDoc_ = std::make_unique<QTextDocument>();
    runningBuilder_ = std::make_unique<Builder>(*runningDoc_, tables_, budget_, rowDef_);
    builder_ = runningBuilder_.get();
}

void Reader::endRunningHead() {
    builder_->finish(lastPara_);
    // A header's last paragraph mark opens an empty paragraph that is not the header's.
    QTextBlock last = runningDoc_->lastBlock();
    if (last.length() == 1 && last.previous().isValid() &&
        !QTextCursor(last.previous()).currentTable()) {
        QTextCursor c(last);
        c.deletePreviousChar();
    }
    const QString text = runningDoc_->toRawText();
    const bool empty = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isSpace() && c != QChar::ObjectReplacementCharacter;
    });
    if (!empty)
        setRunningHead(doc_, running_, write(*runningDoc_));
    builder_ = &body_;
    runningBuilder_.reset();
    runningDoc_.reset();
    rowDef_ = bodyRowDef_;
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
    if (dest == Dest::Picture) {
        const qsizetype start = pos_;
        while (pos_ < n && d[pos_] != '\\' && d[pos_] != '{' && d[pos_] != '}')
            ++pos_;
        picture_.appendHex(data_.sliced(start, pos_ - start));
        return;
    }
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
        const int h = format::hexValue(d[pos_]);
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
    } else if (value >= 0x20 &&
               (dest == Dest::Text || dest == Dest::FontTable || dest == Dest::FieldInstruction)) {
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
        else if (state().dest == Dest::FieldInstruction)
            fieldInstruction_.append(QLatin1Char(c));
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

    if (name == "bin") {
        // Binary data: its length is the parameter, whatever the bytes are. In a picture it
        // is the picture.
        const qint64 skip = hasParam && param > 0 ? param : 0;
        const qsizetype length = qsizetype(std::min<qint64>(skip, n - pos_));
        if (!skipping() && state().dest == Dest::Picture)
            picture_.data.append(data_.sliced(pos_, length));
        pos_ += length;
        return;
    }
    if (skipping())
        return;
    const Word* w = lookup(name);
    if (pendingSkip_ > 0 && !(w && w->kw == Kw::Unicode)) {
        --pendingSkip_;
        return;
    }
    if (!w) {
        if (ignorable)
            state().dest = Dest::Skip;
        return;
    }
    if (ignorable && w->kw != Kw::Skip && w->kw != Kw::FieldInstruction &&
        w->kw != Kw::ShapePicture && w->kw != Kw::ShapeInstance) {
        // A starred group we read anyway would only be one we know; none of those matter.
        state().dest = Dest::Skip;
        return;
    }
    applyWord(*w, hasParam, param);
}

int Reader::codePage() {
    const int font = state().dest == Dest::FontTable ? fontEntry_ : state().chr.font;
    const auto it = tables_.fonts.constFind(font);
    if (it != tables_.fonts.constEnd() && it->codePage != 0)
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
    else if (state().dest == Dest::FieldInstruction && fieldInstruction_.size() < 1024)
        fieldInstruction_.append(text);
    else
        emitText(text);
}

void Reader::emitText(QStringView text) {
    State& s = state();
    if (s.dest != Dest::Text || s.chr.hidden || s.chr.deleted || text.isEmpty())
        return;
    if (fieldResultDepth_ > 0) {
        if (!fieldResultEmitted_)
            builder_->text(u"1", s.chr, s.para);
        fieldResultEmitted_ = true;
        return;
    }
    builder_->text(text, s.chr, s.para);
}

void Reader::commitFont() {
    if (!fontName_.isEmpty()) {
        QString name = fontName_.trimmed();
        if (name.endsWith(QLatin1Char(';')))
            name.chop(1);
        tables_.fonts[fontEntry_].name = name.trimmed();
        fontName_.clear();
    }
}

void Reader::commitColor() {
    if (red_ < 0 && green_ < 0 && blue_ < 0)
        tables_.colors.append(QColor()); // the automatic colour
    else
        tables_.colors.append(QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    red_ = green_ = blue_ = -1;
    if (tables_.colors.size() > 4096)
        tables_.colors.removeLast();
}

} // namespace Rtf::detail

namespace Rtf {

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
        detail::Reader reader(data, doc);
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
    // The pictures' images live in the document's resources, which a fragment does not carry.
    if (QTextDocument* target = cursor.document()) {
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!f.isImageFormat())
                    continue;
                const QString name = f.toImageFormat().name();
                const QUrl image(name);
                const QUrl data = detail::pictureDataUrl(name);
                target->addResource(QTextDocument::ImageResource, image,
                                    doc.resource(QTextDocument::ImageResource, image));
                target->addResource(QTextDocument::UserResource, data,
                                    doc.resource(QTextDocument::UserResource, data));
            }
    }
    cursor.insertFragment(QTextDocumentFragment(&doc));
    return true;
}

} // namespace Rtf

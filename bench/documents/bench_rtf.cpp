// RTF reading times, each the median of several runs in milliseconds: a 1 MB file of the kind
// word processors write (paragraphs with mixed formatting and a small table every 50 of them),
// and single tables of 50,000 to 200,000 rows, to show whether the time grows with the file
// alone (equal time per row) or faster.
#include "documents/Rtf.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianMs(int runs, const QByteArray& rtf, int* chars) {
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        QTextDocument doc;
        QElapsedTimer t;
        t.start();
        Rtf::read(rtf, doc);
        ms.push_back(t.nsecsElapsed() / 1e6);
        *chars = int(doc.toRawText().size());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

QByteArray mixedFile(qsizetype size) {
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
        "Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}\\viewkind4\\uc1\n";
    int n = 0;
    while (out.size() < size) {
        out += "\\pard\\qj\\li360\\sa120 {\\f0\\fs22 Tear off existing roofing, inspect the "
               "deck and }{\\b\\f1\\fs24\\cf1 replace damaged sheets}{\\i  at \\u8364?85 per "
               "sheet, caf\\'e9 n\\'b0 }" +
               QByteArray::number(n) + "\\par\n";
        if (++n % 50 == 0) {
            out += "\\trowd\\cellx3000\\cellx6000\\cellx9000";
            for (int r = 0; r < 20; ++r)
                out += "\\pard\\intbl Shingles\\cell 32\\cell $1,120.00\\cell\\row\n";
            out += "\\pard ";
        }
    }
    return out + "}";
}

// One table as Writer saves it: every row repeats its definition, with borders.
QByteArray tableFile(int rows) {
    QByteArray row = "\\trowd\\trgaph72\\trleft0";
    for (int x : {3000, 6000, 9000})
        row += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
               "\\clbrdrr\\brdrs\\brdrw10\\cellx" +
               QByteArray::number(x);
    QByteArray out = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\paperw12240\\paperh15840\n";
    out.reserve(rows * (row.size() + 60));
    for (int r = 0; r < rows; ++r)
        out += row + "\\pard\\intbl Shingles\\cell " + QByteArray::number(r) +
               "\\cell $1,120.00\\cell\\row\n";
    return out + "\\pard}";
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int chars = 0;
    const QByteArray mixed = mixedFile(1 << 20);
    const double mixedMs = medianMs(5, mixed, &chars);
    std::printf("Read a %.2f MB RTF file: median %.1f ms; %d characters\n",
                mixed.size() / 1048576.0, mixedMs, chars);
    for (int rows : {50000, 100000, 200000}) {
        const QByteArray table = tableFile(rows);
        const double ms = medianMs(rows > 100000 ? 1 : 3, table, &chars);
        std::printf("Read a table of %d rows (%.1f MB): %.1f ms, %.2f us a row; %d characters\n",
                    rows, table.size() / 1048576.0, ms, ms * 1000 / rows, chars);
    }
    std::printf("goal: time a row the same at every size; 1 MB under 200 ms\n");
    return 0;
}

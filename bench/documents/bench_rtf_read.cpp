// Reading a 1 MB RTF file of the kind Word writes: formatted runs, Unicode escapes and a table.
#include "documents/Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QByteArray makeDocument(qsizetype size) {
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

void readOneMegabyte(benchmark::State& state) {
    const QByteArray data = makeDocument(1 << 20);
    for (auto _ : state) {
        QTextDocument doc;
        Rtf::read(data, doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(readOneMegabyte)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

// Feeds arbitrary bytes to the RTF reader, then writes the result and reads that back: the
// reader must survive anything, and the writer must cope with whatever the reader built.
#include "documents/Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Fonts in character formats want a GUI application; the offscreen platform needs no
    // display.
    static int argc = 3;
    static char arg0[] = "fuzz_rtf", arg1[] = "-platform", arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Most inputs lack the signature; prefix it now and then so the parser itself is reached.
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.startsWith("{\\rtf") && size > 0 && data[0] % 2 == 0)
        bytes.prepend("{\\rtf1 ");
    QTextDocument doc;
    if (!Rtf::read(bytes, doc))
        return 0;
    const QByteArray out = Rtf::write(doc);
    QTextDocument again;
    if (!Rtf::read(out, again))
        __builtin_trap(); // the writer's output must always be RTF
    return 0;
}

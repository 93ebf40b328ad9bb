// The RTF tests in one program: reading and writing, the structure the reader builds, and
// printing.
#include "tst_rtf.h"
#include "tst_rtf_print.h"
#include "tst_rtf_structure.h"

#include <QGuiApplication>
#include <QTest>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    int failed = 0;
    failed += runRtfTests(argc, argv);
    {
        TestRtfStructure t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        TestRtfPrint t;
        failed += QTest::qExec(&t, argc, argv);
    }
    return failed == 0 ? 0 : 1;
}

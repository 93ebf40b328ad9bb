#pragma once

// Reading and writing RTF text and formatting (tst_rtf.cpp).
int runRtfTests(int argc, char** argv);

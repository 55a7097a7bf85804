// Test entry point: a headless application so canvases can use real fonts.
#include "application_start.h"
#include "chapter_pdf.h"
#include "faces.h"
#include "pdf_module.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    returnFreedMemoryPromptly();  // as the viewers start: the storms measure their memory
    QApplication app(argc, argv);
    installFaceSubstitutions();
    setChapterPdfWriter(&writeChapterPdf);  // linked in; the viewers' module is tried by running them
    return RUN_ALL_TESTS();
}

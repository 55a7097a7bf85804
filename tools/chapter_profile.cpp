// chapter_profile CHAPTER FILE
//
// Writes what a viewer's manual page takes from its chapter's profile (the
// title, the last page, whether F1 skips paced drawing) to FILE as CMake
// set() lines, for cmake/ViewerManual.cmake to read at build time. The
// profile lives in the chapter's code, so the build asks the code.
#include "chapter_catalog.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace shell;

namespace {

// A CMake bracket argument holding text as it is: no escapes, and a bracket
// long enough that the text cannot close it.
std::string bracket(const std::string& text) {
    std::string eq;
    while (text.find("]" + eq + "]") != std::string::npos) eq += '=';
    return "[" + eq + "[" + text + "]" + eq + "]";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: chapter_profile CHAPTER FILE\n");
        return 2;
    }
    const std::unique_ptr<Chapter> chapter = makeChapter(QString::fromLocal8Bit(argv[1]));
    if (!chapter) {
        std::fprintf(stderr, "chapter_profile: there is no chapter %s\n", argv[1]);
        return 1;
    }
    const ChapterProfile& p = chapter->profile();
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << "set(VIEWER_TITLE " << bracket(p.title.toStdString()) << ")\n"
        << "set(VIEWER_LAST_PAGE " << p.pages - 1 << ")\n"
        << "set(VIEWER_F1_SKIPS_PACING " << (p.f1SetsSkipWait ? 1 : 0) << ")\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "chapter_profile: %s could not be written\n", argv[2]);
        return 1;
    }
    return 0;
}

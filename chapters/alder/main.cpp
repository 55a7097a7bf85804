#include "alder_chapter.h"
#include "viewer_main.h"

int main(int argc, char** argv) {
    return runViewer(argc, argv, std::make_unique<AlderChapter>());
}

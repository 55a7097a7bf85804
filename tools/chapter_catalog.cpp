#include "chapter_catalog.h"

#include <algorithm>

using namespace typeset;
using namespace shell;
using namespace chapters;

std::unique_ptr<shell::Chapter> makeChapter(const QString& name) {
    const auto& t = chapterTable();
    auto it = std::find_if(t.begin(), t.end(), [&](const ChapterEntry& e) { return e.name == name; });
    return it == t.end() ? nullptr : it->make();
}

QStringList chapterNames() {
    QStringList names;
    for (const ChapterEntry& e : chapterTable()) names << e.name;
    names.sort();
    return names;
}

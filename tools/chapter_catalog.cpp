#include "chapter_catalog.h"

#include "alder_chapter.h"
#include "hazel_chapter.h"
#include "specimen_chapter.h"

#include <functional>
#include <map>

namespace {
const std::map<QString, std::function<std::unique_ptr<Chapter>()>>& catalog() {
    static const std::map<QString, std::function<std::unique_ptr<Chapter>()>> c = {
        {QStringLiteral("alder"), [] { return std::make_unique<AlderChapter>(); }},
        {QStringLiteral("hazel"), [] { return std::make_unique<HazelChapter>(); }},
        {QStringLiteral("specimen"), [] { return std::make_unique<SpecimenChapter>(); }},
    };
    return c;
}
}  // namespace

std::unique_ptr<Chapter> makeChapter(const QString& name) {
    auto it = catalog().find(name);
    return it == catalog().end() ? nullptr : it->second();
}

QStringList chapterNames() {
    QStringList names;
    for (const auto& [name, make] : catalog()) names << name;
    return names;
}

// Every chapter the developer tools can open, by deliverable name.
#pragma once

#include "chapter.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct ChapterEntry {
    QString name;
    std::function<std::unique_ptr<shell::Chapter>()> make;
};

// Generated at configure time from the chapters the build adds.
const std::vector<ChapterEntry>& chapterTable();

std::unique_ptr<shell::Chapter> makeChapter(const QString& name);
QStringList chapterNames();

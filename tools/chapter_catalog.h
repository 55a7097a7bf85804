// Every chapter the developer tools can open, by deliverable name.
#pragma once

#include "chapter.h"

#include <QStringList>
#include <memory>

std::unique_ptr<Chapter> makeChapter(const QString& name);
QStringList chapterNames();

// The whole of a viewer's main(): the application, the window and its
// start-up, then the event loop.
#pragma once

#include "chapter.h"

#include <memory>

namespace shell {

int runViewer(int argc, char** argv, std::unique_ptr<Chapter> chapter);

}  // namespace shell

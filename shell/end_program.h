// Ending the program at once (Escape, closing a pacing viewer). Replaceable so
// that tests can observe it instead of losing their process.
#pragma once

#include <functional>

namespace shell {

void endProgram();
void setEndProgramHandler(std::function<void()> handler);

}  // namespace shell

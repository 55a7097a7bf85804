// Making the application object, which opens the display. Where no display
// can be opened the program ends with one line saying so and status 1,
// instead of the platform layer's abort and its advice to reinstall.
#pragma once

#include <QApplication>
#include <memory>

namespace shell {

// Page images are megabytes each and are made and freed as pages are drawn,
// rested and shown. The allocator's default raises its thresholds each time
// such a block is freed, after which the space of freed images stays with the
// process; fixed thresholds give it back at once. Called by openApplication.
void returnFreedMemoryPromptly();

// What the platform layer says while it starts (a runtime folder it had to
// choose, the plugins it tried): passed on for a window, dropped for a run
// that only writes a file or the text, whose messages are its own.
enum class StartMessages { PassOn, Drop };

// argc must outlive the application (Qt keeps a reference to it). From here
// on a message that cannot be written (nobody reads standard error any more)
// is lost instead of ending the program.
std::unique_ptr<QApplication> openApplication(int& argc, char** argv,
                                              StartMessages messages = StartMessages::PassOn);

}  // namespace shell

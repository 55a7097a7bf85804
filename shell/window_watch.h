// A window destroyed by another client (a window manager's kill, `xdotool
// windowclose`) sends no close event: without a watch the program would run
// on with no window and no way to end it.
#pragma once

class QWidget;

namespace shell {


// From now on, when the platform reports that window's native window was
// destroyed by someone else, the window gets the close event that closing it
// would have sent, and then the program ends with status 0.
void endWhenDestroyedByOthers(QWidget& window);

}  // namespace shell

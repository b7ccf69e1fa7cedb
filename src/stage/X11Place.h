#pragma once

#include <QPoint>
#include <optional>

class QWidget;

// Where a top-level window stands as the X server has it. The toolkit's own idea can lag
// behind: a window manager that frames the window and then places the frame owes it a
// notice of the move, and some never send one, nor any while they move it themselves.
namespace X11Place {

// The window's top-left on the desktop, in the toolkit's pixels; none without an X display
// or before the window exists there.
std::optional<QPoint> windowPosition(const QWidget& window);

// Shows the window, also when the toolkit counts it as shown while the window manager has
// released it: a window unmapped behind the toolkit's back is shown anew.
void showAgain(QWidget& window);

// Brings the toolkit's idea of the window's position in line with the server's, without
// moving it.
void settle(QWidget& window);

} // namespace X11Place

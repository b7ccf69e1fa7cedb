#pragma once

#include <QPoint>

class QWidget;

// The pointer as the X server has it. Each call answers false when there is no X display.
namespace X11Pointer {

// Whether the first logical button is down; the server has already applied any swapping of
// the buttons.
bool primaryButtonHeld();

// Hands the window to the window manager to move with the pointer, from the pointer at the
// given screen position, until the button is let go. False when no window manager that
// moves windows runs.
bool startWindowManagerMove(QWidget& window, QPoint from);
// Takes back a move handed over whose release the manager never saw; it puts the window
// back where the move began.
void cancelWindowManagerMove(QWidget& window);

} // namespace X11Pointer

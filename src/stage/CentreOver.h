#pragma once

class QWidget;

// Moves a window so that its middle is over the owner's, kept whole on the owner's screen:
// she may stand at its edge.
void centreOver(QWidget& window, const QWidget& owner);

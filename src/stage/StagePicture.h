#pragma once

class QLabel;
class QWidget;

// Her picture in the window's image and her icon on its taskbar entry, from the program's
// own assets. The picture lets the mouse through to the window, which drags her.
void dressStage(QWidget& window, QLabel& Image1);

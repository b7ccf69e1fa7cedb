#pragma once

class QLabel;
class QWidget;
class StageOutline;

// Her picture in the window's image, made for the outline's device pixel ratio, and her icon
// on its taskbar entry, from the program's own assets. The picture lets the mouse through
// to the window, which drags her.
void dressStage(QWidget& window, QLabel& Image1, const StageOutline& outline);

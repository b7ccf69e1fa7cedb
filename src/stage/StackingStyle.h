#pragma once

class QWidget;

// Keeps a top-level window above all others, or lets it stack normally. Qt may re-create
// the native window for the change; a window that was showing is shown again where it was.
void applyStackingStyle(QWidget& window, bool stayOnTop);

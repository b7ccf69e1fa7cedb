#pragma once

#include "events/SlotDialog.h"

// The forms are laid out for her Japanese texts and keep that layout to the pixel. With a
// translation the settings dialog's date row is laid out again by its texts' widths, and the
// dialog grows by what that row and the tabs then need, its buttons kept centred.
void fitTranslatedTexts(QDialog& dialog, const SlotDialog::Controls& controls);

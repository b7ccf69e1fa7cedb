#pragma once

#include "shared/StageSettings.h"

#include <QPoint>
#include <QStringList>

class Registry;

inline const QString kProgramKey = QStringLiteral("SOFTWARE\\Vellmoor\\Hourling1");
inline const QString kVendorKey = QStringLiteral("SOFTWARE\\Vellmoor");

// False when the key could not be opened or created; the record then keeps its values.
bool loadSettings(Registry& registry, StageSettings& settings);
// Writes the record with the window's live position in place of the stored one.
bool saveSettings(Registry& registry, const StageSettings& settings, QPoint windowPosition);
// True exactly when the program's key was deleted.
bool resetStoredSettings(Registry& registry);
// Every value the settings are stored in, in the order they are read.
QStringList storedValueNames();

#pragma once

#include "shared/StageSettings.h"

#include <QString>
#include <optional>

// Her settings file as the program reads and writes it, for tests that prepare it or look
// into it from outside her window.

// Stores the settings as a close would, at their own position; false when it failed.
bool storeSettings(const QString& hivePath, const StageSettings& settings);
// A value as the last save left it; none when it is missing or not a number.
std::optional<quint32> storedDword(const QString& hivePath, const QString& name);
// Settings that differ from the defaults in every field but the slots' use flags (a slot in
// use would be announced by a program that runs on the real clock), with texts that need
// escaping in the file.
StageSettings distinctSettings();

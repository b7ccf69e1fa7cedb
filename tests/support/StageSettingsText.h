#pragma once

#include "shared/StageSettings.h"

#include <ostream>
#include <string>

// Every field, one per line, so that a failed comparison shows which ones differ.
std::string describeSettings(const StageSettings& settings);

// A slot on one line, for failed comparisons.
void PrintTo(const EventSlot& slot, std::ostream* out);

#pragma once

#include "shared/StageSettings.h"

#include <string>

// Every field, one per line, so that a failed comparison shows which ones differ.
std::string describeSettings(const StageSettings& settings);

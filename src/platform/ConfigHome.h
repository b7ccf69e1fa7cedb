#pragma once

#include <QString>

// The folder the user's configuration lives under: $XDG_CONFIG_HOME when it is absolute, else
// ~/.config, the home taken from the password entry when HOME is unset. Empty when there is
// no home.
QString configHome();

#pragma once
// Pendrel's settings file, read by the window and by the command line:
// ~/.config/pendrel/pendrel.conf (or under $XDG_CONFIG_HOME), in INI syntax.
#include <QString>

namespace pendrel::programs {

QString SettingsFile();

}  // namespace pendrel::programs

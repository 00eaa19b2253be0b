// The installer's switches: /INSTALL sets the machine up for the lister,
// /UNINSTALL takes back what it changed outside the configuration.
#pragma once

#include <string>

enum class InstallAction { None, Install, Uninstall };

// /INSTALL or /UNINSTALL, in any case; None for every other argument.
InstallAction InstallActionOf(const std::string& argument);
// Install: writes the default configuration when there is none (an existing
// one stays as it is) and puts the program's folder on the system PATH.
// Uninstall: takes the folder off the PATH; the configuration stays, as
// settings do. Says what was done; false, after saying why, on failure.
bool RunInstallAction(InstallAction action);

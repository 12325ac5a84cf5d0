#pragma once
// The program's folder holds settings.ini, History.qvh, "Users Guide.pdf" and
// the default log folder. It is the executable's folder when that folder is
// writable; otherwise a per-user configuration folder
// ($XDG_CONFIG_HOME/QuorvelConfig, or ~/.config/QuorvelConfig).
// The environment variable QVS_PROGRAM_FOLDER, or SetProgramFolder, overrides
// both (tests and portable installs).
#include <string>

namespace platform {

// The folder, without a trailing separator. Created when it does not exist.
std::string ProgramFolder();

// The folder that holds the executable itself (read-only files shipped with
// the program, such as the user's guide, are looked for there too).
std::string ExecutableFolder();

// The per-user configuration folder: $XDG_CONFIG_HOME/QuorvelConfig, or
// ~/.config/QuorvelConfig. Not created here.
std::string UserConfigFolder();

// Overrides the folder for the rest of the run; an empty path removes the
// override.
void SetProgramFolder(const std::string& path);

// Joins a folder and a file name with one "/".
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace platform

#pragma once
// Site-file names made absolute at the moment they are given (the command
// line, a second start's hand-over, a recent entry, a dialog's answer),
// against the folder they were typed in: a name kept relative would later be
// read against another folder (another copy's, another session's) and name
// another file. A name is a string of bytes; nothing here asks it to be UTF-8.
#include <string>

namespace app {

// The process's working folder; "" when the system cannot tell it (the
// folder was removed).
std::string WorkingFolder();

// The name read against folder. A name whose first character other than a
// blank is "/" is absolute and stays as it is, and so does a name of blanks
// only, and any name when no folder is known (""). A relative name follows
// folder and "/", without its leading blanks and its "." steps; its ".."
// steps stay, as the system reads them.
std::string AbsoluteName(const std::string& name, const std::string& folder);

// The command line a second start hands to the running copy, which reads
// the whole of it, one leading and one trailing double quote dropped, as one
// name: a relative name is made absolute against folder, the second start's
// working folder, and put in double quotes; any other line stays as it is.
std::string HandOverLine(const std::string& commandLine, const std::string& folder);

} // namespace app

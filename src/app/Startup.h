#pragma once
// Start-up, single instance and exit: the program's entry procedure, the
// command-line splitter, the loaded-window test and the final exit.
#include "model/clsIniFile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class frmMain;
class QWidget;

// "Quorvel Configuration Utility": captions of the main window, splash,
// start page and about box.
extern QString AppTitle;
// The last component of the program's folder path.
extern QString ProgramFolderName;
// Arguments 1..count split by ParseCommandLine; index 0 stays empty.
extern std::vector<std::string> CommandArgs;

// The command line this copy was started with: the arguments joined by
// blanks, an argument holding a blank or a tab put in double quotes. It is
// kept as the bytes the system gave, so that a file whose name is not valid
// UTF-8 is opened by the name it has.
void SetCommandLine(const std::string& commandLine);
const std::string& CommandLine();
std::string CommandLineFromArguments(const std::vector<std::string>& arguments);

// ProgramFolderName & "QuorvelConfigUtility" & "_APPLICATION".
QString InstanceName();
// The text after the last "/" of a folder path (the whole path without one).
QString LastPathComponent(const QString& path);

// Splits the command line at blanks and tabs into CommandArgs(1..count),
// at most maxArgs arguments; quote marks are ordinary characters. Returns
// the count.
int ParseCommandLine(int maxArgs = 10);

// True when a loaded window's name equals the text (case-sensitive).
bool IsFormLoaded(const QString& formName);

// The entry procedure. Returns false when this copy is to end now (another
// copy runs and has been handed the command line); otherwise the splash is
// up, the settings are read, the main window is loaded hidden and the
// splash's timer started, and the caller runs the event loop.
bool Main();

// Places the window in the middle of the main window as it will open: the
// stored rectangle, kept within the screen's free area.
void CentreOverMainWindowAsItOpens(QWidget& window);

// Main's own read of the main window's rectangle from settings.ini (defaults
// 1000, 1000, 12765 wide, 9165 high twips), before LoadSettings, to centre
// the splash on it.
void ReadMainWindowRect();
// The same from settings.ini read already.
void ReadMainWindowRect(model::clsIniFile& ini);

// The question asked for a line of an INI file that cannot be read: the
// platform's plain OK/Cancel box; the splash's timer waits meanwhile.
model::clsIniFile::BadLineAnswer AskAboutBadLine(const std::string& fileName, int lineNumber);

// The main window once Main has loaded it, else nullptr.
frmMain* MainForm();
// Loads the main window hidden (Main's last step) and makes it MainForm.
frmMain* LoadMainForm();
// Makes a main window built elsewhere the program's one (tests).
void SetMainForm(frmMain* form);

// The single instance, over the platform's lock and local socket.
bool CreateInstanceMutex(const QString& name);
void ReleaseInstanceMutex();
// Marks the main window as the one a second copy hands its command line to:
// on receipt it is restored and raised (when shown) and, unless the hand-over
// is the one zero byte of an empty command line, given the command line's
// bytes through OpenFileFromMessage.
void MarkMainWindow(frmMain& form);

// Orderly end: settings.ini written, the instance released, the process
// ended at once (other windows are not closed one by one).
void ExitProgram();
// End from the start page: the instance released and the process ended at
// once, settings.ini not written.
void EndProgram();
// What ends the process (tests replace it; the program calls _Exit).
void SetEndProcessHook(std::function<void(int)> hook);

// Puts the module's values back to their state before Main (tests).
void ResetStartup();

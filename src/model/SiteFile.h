#pragma once
// The site file (".qvs"): the site header values and every node in use with
// its position, identity, loop position, radio channels and device slots, as
// INI text in Windows-1252 with CR LF line ends.
#include <string>

namespace model {

// What the file operations tell the windows while they run: the main
// window's progress bar over the status bar, the status-bar text, the canvas
// clearing before a load, and a chance for the message loop to run after each
// progress step. Every call has a do-nothing default.
class SiteFileObserver
{
public:
    virtual ~SiteFileObserver() = default;
    // Makes the bar visible with value 0 and this maximum.
    virtual void ShowProgress(int /*maximum*/) {}
    virtual void SetProgressMaximum(int /*maximum*/) {}
    virtual void SetProgressValue(int /*value*/) {}
    virtual void HideProgress() {}
    // The third panel of the status bar.
    virtual void SetStatusText(const std::string& /*text*/) {}
    // frmMain.ClearScreen, before a file is read.
    virtual void ClearScreen() {}
    // Lets the message loop run; called after each progress step.
    virtual void Yield() {}
};

// Attaches the observer (not owned; nullptr for none).
void SetSiteFileObserver(SiteFileObserver* observer);

// Writes the site to path: [General], then one section per node in use. The
// new file replaces the old one only once it is completely written. True, and
// FileChanged False, on success. False, with the reason in error, when a save
// is already running, the file is read-only or cannot be written; the old file
// and FileChanged then stay as they were.
bool SaveSiteFile(const std::string& path, std::string* error = nullptr);

// Reads the site from path into the site header values, Nodes and
// LoopAddressOwner. The caller empties the nodes first. A path that does not
// exist changes nothing. A file without [General] DisplayMode leaves
// DisplayMode -2 (not a valid site file) and every node not in use.
// FileChanged becomes False.
void LoadSiteFile(const std::string& path);

// Forgets a save left marked as running (tests).
void ResetSiteFile();

} // namespace model

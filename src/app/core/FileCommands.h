#pragma once
// The file commands of the main window: the save-changes prompt, Open, a
// recent file, Save and Save As with the check before saving, and the
// recent-file list. The steps and their order live here; the window supplies
// the dialogs, the canvas, the status bar and the menus through
// FileCommandsHost.
#include <string>

namespace app {

class FileCommandsHost
{
public:
    virtual ~FileCommandsHost() = default;
    // The program's message box on the main window: the chosen button's code
    // (0 when the box could not be shown).
    virtual int Ask(const std::string& text, int style, const std::string& title) = 0;
    // The open (save false) or save dialog starting at fileName; false when
    // cancelled, else fileName holds the chosen path (possibly empty).
    virtual bool ChooseFile(bool save, std::string& fileName) = 0;
    // Commits the site-name edit box when it is open.
    virtual void EndSiteNameEdit() = 0;
    // The caption of the site-name label as it stands.
    virtual std::string SiteNameCaption() = 0;
    // Wipes the canvas and hides the site-name label before a load.
    virtual void ClearForLoad() = 0;
    virtual void DisplayNodes() = 0;
    virtual void CalculateUsed(int node) = 0;
    // Status-bar panel 2 or 3.
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    // Shows the error list of the check just run; refusedSave adds the
    // "File NOT Saved" caption and warning.
    virtual void ShowErrorList(bool refusedSave) = 0;
    virtual void UpdateTitleBar() = 0;
    virtual void RefreshRecentFilesMenu() = 0;
    virtual void CheckIsLoopInterfaceOptions() = 0;
    // Before the site may be replaced: the open editors' pending edits are
    // offered (Yes applies them to this site, No drops them); false when
    // the user cancels, and the site stays.
    virtual bool SettleEditors() = 0;
};

// What the user is told of a site file that cannot be opened because no file
// has its name: "File Not Found", or, when the name came through text that
// could not carry it (a dialog shows a name that is not valid UTF-8 with a
// replacement character in its place), that the name cannot be read.
std::string NotThereText(const std::string& path);

class FileCommands
{
public:
    explicit FileCommands(FileCommandsHost& host) : host_(host) {}

    // True to go on, False to stop. Offers the editors' pending edits
    // first (a cancel stops), then asks to save a changed site: Yes runs
    // Save As (go on only when it saved), No drops the changes; every other
    // answer, a box that did not show included, stops. While a save runs it
    // stops at once, changed site or not.
    bool CheckForChanges();

    void Open();            // File > Open
    void OpenRecent(int k); // recent-file entry k (1..10)
    // Opens the site file at path (a recent entry, a second copy's file)
    // after the save-changes prompt; a path that is not there is reported
    // and the open site stays. The path is a copy: the prompt's Save As
    // moves the recent entries, and the file opened is the one asked for.
    // A relative path is read against the working folder and kept absolute.
    void OpenNamed(std::string path);
    void Save();            // File > Save
    void SaveAs();          // File > Save As
    // Reads SiteFileName into the site; false (reported) when it is not a
    // site file.
    bool LoadConfigFile();
    // Heads the recent list with path made absolute, in place of an entry
    // an earlier version kept relative that names the same file.
    void AddRecentFile(const std::string& path);

    bool SaveInProgress() const { return saveInProgress_; }
    bool SaveAborted() const { return saveAborted_; }

private:
    // The Save As steps after the site-name commit (under SaveInProgress).
    void SaveAsSteps();
    // The open (save false) or save dialog started on start, the site's file;
    // a dialog that cannot show its folder is said so first and starts on
    // the folders above that it can show, and one whose folder is not there
    // starts on the nearest folder above that is: the site's name is filled
    // in only in its own folder. False when the user stopped, or chose no
    // name; else chosen holds the name chosen, made absolute.
    bool ChooseFileFrom(bool save, const std::string& start, std::string& chosen);
    // The configuration check before a save; false when it refused the save.
    bool CheckBeforeSave();
    // Writes SiteFileName; on failure tells the user why and returns false.
    bool WriteSite();
    void ReselectActiveNode();
    void StatusLoading(const std::string& prefix);

    FileCommandsHost& host_;
    bool saveInProgress_ = false;
    bool saveAborted_ = false;
};

} // namespace app

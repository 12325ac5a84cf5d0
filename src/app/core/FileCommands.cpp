#include "app/core/FileCommands.h"

#include "app/core/AbsoluteNames.h"
#include "app/core/ErrorListText.h"
#include "app/core/RecentFiles.h"
#include "model/ConfigurationCheck.h"
#include "model/FileNames.h"
#include "model/General.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
#include "platform/base/CodePage.h"
#include "platform/base/FileReplace.h"
#include "platform/base/MessageStyle.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace app {
namespace {

const char* const kUntitled = "untitled.qvs";
const char* const kNoFileLoaded = "No File Loaded";
const char* const kSaveTitle = "Save Configuration File";
const char* const kOpenTitle = "Open Configuration File";
const char* const kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8
const char* const kCannotBeRead = "\r\nThe File's Name Cannot Be Read";

// Clears a flag when the scope ends, whichever way it ends.
class ClearOnExit
{
public:
    explicit ClearOnExit(bool& flag) : flag_(flag) {}
    ~ClearOnExit() { flag_ = false; }
    ClearOnExit(const ClearOnExit&) = delete;
    ClearOnExit& operator=(const ClearOnExit&) = delete;

private:
    bool& flag_;
};

std::string NameInBrackets(const std::string& prefix)
{
    return prefix + "[" + model::FileNameFromPath(model::TrimBlanks(SiteFileName)) + "]";
}

// Tells the user that the file is not there; true when it is there.
bool FileIsThere(FileCommandsHost& host, const std::string& path)
{
    if (model::FileExists(model::TrimBlanks(path))) {
        return true;
    }
    host.Ask(NotThereText(path), MessageStyle::Critical, kOpenTitle);
    return false;
}

// A name the program cannot use: one holding a NUL (the system would take
// the bytes before it for the name), or one that came through text that could
// not carry it (a dialog shows a name that is not valid UTF-8 with a
// replacement character in its place) and so names no file.
bool NameCannotBeRead(const std::string& path)
{
    return platform::NameHoldsNul(path) ||
           (path.find(kReplacement) != std::string::npos && !model::FileExists(path));
}

// The name as a box shows it: a NUL, which a box's text cannot show, shows
// as the replacement character, as a byte that is not text does.
std::string Shown(std::string path)
{
    for (std::size_t at = path.find('\0'); at != std::string::npos; at = path.find('\0', at))
        path.replace(at, 1, kReplacement);
    return path;
}

// Where a file dialog can start for path: it takes names as text, so a
// folder whose name is not UTF-8 is not one it can show. Nothing when it can
// show every folder of path (it starts on path itself); else the folders
// before the first it cannot show, ending in "/" ("" when that is the
// first), so that it starts there with no file named.
std::optional<std::string> FoldersADialogCanShow(const std::string& path)
{
    const std::size_t shown = platform::WellFormedUtf8Length(path);
    if (path.find('/', shown) == std::string::npos)
        return std::nullopt; // at most the file's own name is not text
    const std::size_t slash = path.rfind('/', shown);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return !platform::NameHoldsNul(path) && std::filesystem::is_directory(path, error);
}

// Where a dialog can start for path with its file named: in the file's own
// folder. A folder that is not there (removed, or on a medium taken away)
// would leave the dialog on another folder with the file's name, where a
// Return opens or overwrites another file of that name: the dialog starts
// with no file named on the nearest folder above that is there, ending in
// "/" ("" when none of a relative name's folders is). A name without a
// folder (an untitled site's) is offered as it is.
std::string InItsOwnFolder(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || IsFolder(path.substr(0, slash + 1)))
        return path;
    std::string folder = path.substr(0, slash);
    for (;;) {
        slash = folder.rfind('/');
        if (slash == std::string::npos)
            return {};
        folder.resize(slash + 1);
        if (slash == 0 || IsFolder(folder))
            return folder;
        folder.pop_back();
    }
}

std::string ActiveNodeName()
{
    return ActiveNode >= 0 && ActiveNode < model::kNodeCount
               ? model::Nodes[static_cast<std::size_t>(ActiveNode)].Name()
               : "";
}

} // namespace

std::string NotThereText(const std::string& path)
{
    return "ERROR : Unable to Open " + Shown(path) +
           (NameCannotBeRead(path) ? kCannotBeRead : "\r\nFile Not Found");
}

bool FileCommands::CheckForChanges()
{
    if (saveInProgress_) {
        // The site is being written (this runs during one of the save's
        // yields): nothing may replace it under the writer.
        return false;
    }
    // Edits still pending in an editor belong to this site: they are applied
    // or dropped now, so that the save question covers them and nothing of
    // this site is left to be applied to the next one.
    if (!host_.SettleEditors()) {
        return false;
    }
    if (!FileChanged) {
        return true;
    }
    const int answer =
        host_.Ask("Changes Have Been Made to the Current Configuration\r\nDo You Want To Save Them?",
                  (MessageStyle::Question | MessageStyle::YesNoCancel), "Save Changes ?");
    if (answer == MessageResult::Yes) {
        saveAborted_ = false;
        SaveAs();
        return !saveAborted_;
    }
    if (answer == MessageResult::No) {
        FileChanged = false;
        return true;
    }
    return false;
}

void FileCommands::Open()
{
    host_.EndSiteNameEdit();
    if (!CheckForChanges()) {
        return;
    }
    std::string chosen;
    // A file that is not there leaves the open site as it is.
    if (ChooseFileFrom(false, SiteFileName, chosen) && FileIsThere(host_, chosen)) {
        SiteFileName = chosen;
        host_.ClearForLoad();
        StatusLoading("Loading ");
        LoadConfigFile();
        ReselectActiveNode();
        if (CheckOnOpen) {
            ErrorCheckMode = 0;
            if (model::CheckConfiguration() != 0) {
                host_.ShowErrorList(false);
            }
        }
    }
    host_.CheckIsLoopInterfaceOptions();
}

void FileCommands::OpenRecent(int k)
{
    if (k >= 1 && k <= 10) {
        OpenNamed(MruFiles[static_cast<std::size_t>(k)]);
    }
}

void FileCommands::OpenNamed(std::string path)
{
    // A relative name (a recent entry an earlier version kept as typed, a
    // hand-over from one) is read against the working folder, as it always
    // was, and kept from now on as the file it named.
    path = AbsoluteName(path, WorkingFolder());
    // A file that is not there is reported before anything is asked, and
    // the open site stays.
    if (!FileIsThere(host_, path)) {
        return;
    }
    // As Open does: a name edit left open would otherwise be committed later
    // into the site just loaded.
    host_.EndSiteNameEdit();
    if (!CheckForChanges()) {
        return;
    }
    SiteFileName = path;
    host_.ClearForLoad();
    StatusLoading("Loading ");
    LoadConfigFile();
    ReselectActiveNode();
}

bool FileCommands::LoadConfigFile()
{
    // Each slot is numbered as its index again: a file that gave a node no
    // number leaves it 0 (the hub's), which the next site must not inherit.
    for (int n = 0; n < model::kNodeCount; ++n) {
        model::clsNode& node = model::Nodes[static_cast<std::size_t>(n)];
        node.SetInUse(false);
        node.InitializeNode();
        node.SetNodeNumber(n);
    }
    // A file the reader cannot read at all (a missing one included) keeps this
    // mark and counts as no site file, like one without a display mode.
    DisplayMode = -2;
    model::LoadSiteFile(SiteFileName);
    if (DisplayMode == -2) {
        host_.Ask("ERROR : Unable to Open " + SiteFileName +
                      "\r\nAs it is not a valid Quorvel Configuration File",
                  MessageStyle::Critical, kOpenTitle);
        SiteFileName = kNoFileLoaded;
        host_.UpdateTitleBar();
        return false;
    }
    AddRecentFile(SiteFileName);
    host_.DisplayNodes();
    FileLoaded = true;
    return true;
}

void FileCommands::ReselectActiveNode()
{
    if (ActiveNode >= 0 && ActiveNode < model::kNodeCount &&
        model::Nodes[static_cast<std::size_t>(ActiveNode)].InUse()) {
        host_.SetStatusText(3, model::Nodes[static_cast<std::size_t>(ActiveNode)].Name());
        model::Nodes[static_cast<std::size_t>(ActiveNode)].Activate();
        host_.CalculateUsed(ActiveNode);
    } else if (ActiveNode != -1) {
        // The node is not in the new site: nothing stays selected, and the
        // status bar no longer names it or counts its devices.
        ActiveNode = -1;
        host_.CalculateUsed(-1);
    } else {
        host_.SetStatusText(3, "");
    }
}

void FileCommands::Save()
{
    if (saveInProgress_) {
        return;
    }
    saveInProgress_ = true;
    ClearOnExit clear(saveInProgress_);
    host_.EndSiteNameEdit();
    // After a failed open the site has no file either: a site built on it is
    // not to be written to a file of that name in the working folder.
    if (SiteFileName == kUntitled || SiteFileName == kNoFileLoaded || SiteFileName.empty()) {
        SaveAsSteps();
        return;
    }
    if (!CheckBeforeSave()) {
        saveAborted_ = true;
        return;
    }
    StatusLoading("Compiling ");
    if (!WriteSite()) {
        saveAborted_ = true;
        return;
    }
    host_.SetStatusText(3, ActiveNodeName());
    AddRecentFile(SiteFileName);
    host_.UpdateTitleBar();
}

void FileCommands::SaveAs()
{
    if (saveInProgress_) {
        // Nothing is written now: a prompt that asked for this save must not
        // go on as if it had been.
        saveAborted_ = true;
        return;
    }
    saveInProgress_ = true;
    ClearOnExit clear(saveInProgress_);
    host_.EndSiteNameEdit();
    SaveAsSteps();
}

void FileCommands::SaveAsSteps()
{
    std::string start = SiteFileName;
    const std::string caption = host_.SiteNameCaption();
    if (SiteFileName == kUntitled && !caption.empty()) {
        start = model::MakeValidFileName(caption) + ".qvs";
    }
    if (!CheckBeforeSave()) {
        saveAborted_ = true;
        return;
    }
    saveAborted_ = true;
    std::string chosen;
    if (!ChooseFileFrom(true, start, chosen)) {
        return;
    }
    // A name the dialog could not carry would be written as another file.
    if (NameCannotBeRead(chosen)) {
        host_.Ask("ERROR : Unable to Save " + Shown(chosen) + kCannotBeRead, MessageStyle::Critical,
                  kSaveTitle);
        return;
    }
    const std::string previous = SiteFileName;
    SiteFileName = chosen;
    StatusLoading("Compiling ");
    if (!WriteSite()) {
        SiteFileName = previous;
        return;
    }
    host_.SetStatusText(3, ActiveNodeName());
    AddRecentFile(SiteFileName);
    host_.UpdateTitleBar();
    saveAborted_ = false;
}

bool FileCommands::ChooseFileFrom(bool save, const std::string& start, std::string& chosen)
{
    chosen = start;
    // A dialog that cannot show the site's folder would open on another one
    // with the site's file name, where a Return opens a file of that name
    // there, or writes the site over it: the user is told, and the dialog
    // starts with no file named, on the folders it can show.
    if (const std::optional<std::string> folders = FoldersADialogCanShow(start)) {
        const std::string goOn = save ? "Save It in Another Folder?" : "Open a File from Another Folder?";
        if (host_.Ask("Unable to Show the Folder of " + start + "\r\nIts Name Cannot Be Read\r\nDo You Want To " +
                          goOn,
                      (MessageStyle::Question | MessageStyle::CancelOK), save ? kSaveTitle : kOpenTitle) !=
            MessageResult::OK) {
            return false;
        }
        chosen = *folders;
    }
    chosen = InItsOwnFolder(chosen);
    if (!host_.ChooseFile(save, chosen) || chosen.empty())
        return false;
    // The dialog's answer is read against the folder it was chosen in: the
    // working folder, when it handed back a relative name.
    chosen = AbsoluteName(chosen, WorkingFolder());
    return true;
}

bool FileCommands::CheckBeforeSave()
{
    if (!CheckOnClose) {
        return true;
    }
    ErrorCheckMode = 0;
    if (model::CheckConfiguration() == 0) {
        return true;
    }
    host_.ShowErrorList(true);
    return false;
}

bool FileCommands::WriteSite()
{
    std::string error;
    const std::string path = model::TrimBlanks(SiteFileName);
    if (model::SaveSiteFile(path, &error)) {
        return true;
    }
    host_.SetStatusText(3, ActiveNodeName());
    host_.Ask("ERROR : Unable to Save " + path + "\r\n" + error, MessageStyle::Critical, kSaveTitle);
    return false;
}

void FileCommands::AddRecentFile(const std::string& path)
{
    const std::string folder = WorkingFolder();
    AddRecentFileEntry(MruFiles, AbsoluteName(path, folder), folder);
    host_.RefreshRecentFilesMenu();
}

void FileCommands::StatusLoading(const std::string& prefix)
{
    host_.SetStatusText(3, NameInBrackets(prefix));
}

} // namespace app

#pragma once
// The program's main window: the site canvas with its node controls and
// links, the menus, the toolbar and the status bar. Loading it prepares the
// controls and opens the start file; the splash window shows it later.
// Geometry is twips, as the site file and settings.ini keep it.
#include "app/NodeControlSet.h"
#include "app/SiteCanvas.h"
#include "app/core/CommsLaunch.h"
#include "app/core/FileCommands.h"
#include "editors/EditorsHost.h"
#include "hublink/CommsHost.h"
#include "model/SiteFile.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <optional>

class LogsFrame;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolBar;

class frmMain : public QMainWindow, private app::FileCommandsHost, private EditorsHost, private CommsHost
{
    Q_OBJECT
public:
    // The window's smallest width and height, twips.
    static constexpr long kMinimumSide = 6000;

    // Creates the window's controls and puts the window in the list of
    // loaded windows; Form_Load prepares them.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Load handler (the window stays hidden): the stored rectangle, the 32
    // nodes bound to their controls, the option marks, the recent files, the
    // title and the start file named on the command line (CommandArgs) or,
    // with ReOpenLastUsed, the last file used.
    virtual void Form_Load();

    // --- canvas display (called by other windows) ---------------------------
    // Repaints the diagram: -1 all nodes, 0..31 one node's controls; the
    // links are always repainted for all nodes.
    virtual void ReDraw(int nodeIndex);
    // Shows a newly loaded or rebuilt site.
    void DisplayNodes() override;
    // Wipes the canvas and hides every node's controls.
    void ClearScreen();
    // Selects a node from code, without drag or menu.
    void ActivateNode(int index);
    // Status panels 2, 3 and 4 for node index; -1 clears them.
    void CalculateUsed(int index) override;
    // Automatic layouts (new site, site read from a hub).
    void PositionNodeTree();
    void PositionNodeShell();

    // --- file state ----------------------------------------------------------
    void UpdateTitleBar() override;
    // The save-changes prompt: true go on, false stop. Only Yes (which saves
    // first) and No go on; any other answer keeps the changes and stops, and
    // nothing goes on while a save runs.
    bool CheckForChanges();
    // A Save or Save As is running (a second one, and the exit, wait).
    bool SaveInProgress() const { return fileCommands_.SaveInProgress(); }
    // A second copy's command line, as the bytes it was started with. While
    // the program waits on another window (a hub run reading the site, a
    // box), the file is kept and opened once nothing waits; a later
    // hand-over replaces a kept one.
    virtual void OpenFileFromMessage(const std::string& commandLine);
    // Commands run from the start page; the file commands and the serial
    // launch take these over.
    virtual void StartNewFile();
    virtual void OpenExisting();
    virtual void Read_Diags();
    static QString MakeValidFileName(const QString& text);

    // Ends a node drag without effect; the next drag start is skipped.
    void CancelDrag() override;
    // Commits the site-name edit box when it is open.
    void EndSiteNameEdit() override;
    // Menus and toolbar buttons follow the kind of site (hub or RLM).
    void CheckIsLoopInterfaceOptions() override;
    bool SettleEditors() override;

    // --- file commands ---------------------------------------------------------
    void NewFile_Click();
    void FileLoad_Click();
    void FileSave_Click();
    void FileSaveAs_Click();
    void FileMRU_Click(int index);
    void FilePaths_Click();
    void CheckFileOpen_Click();
    void CheckFileClose_Click();

    // --- RCC commands, find and the editors' pop-up items ---------------------
    void AddRCC_Click();
    void RCCDelete_Click();
    void PopupMasterEdit_Click();
    void PopupNodeEdit_Click();
    void PopupNodeDevices_Click();
    void FindDevice_Click();

    // --- canvas editing --------------------------------------------------------
    void LockObjects_Click();
    void AllowDragDropParent_Click();

    // --- controls, for the other windows and the tests -----------------------
    SiteCanvas* Canvas() const { return canvas_; }
    NodeControlSet& NodeControls(int index) const { return *controls_.at(static_cast<std::size_t>(index)); }
    NodeShape* NodeDrag() const { return nodeDrag_; }
    QLabel* SiteNameLabel() const { return siteName_; }
    QLineEdit* SiteNameEdit() const { return siteNameEdit_; }
    QScrollBar* HScroll1() const { return hScroll_; }
    QScrollBar* VScroll1() const { return vScroll_; }
    QPushButton* cmdFull() const { return cmdFull_; }
    QToolBar* ToolBar1() const { return toolBar_; }
    QProgressBar* ProgressBar() const { return progressBar_; }
    // A toolbar button by its key ("New", "NoQI", "Delete", ...).
    QAction* ToolButton(const QString& key) const;
    // A menu item by its name ("FilePaths", "NoQuick", "FileMRU_1", ...).
    QAction* MenuItem(const QString& name) const;
    QMenu* Menu(const QString& name) const;
    // Status-bar panel 1..4: its text (panel 1 holds the lock picture).
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);
    // The lock picture's resource name in panel 1 ("LOCKED" or "UNLOCKED").
    QString LockPicture() const { return lockPicture_; }
    bool Dragging() const { return dragging_; }
    int DragNode() const { return dragNode_; }
    // The window's outer rectangle in twips.
    long WidthTwips() const;
    long HeightTwips() const;
    void SetSizeTwips(long width, long height);

    // --- event handlers ------------------------------------------------------
    void Form_Activate();
    void Form_Resize();
    void Canvas_MouseDown(int button, int shift, double x, double y);
    void Canvas_MouseUp(int button, int shift, double x, double y);
    void NodeLabel_MouseDown(int index, int button, int shift, double x, double y);
    void NodeLabel_MouseUp(int index, int button, int shift, double x, double y);
    void Canvas_MouseMove(int button, int shift, double x, double y);
    void NodeLabel_MouseMove(int index, int button, int shift, double x, double y);
    void NodeLabel_DblClick(int index);
    // A control dropped on the canvas at (x, y), or on the site-name label at
    // (x, y) within the label: only the site-name label moves.
    void Canvas_DragDrop(QWidget* source, double x, double y);
    void SiteName_DragDrop(QWidget* source, double x, double y);
    void SiteName_MouseDown(int button, int shift, double x, double y);
    void SiteName_DblClick();
    void SiteNameEdit_KeyPress(int keyAscii);
    // Where the drag outline stands, twips.
    long DragOutlineLeft() const { return dragLeft_; }
    long DragOutlineTop() const { return dragTop_; }
    void QI_Label_Click();
    void NoQuick_Click();
    void LA_Quick_Click();
    void Ident_Quick_Click();
    void QuickChannels_Click();
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    void cmdFull_Click();

    // --- menus, options and serial-window launch -----------------------------
    // Launch commands: each records the target and the action and arms
    // CommsFormTimer; the tick opens the communications window.
    void HubProgram_Click();
    void HubProgramToolsMenu_Click();
    void HubCompare_Click();
    void HubComms_Click();
    void HubRead_Click();
    void CompareConfig_Click();
    void mnuOpenComms_Click();
    void ReadConfig_Click();
    void TolsReadRLM_Click();
    void TolsReadRLMFile_Click();
    void TolsReadRLMPopup_Click();
    void ToolsHubRead_Click();
    void ToolsRCCRead_Click();
    void ToolsRCCReadPopup_Click();
    void RCCCompare_Click();
    // The one-shot launcher.
    void CommsFormTimer_Timer();
    QTimer* CommsFormTimer() const { return commsFormTimer_; }

    void Diagnostics_Click();
    void ErrorCheck_Click();
    void SetComms_Click();
    void ConfigStats_Click();
    void TreeView_Click();
    void ViewGrid_Click();
    void HelpGuide_Click();
    void HelpHistory_Click();
    void PrintConfig_Click();
    void HelpAbout_Click();
    void ReportComments_Click();
    void FileExit_Click();
    // Option toggles: none of them marks the site as changed.
    void EnableProgLog_Click();
    void EnableDiagsLog_Click();
    void ConfirmDiffs_Click();
    void UseLastOnStart_Click();
    void ViewToolbar_Click();
    void OptionsSiteName_Click();
    void OutlineSiteName_Click();
    // The toolbar by button key; ignored while the communications window is
    // loaded.
    void ToolBar1_ButtonClick(const QString& key);
    // Panel 1 (the lock picture) toggles the lock; other panels do nothing.
    void StatusBar1_PanelClick(int panel);
    // The log-folder panel in the set (move) and the export (copy) mode.
    void SetCommsPaths_Click();
    void ExportLogs_Click();
    LogsFrame* LogsPanel() const { return logsFrame_; }

signals:
    // The Delete key with an RCC selected, and F4 or Ctrl+F: the RCC delete
    // and find commands answer them.
    void DeleteRccRequested();
    void FindDeviceRequested();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The serial window loaded (the diagnostics or the communications
    // window), or nullptr.
    static QWidget* LoadedSerialWindow();
    // True while the program waits on another window: a box, a modal
    // dialog, or the serial window that disabled this one.
    bool WaitsOnAnotherWindow() const;
    // Opens the kept hand-over once nothing waits.
    void OpenKeptHandOver();
    void CreateControls();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void OpenStartFile();
    // Loads SiteFileName after the screen was cleared; true when it was read.
    bool LoadConfigFile();
    void ReportFileNotFound();
    void AddRecentFile(const std::string& path);
    void RefreshRecentFilesMenu() override;
    void ConnectEditingCommands();
    void DropNode(int button, int shift, double x, double y);
    void MoveDragOutline(long left, long top);
    void EndSiteNameDrag(const QPoint& globalPos);
    void PlaceSiteName(double left, double top);
    // Shows the properties (device) window and refreshes it for the
    // selection after PreviousSelectedNode.
    void ShowNodeSettings();
    void ShowDevices();

    // What the file commands ask of the window.
    int Ask(const std::string& text, int style, const std::string& title) override;
    bool ChooseFile(bool save, std::string& fileName) override;
    std::string SiteNameCaption() override;
    void ClearForLoad() override;
    void SetStatusText(int panel, const std::string& text) override;
    void ShowErrorList(bool refusedSave) override;
    // What the editor windows ask of this window.
    void RedrawSite() override;
    int ChooseFromList(QWidget* owner, const QString& prompt, int preselected, const QString& items,
                       int buttons, const QString& title, int& choice) override;
    // What the communications window asks of this window.
    QWidget* Window() override { return this; }
    bool CheckForChanges(QWidget* asker) override;
    void DisplayNewSite() override;
    void DisplayReadSite() override;
    void ClearSelection() override;
    void SetErrorCheckMode(long mode) override;
    void ShowErrorList() override;
    void CloseErrorList() override;
    void ActivateHub() override;
    void ShowLoadingText();
    void ShowActiveNodeName();
    void SetLockPicture(bool locked);
    void SetQuickInfoMode(int mode);
    void RefreshQuickInfo();
    void SelectNode(int index, int button, int shift);
    void TakeSelectionDown();
    // Closes the editors that are not pinned; true when one of them asked
    // about its pending edits.
    bool CloseUnpinnedEditors();
    // Before the program ends: the editors' pending edits are offered as
    // closing them offers them; false when the user cancels the exit.
    bool CloseEditorsForExit();
    void TellEditors(bool focusDevices);
    // The site was replaced: a drag in progress ends, and the open editors
    // let go of the node they show and show that nothing is selected.
    void TellEditorsSiteReplaced();
    // Takes the selection and its highlights down: nothing is selected.
    void ClearActiveNode();
    void EnableNodeButtons();
    void PopUp(QMenu* menu);
    void StartDrag(int index);
    // Ends a drag in progress without a drop: the outline goes, nothing moves.
    void EndDrag();
    void ComputeDrawingExtent();
    // Sizes the window to this outer size (twips; growOnly: at least this
    // size) as far as the screen's free area allows, and keeps the whole
    // window on that area.
    void SizeWithinScreen(long width, long height, bool growOnly);
    void StoreRectangle();
    // The program's box over owner (none: this window).
    int ShowMessage(const QString& text, int style, const QString& title, QWidget* owner = nullptr);
    // The window the file commands' boxes and dialogs stand with.
    QWidget* FileOwner() { return fileAsker_ != nullptr ? fileAsker_.data() : this; }
    // The platform's plain box (style: icon + buttons).
    int PlainMessage(const QString& text, int style, const QString& title);
    void ConnectMenuCommands();
    void Launch(app::LaunchCommand command);
    // Selects the hub as a left click does, without leaving a drag behind.
    void SelectHub();
    void SetSiteNameOptions(bool show, bool border);
    void Form_KeyDown(int key, int shift);

    SiteCanvas* canvas_ = nullptr;
    QWidget* client_ = nullptr;
    std::array<std::unique_ptr<NodeControlSet>, 32> controls_;
    NodeShape* nodeDrag_ = nullptr;
    QLabel* siteName_ = nullptr;
    QLineEdit* siteNameEdit_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    QPushButton* cmdFull_ = nullptr;
    LogsFrame* logsFrame_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::map<QString, QAction*> toolButtons_;
    std::array<QLabel*, 5> panels_{};
    QString lockPicture_;
    QProgressBar* progressBar_ = nullptr;
    QTimer* commsFormTimer_ = nullptr;
    // A second copy's command line that arrived while the program waited,
    // and the timer that looks, while one is kept, whether it still waits.
    std::optional<std::string> keptHandOver_;
    QTimer* handOverTimer_ = nullptr;
    // The kind of site the armed launch reads (none: left as it is), and
    // the kind to put back when the launch does not replace the site.
    std::optional<bool> pendingLoopInterface_;
    app::LoopInterfaceGuard loopInterfaceGuard_;
    // The window the file commands' boxes and dialogs stand with while
    // another window asks (none: this one).
    QPointer<QWidget> fileAsker_;

    bool dragging_ = false;
    int dragNode_ = -1;
    int dragOffsetX_ = 0;
    int dragOffsetY_ = 0;
    bool skipNextDrag_ = false;
    long dragLeft_ = 0;
    long dragTop_ = 0;
    app::FileCommands fileCommands_{*this};
    bool loaded_ = false;
    std::unique_ptr<model::SiteFileObserver> fileObserver_;
};

// The main window: construction, load, hand-over from a second copy and the frame.
#include "app/frmMain.h"

#include "app/AppVersion.h"
#include "app/LogsFrame.h"
#include "app/Startup.h"
#include "app/core/AbsoluteNames.h"
#include "app/core/CanvasDrag.h"
#include "app/core/CanvasLayout.h"
#include "app/core/ErrorListText.h"
#include "app/core/FindEntry.h"
#include "app/core/RccCommands.h"
#include "app/core/RecentFiles.h"
#include "app/core/TitleBar.h"
#include "app/frmErrorCheck.h"
#include "app/frmMainInternal.h"
#include "app/frmMsg.h"
#include "app/frmParameter.h"
#include "editors/EditorsHost.h"
#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"
#include "hublink/frmComms.h"
#include "model/ConfigurationCheck.h"
#include "model/FileNames.h"
#include "model/General.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/Units.h"
#include "platform/Win1252Validator.h"
#include "platform/WindowLayer.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/MessageStyle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <utility>

namespace {

const platform::StoredRectangle kStored{&MainWindowTop, &MainWindowLeft, &MainWindowWidth, &MainWindowHeight};

// One item of the menu bar or of a pop-up menu.
struct MenuEntry
{
    const char* menu;    // the menu the item belongs to
    const char* name;    // the item's name; empty for none
    const char* caption; // "-" for a separator
    bool hidden;
};

// The menu tree; submenus are named as a menu of their own.
constexpr MenuEntry kMenuTree[] = {
    {"FileMenu", "NewFile", "&New", false},
    {"FileMenu", "FileLoad", "&Open", false},
    {"FileMenu", "FileSave", "&Save", false},
    {"FileMenu", "FileSaveAs", "Save &As", false},
    {"FileMenu", "FileSep1", "-", false},
    {"FileMenu", "PrintConfig", "&Print Configuration", false},
    {"FileMenu", "FileSep4", "-", false},
    {"FileMenu", "ReadConfig", "Read &Config from a Hub", false},
    {"FileMenu", "TolsReadRLMFile", "Read Config From RLM", true},
    {"FileMenu", "FileSep3", "-", false},
    {"FileMenu", "RecentFiles", "&Recent Files", false},
    {"FileMenu", "FileSep2", "-", false},
    {"FileMenu", "FileExit", "E&xit", false},
    {"ViewMenu", "ConfigStats", "Show Configuration &Statistics", false},
    {"ViewMenu", "FindDevice", "&Find a Device or RCC", false},
    {"ViewMenu", "TreeView", "&Tree View", false},
    {"ViewMenu", "ViewGrid", "&Grid View", false},
    {"ToolsMenu", "AddRCC", "&Add An RCC", false},
    {"ToolsMenu", "ToolsSep1", "-", false},
    {"ToolsMenu", "ErrorCheck", "Check Configuration for &Errors", false},
    {"ToolsMenu", "ToolsSep2", "-", false},
    {"ToolsMenu", "CompareConfig", "&Compare Config with Hub", false},
    {"ToolsMenu", "TolsReadRLM", "Read Config from R&LM", false},
    {"ToolsMenu", "ToolsHubRead", "Read Config from &Hub", false},
    {"ToolsMenu", "ToolsRCCRead", "Read Config from an &RCC", false},
    {"ToolsMenu", "HubProgramToolsMenu", "&Program Hub with Config", false},
    {"ToolsMenu", "ToolsSep3", "-", false},
    {"ToolsMenu", "mnuOpenComms", "&Open Comms with Hub or RCC", false},
    {"ToolsMenu", "Diagnostics", "&Diagnostics", false},
    {"OptionsMenu", "SetComms", "&Comms Settings", false},
    {"OptionsMenu", "EnableProgLog", "Enable &Programming Log", false},
    {"OptionsMenu", "EnableDiagsLog", "Enable &Diagnostics Log", false},
    {"OptionsMenu", "SetCommsPaths", "&Set Comms Logs Directory", false},
    {"OptionsMenu", "ExportLogs", "&Export Log Files", false},
    {"OptionsMenu", "OptSep0", "-", false},
    {"OptionsMenu", "LockObjects", "&Lock Object Positions", false},
    {"OptionsMenu", "ViewToolbar", "&View Toolbar", false},
    {"OptionsMenu", "OptSep1", "-", false},
    {"OptionsMenu", "ShowQI", "&Quick Info", false},
    {"OptionsMenu", "OptionsSiteName", "Show Site &Name", false},
    {"OptionsMenu", "OutlineSiteName", "Site Name &Outline", false},
    {"OptionsMenu", "OptSep2", "-", false},
    {"OptionsMenu", "FilePaths", "Show &Full File Paths", false},
    {"OptionsMenu", "UseLastOnStart", "Load Last &Used File on Startup", false},
    {"OptionsMenu", "CheckFileOpen", "Check Config File on O&pen", false},
    {"OptionsMenu", "CheckFileClose", "Check Config File on Sa&ve", false},
    {"OptionsMenu", "optsep3", "-", false},
    {"OptionsMenu", "AllowDragDropParent", "&Allow Dragging of an RCC to its Parent", false},
    {"OptionsMenu", "ConfirmDiffs", "Confirm &Differences before Programming", false},
    {"ShowQI", "NoQuick", "No Info", false},
    {"ShowQI", "LA_Quick", "Loop Address Info", false},
    {"ShowQI", "Ident_Quick", "Ident Info", false},
    {"ShowQI", "QuickChannels", "Radio Channels", false},
    {"HelpMenu", "HelpGuide", "Users &Guide", false},
    {"HelpMenu", "helpsep2", "-", true},
    {"HelpMenu", "HelpHistory", "&History", false},
    {"HelpMenu", "HelpAbout", "&About", false},
    {"HelpMenu", "ReportComments", "&Comments", false},
    {"MasterPopupMenu", "PopupMasterEdit", "&Edit", false},
    {"MasterPopupMenu", "MnMenuSep2", "-", false},
    {"MasterPopupMenu", "HubComms", "&Open Comms", false},
    {"MasterPopupMenu", "MnMenuSep20", "-", false},
    {"MasterPopupMenu", "HubRead", "&Read Config from Hub", false},
    {"MasterPopupMenu", "HubCompare", "Co&mpare Hub with Config", false},
    {"MasterPopupMenu", "HubProgram", "&Program Hub with Config", false},
    {"MasterPopupMenu", "MnMenuSep3", "-", false},
    {"MasterPopupMenu", "MNPopupExit", "&Cancel", false},
    {"NodePopupMenu", "PopupNodeEdit", "&Edit", false},
    {"NodePopupMenu", "PopupNodeDevices", "&Devices", false},
    {"NodePopupMenu", "TolsReadRLMPopup", "Read Config from RLM", true},
    {"NodePopupMenu", "RNMenuSep2", "-", false},
    {"NodePopupMenu", "NodeComms", "&Open Comms", false},
    {"NodePopupMenu", "sep10", "-", false},
    {"NodePopupMenu", "RCCCompare", "Compare RCC with Config", false},
    {"NodePopupMenu", "ToolsRCCReadPopup", "Read Config from an RCC", false},
    {"NodePopupMenu", "RNMenuSep3", "-", false},
    {"NodePopupMenu", "RCCDelete", "Delete", false},
    {"NodePopupMenu", "RNMenuSep4", "-", false},
    {"NodePopupMenu", "NPopupExit", "&Cancel", false},
};

struct TopMenu
{
    const char* name;
    const char* caption;
};

constexpr TopMenu kMenuBar[] = {
    {"FileMenu", "&File"},       {"ViewMenu", "&View"}, {"ToolsMenu", "&Tools"},
    {"OptionsMenu", "&Options"}, {"HelpMenu", "&Help"},
};

struct ToolButtonEntry
{
    const char* key;
    const char* text;
    const char* tip;
};

constexpr ToolButtonEntry kToolButtons[] = {
    {"New", "New", "New Configuration"},
    {"Open", "Open", "Open a Configuration File"},
    {"Save", "Save", "Save the Configuration"},
    {"Print", "Print", "Print the Configuration"},
    {"NoQI", "No Info", "No Quick Info"},
    {"LoopQI", "Loop", "Loop Address Quick Info"},
    {"IdentQI", "Ident", "Ident Quick Info"},
    {"Radio", "Radio", "Radio Channel Quick Info"},
    {"Add", "Add RCC", "Add an RCC"},
    {"Delete", "Delete", "Delete the Selected RCC"},
    {"Properties", "Properties", "Properties of the Selected Node"},
    {"Check", "Check", "Check the Configuration for Errors"},
    {"Find", "Find", "Find a Device or RCC"},
};

} // namespace

// --- load ----------------------------------------------------------------------

namespace {

// What the site-file reader tells the window while it runs.
class MainWindowFileObserver : public model::SiteFileObserver
{
public:
    explicit MainWindowFileObserver(frmMain& form) : form_(form) {}
    void ShowProgress(int maximum) override
    {
        form_.ProgressBar()->setRange(0, maximum);
        form_.ProgressBar()->setValue(0);
        form_.ProgressBar()->show();
    }
    void SetProgressMaximum(int maximum) override { form_.ProgressBar()->setMaximum(maximum); }
    void SetProgressValue(int value) override { form_.ProgressBar()->setValue(value); }
    void HideProgress() override { form_.ProgressBar()->hide(); }
    void SetStatusText(const std::string& text) override { form_.SetPanelText(3, Q(text)); }
    void ClearScreen() override { form_.ClearScreen(); }
    void Yield() override { platform::DoEvents(); }

private:
    frmMain& form_;
};

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    setWindowTitle(AppTitle);
    platform::LoadForm(this);
    CreateControls();
    fileObserver_ = std::make_unique<MainWindowFileObserver>(*this);
    model::SetSiteFileObserver(fileObserver_.get());
    SetEditorsHost(this);
    frmComms::MainWindow = this;
}

void frmMain::RedrawSite()
{
    ReDraw(-1);
}

int frmMain::ChooseFromList(QWidget* owner, const QString& prompt, int preselected, const QString& items,
                            int buttons, const QString& title, int& choice)
{
    const int answer =
        frmParameter::GetParameter(owner, prompt, ParameterEntry::List, preselected, items, buttons, title);
    bool number = false;
    choice = ParameterResult.toInt(&number);
    if (!number)
        choice = -1;
    return answer;
}

void frmMain::DisplayNewSite()
{
    TellEditorsSiteReplaced();
    DisplayNodes();
}

void frmMain::DisplayReadSite()
{
    PositionNodeTree();
    ReDraw(-1);
}

void frmMain::ClearSelection()
{
    if (ActiveNode >= 0 && ActiveNode < kNodeCount)
        NodeAt(ActiveNode).DeActivate();
    for (int panel = 2; panel <= 4; ++panel)
        SetPanelText(panel, QString());
    PreviousSelectedNode = ActiveNode;
    ActiveNode = -1;
    SelectedNode = -1;
}

void frmMain::SetErrorCheckMode(long mode)
{
    app::ErrorCheckMode = mode;
}

void frmMain::ShowErrorList()
{
    if (frmErrorCheck* open = frmErrorCheck::Loaded())
        open->cmdRefresh_Click();
    else
        frmErrorCheck::Display(this);
}

void frmMain::CloseErrorList()
{
    if (frmErrorCheck* open = frmErrorCheck::Loaded())
        open->cmdClose_Click();
}

void frmMain::ActivateHub()
{
    ActivateNode(0);
}

frmMain::~frmMain()
{
    model::SetSiteFileObserver(nullptr);
    frmComms::MainWindow = nullptr;
    SetEditorsHost(nullptr);
    // The nodes outlive the window; they must not keep views that die with it.
    for (auto& node : Nodes)
        node.UnbindView();
}

void frmMain::CreateControls()
{
    client_ = new QWidget(this);
    client_->setObjectName("ClientArea");
    setCentralWidget(client_);

    canvas_ = new SiteCanvas(client_);
    connect(canvas_, &SiteCanvas::MouseDown, this, &frmMain::Canvas_MouseDown);
    connect(canvas_, &SiteCanvas::MouseUp, this, &frmMain::Canvas_MouseUp);
    connect(canvas_, &SiteCanvas::MouseMove, this, &frmMain::Canvas_MouseMove);
    connect(canvas_, &SiteCanvas::KeyDown, this, [this](int key, int) {
        if (key == Qt::Key_F5)
            ReDraw(-1);
    });

    siteName_ = new QLabel(canvas_);
    siteName_->setObjectName("SiteName");
    siteName_->installEventFilter(this);
    QFont siteFont = siteName_->font();
    siteFont.setPointSizeF(siteFont.pointSizeF() * 1.3);
    siteFont.setBold(true);
    siteName_->setFont(siteFont);
    siteNameEdit_ = new QLineEdit(canvas_);
    siteNameEdit_->setObjectName("SiteNameEdit");
    platform::LimitToWin1252(siteNameEdit_);
    siteNameEdit_->installEventFilter(this);
    siteNameEdit_->hide();

    nodeDrag_ = new NodeShape(canvas_, 0);
    nodeDrag_->setObjectName("NodeDrag");
    nodeDrag_->SetOutlineOnly(true);
    nodeDrag_->SetBorderColor(0x808080);
    nodeDrag_->SetBorderWidth(3);

    hScroll_ = new QScrollBar(Qt::Horizontal, client_);
    hScroll_->setObjectName("HScroll1");
    vScroll_ = new QScrollBar(Qt::Vertical, client_);
    vScroll_->setObjectName("VScroll1");
    hScroll_->hide();
    vScroll_->hide();
    connect(hScroll_, &QScrollBar::valueChanged, this, &frmMain::HScroll1_Change);
    connect(vScroll_, &QScrollBar::valueChanged, this, &frmMain::VScroll1_Change);
    cmdFull_ = new QPushButton(client_);
    cmdFull_->setObjectName("cmdFull");
    cmdFull_->setToolTip("Show the Whole Configuration");
    cmdFull_->hide();
    connect(cmdFull_, &QPushButton::clicked, this, &frmMain::cmdFull_Click);

    // The log-folder panel (Options menu).
    logsFrame_ = new LogsFrame(client_);

    // The one-shot launcher of serial work; each launch sets its interval.
    commsFormTimer_ = new QTimer(this);
    commsFormTimer_->setObjectName("CommsFormTimer");
    commsFormTimer_->setInterval(20);
    connect(commsFormTimer_, &QTimer::timeout, this, &frmMain::CommsFormTimer_Timer);
    handOverTimer_ = new QTimer(this);
    handOverTimer_->setInterval(100);
    connect(handOverTimer_, &QTimer::timeout, this, &frmMain::OpenKeptHandOver);

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ConnectEditingCommands();
}

void frmMain::CreateMenus()
{
    for (const TopMenu& top : kMenuBar) {
        QMenu* menu = menuBar()->addMenu(top.caption);
        menu->setObjectName(top.name);
        menu->menuAction()->setObjectName(top.name);
    }
    auto* master = new QMenu("MasterNodePopup", this);
    master->setObjectName("MasterPopupMenu");
    auto* node = new QMenu("NodePopop", this);
    node->setObjectName("NodePopupMenu");

    for (const MenuEntry& entry : kMenuTree) {
        QMenu* owner = Menu(entry.menu);
        if (!owner)
            continue;
        QAction* item = nullptr;
        if (std::string_view(entry.caption) == "-") {
            item = owner->addSeparator();
        } else if (std::string_view(entry.name) == "RecentFiles" ||
                   std::string_view(entry.name) == "ShowQI") {
            QMenu* sub = owner->addMenu(entry.caption);
            sub->setObjectName(entry.name);
            item = sub->menuAction();
        } else {
            item = owner->addAction(entry.caption);
        }
        item->setObjectName(entry.name);
        item->setVisible(!entry.hidden);
    }
    for (const char* name :
         {"FilePaths", "UseLastOnStart", "CheckFileOpen", "CheckFileClose", "EnableProgLog", "EnableDiagsLog",
          "AllowDragDropParent", "LockObjects", "ConfirmDiffs", "OptionsSiteName", "OutlineSiteName",
          "ViewToolbar", "NoQuick", "LA_Quick", "Ident_Quick", "QuickChannels"})
        MenuItem(name)->setCheckable(true);

    // Recent files: items 1 ("No Files") and 2 exist from the start.
    QMenu* recent = Menu("RecentFiles");
    QAction* first = recent->addAction("No Files");
    first->setObjectName("FileMRU_1");
    QAction* second = recent->addAction(QString());
    second->setObjectName("FileMRU_2");
    second->setVisible(false);

    connect(MenuItem("NoQuick"), &QAction::triggered, this, &frmMain::NoQuick_Click);
    connect(MenuItem("LA_Quick"), &QAction::triggered, this, &frmMain::LA_Quick_Click);
    connect(MenuItem("Ident_Quick"), &QAction::triggered, this, &frmMain::Ident_Quick_Click);
    connect(MenuItem("QuickChannels"), &QAction::triggered, this, &frmMain::QuickChannels_Click);
    ConnectMenuCommands();
}

void frmMain::CreateToolBar()
{
    toolBar_ = new QToolBar(client_);
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The bar covers the canvas scrolled up under it.
    toolBar_->setAutoFillBackground(true);
    for (const ToolButtonEntry& entry : kToolButtons) {
        QAction* button = toolBar_->addAction(entry.text);
        button->setObjectName(QString("ToolBar1_%1").arg(entry.key));
        button->setToolTip(entry.tip);
        toolButtons_[entry.key] = button;
    }
    for (const char* key : kQuickInfoButtons)
        ToolButton(key)->setCheckable(true);
    for (const ToolButtonEntry& entry : kToolButtons) {
        const QString key = entry.key;
        connect(ToolButton(key), &QAction::triggered, this, [this, key] { ToolBar1_ButtonClick(key); });
    }
    toolBar_->hide();
}

void frmMain::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    for (int i = 1; i <= 4; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString("StatusBar1_Panel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(i == 1 ? 24 : 150);
        bar->addWidget(panel, i == 3 ? 1 : 0);
        panels_[static_cast<std::size_t>(i)] = panel;
        panel->installEventFilter(this);
    }
    progressBar_ = new QProgressBar(bar);
    progressBar_->setObjectName("ProgressBar");
    bar->addPermanentWidget(progressBar_, 1);
}

void frmMain::Form_Load()
{
    // 1. A second copy's command line reaches OpenFileFromMessage.
    MarkMainWindow(*this);
    // 2.
    SiteFileName = "untitled.qvs";
    progressBar_->hide();
    // 3, 4. The stored rectangle, fitted to the screen, no smaller than the
    // window's size limits (7), which come first. The stored rectangle is the
    // outer one, frame included, as it is stored: the position places the
    // frame, and the size is corrected for the frame once it is known, so the
    // window does not grow by its frame at every start.
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(kMinimumSide, kMinimumSide));
    platform::OpenOnStoredRectangle(*this, kStored);
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    // 5.
    canvas_->SetLeftTwips(0);
    canvas_->SetWidthTwips(WidthTwips());
    canvas_->SetHeightTwips(HeightTwips() - kFrameHeight - (Toolbar ? kToolbarHeight : 0));
    // 6.
    ActiveNode = -1;
    // 7. The window's size limits, at least 6000 x 6000 twips, are in place.
    // 8.
    DisplayMode = 3;
    // 9, 10. Every node anew, numbered and bound to its controls.
    for (int i = 0; i < kNodeCount; ++i) {
        controls_[static_cast<std::size_t>(i)] = std::make_unique<NodeControlSet>(canvas_, i);
        NodeControlSet& set = *controls_[static_cast<std::size_t>(i)];
        connect(set.Label(), &NodeLabel::MouseDown, this, &frmMain::NodeLabel_MouseDown);
        connect(set.Label(), &NodeLabel::MouseUp, this, &frmMain::NodeLabel_MouseUp);
        connect(set.Label(), &NodeLabel::MouseMove, this, &frmMain::NodeLabel_MouseMove);
        connect(set.Label(), &NodeLabel::DblClick, this, &frmMain::NodeLabel_DblClick);
        connect(set.QILabel(), &NodeLabel::Click, this, [this](int) { QI_Label_Click(); });
        NodeAt(i) = model::clsNode();
        NodeAt(i).SetNodeNumber(i);
        NodeAt(i).BindView(&set);
        NodeAt(i).SetInUse(false);
    }
    NodeAt(0).SetParent(0);
    for (int loop = 1; loop <= 4; ++loop)
        for (int address = 1; address <= 128; ++address)
            SetOwner(LoopAddressOwner, loop, address, -1);
    // 11. Option checks.
    MenuItem("FilePaths")->setChecked(FilePaths);
    MenuItem("OptionsSiteName")->setChecked(ShowSiteName);
    siteName_->setVisible(ShowSiteName);
    MenuItem("OutlineSiteName")->setChecked(BorderSiteName);
    siteName_->setFrameShape(BorderSiteName ? QFrame::Box : QFrame::NoFrame);
    MenuItem("UseLastOnStart")->setChecked(ReOpenLastUsed);
    MenuItem("CheckFileOpen")->setChecked(CheckOnOpen);
    if (LogProg)
        MenuItem("EnableProgLog")->setChecked(true);
    if (LogDiags)
        MenuItem("EnableDiagsLog")->setChecked(true);
    MenuItem("CheckFileClose")->setChecked(CheckOnClose);
    MenuItem("AllowDragDropParent")->setChecked(DropOnParent);
    MenuItem("LockObjects")->setChecked(Locked);
    SetLockPicture(Locked);
    MenuItem("ConfirmDiffs")->setChecked(ConfirmDiffs);
    // 12.
    if (NodeQuickInfoMode >= 0 && NodeQuickInfoMode <= 3) {
        MenuItem(kQuickInfoItems[NodeQuickInfoMode])->setChecked(true);
        ToolButton(kQuickInfoButtons[NodeQuickInfoMode])->setChecked(true);
    }
    // 13. Printing is not offered.
    MenuItem("FileSep1")->setVisible(false);
    MenuItem("PrintConfig")->setVisible(false);
    ToolButton("Print")->setVisible(false);
    // 14.
    if (Toolbar) {
        toolBar_->show();
        MenuItem("ViewToolbar")->setChecked(true);
        canvas_->SetTopTwips(kToolbarHeight);
        canvas_->SetHeightTwips(HeightTwips() - kFrameHeight - kToolbarHeight);
    } else {
        canvas_->SetTopTwips(0);
        canvas_->SetHeightTwips(HeightTwips() - kFrameHeight);
    }
    // 15.
    ToolButton("Delete")->setEnabled(false);
    ToolButton("Properties")->setEnabled(false);
    // 16.
    RefreshRecentFilesMenu();
    UpdateTitleBar();
    // 17.
    OpenStartFile();
    // 18.
    dragging_ = false;
    dragNode_ = -1;
    FileChanged = false;
    canvas_->SetAutoRedraw(false);
    // 19.
    CheckIsLoopInterfaceOptions();
    loaded_ = true;
}

void frmMain::OpenStartFile()
{
    const int count = ParseCommandLine(20);
    const std::vector<std::string> args(CommandArgs.begin() + 1, CommandArgs.begin() + 1 + count);
    if (!args.empty()) {
        // Read against the folder the program was started in, and kept so.
        SiteFileName = app::AbsoluteName(model::StartFileFromArguments(args), app::WorkingFolder());
        if (!model::FileExists(SiteFileName)) {
            ReportFileNotFound();
            return;
        }
        ClearScreen();
        siteName_->hide();
        ShowLoadingText();
        // The file reaches the recent list, and FileLoaded is set, only when
        // it was read.
        LoadConfigFile();
        ShowActiveNodeName();
        return;
    }
    if (!ReOpenLastUsed || MruFiles[1].empty() || MruFiles[1] == "No Files")
        return;
    SiteFileName = app::AbsoluteName(MruFiles[1], app::WorkingFolder());
    ClearScreen();
    siteName_->hide();
    if (!model::FileExists(SiteFileName)) {
        ReportFileNotFound();
        return;
    }
    ShowLoadingText();
    LoadConfigFile();
    ShowActiveNodeName();
}

void frmMain::ReportFileNotFound()
{
    ShowMessage(Q(app::NotThereText(SiteFileName)), 16, "Open Configuration File");
    SiteFileName = "No File Loaded";
    UpdateTitleBar();
}

void frmMain::ShowLoadingText()
{
    SetPanelText(3, "Loading [" + Q(model::FileNameFromPath(model::TrimBlanks(SiteFileName))) + "]");
}

void frmMain::ShowActiveNodeName()
{
    SetPanelText(3, ActiveNode != -1 ? Q(NodeAt(ActiveNode).Name()) : QString());
}

bool frmMain::LoadConfigFile()
{
    return fileCommands_.LoadConfigFile();
}

void frmMain::AddRecentFile(const std::string& path)
{
    fileCommands_.AddRecentFile(path);
}

void frmMain::RefreshRecentFilesMenu()
{
    QMenu* recent = Menu("RecentFiles");
    for (int i = 3; i <= 10; ++i) {
        if (!MenuItem(QString("FileMRU_%1").arg(i))) {
            QAction* item = recent->addAction(QString());
            item->setObjectName(QString("FileMRU_%1").arg(i));
            item->setVisible(false);
        }
    }
    for (int i = 1; i <= 10; ++i) {
        QAction* item = MenuItem(QString("FileMRU_%1").arg(i));
        const std::string& entry = MruFiles[static_cast<std::size_t>(i)];
        if (!entry.empty()) {
            const std::string trimmed = model::TrimBlanks(entry);
            item->setText(Q(FilePaths ? trimmed : model::FileNameFromPath(trimmed)));
            item->setVisible(true);
            item->setEnabled(true);
        } else {
            item->setVisible(i == 1);
            item->setEnabled(false);
        }
    }
}

void frmMain::UpdateTitleBar()
{
    setWindowTitle(Q(app::TitleBarText(AppTitle.toStdString(), ProgramVersion().major, ProgramVersion().minor,
                                       SiteFileName, FilePaths, FileChanged)));
}

bool frmMain::CheckForChanges()
{
    return fileCommands_.CheckForChanges();
}

bool frmMain::CheckForChanges(QWidget* asker)
{
    // The question is about the read the serial window is doing: it stands
    // with that window, which window managers then keep above this one.
    const QPointer<QWidget> before = std::exchange(fileAsker_, asker);
    const bool goOn = fileCommands_.CheckForChanges();
    fileAsker_ = before;
    return goOn;
}

// --- hand-over from a second copy ----------------------------------------------

void frmMain::OpenFileFromMessage(const std::string& commandLine)
{
    // An empty hand-over (a second start without arguments) only brings this
    // copy forward, which the start-up code has done.
    if (commandLine.find_first_not_of(std::string_view(" \t\n\v\f\r\0", 7)) == std::string::npos)
        return;
    // A site loaded now would replace the one a hub run reads, or the one a
    // box asks about.
    if (WaitsOnAnotherWindow()) {
        keptHandOver_ = commandLine;
        handOverTimer_->start();
        return;
    }
    // Opened as a recent file is: a missing file is reported before anything
    // is asked, and the selection follows the new site.
    fileCommands_.OpenNamed(model::StripQuotes(commandLine));
}

void frmMain::OpenKeptHandOver()
{
    if (!keptHandOver_ || WaitsOnAnotherWindow())
        return;
    handOverTimer_->stop();
    OpenFileFromMessage(*std::exchange(keptHandOver_, std::nullopt));
}

void frmMain::StartNewFile()
{
    NewFile_Click();
}

void frmMain::OpenExisting()
{
    FileLoad_Click();
}

QString frmMain::MakeValidFileName(const QString& text)
{
    return Q(model::MakeValidFileName(text.toStdString()));
}

// --- frame -----------------------------------------------------------------------

long frmMain::WidthTwips() const
{
    return PixelsToTwips(platform::FrameRect(*this).width());
}

long frmMain::HeightTwips() const
{
    return PixelsToTwips(platform::FrameRect(*this).height());
}

void frmMain::SetSizeTwips(long width, long height)
{
    // Before the frame is known, this size replaces the stored one.
    platform::ResizeOuter(*this, width, height);
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !loaded_)
        return;
    if (!isEnabled()) {
        // A serial window that disabled the main window stays above it
        // (the main window may be activated from the task bar).
        if (frmMsg::Current() != nullptr || frmParameter::Current() != nullptr)
            return;
        if (QWidget* serial = LoadedSerialWindow(); serial != nullptr && serial->isVisible())
            platform::BringWindowToFront(*serial);
        return;
    }
    Form_Activate();
}

QWidget* frmMain::LoadedSerialWindow()
{
    for (const char* name : {"frmDiagnostics", "frmComms"})
        if (QWidget* serial = platform::FindForm(name))
            return serial;
    return nullptr;
}

bool frmMain::WaitsOnAnotherWindow() const
{
    if (frmMsg::Current() != nullptr || frmParameter::Current() != nullptr ||
        QApplication::activeModalWidget() != nullptr)
        return true;
    return !isEnabled() && LoadedSerialWindow() != nullptr;
}

void frmMain::Form_Activate()
{
    // A pinned editor stays open: its pin keeps it while the user works on
    // the canvas, which then tells it of each selection.
    if (!NodeSettingsPinned)
        frmNodeSettings::Unload();
    if (!frmNodeSettings::Loaded())
        CheckIsLoopInterfaceOptions();
    if (frmDevices::Loaded() && !DevicesPinned)
        frmDevices::Unload();
    MenuItem("EnableProgLog")->setChecked(LogProg);
    MenuItem("EnableDiagsLog")->setChecked(LogDiags);
    if (CommsFormActive) {
        if (frmComms* comms = frmComms::Loaded())
            comms->raise();
    }
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The toolbar spans the top of the window, above the canvas.
    toolBar_->setGeometry(0, 0, width(), TwipsToPixels(kToolbarHeight));
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Form_Resize();
}

void frmMain::StoreRectangle()
{
    platform::StoreNormalRectangle(*this, kStored);
}

void frmMain::Form_Resize()
{
    if (!isVisible() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const long w = WidthTwips();
    const long h = HeightTwips();
    const bool t = Toolbar;
    // 1.
    canvas_->SetHeightTwips(std::max<long>(h - kFrameHeight - (t ? kToolbarHeight : 0), DrawingHeight));
    canvas_->SetWidthTwips(std::max<long>(w, DrawingWidth));
    // 2-4. The bars lie along the right and bottom edges of the window's
    // client area, below the toolbar, with the full-view button in the
    // corner between them, so no canvas shows beside or below them.
    const int clientWidth = client_->width();
    const int clientHeight = client_->height();
    const int barWidth = vScroll_->sizeHint().width();
    const int barHeight = hScroll_->sizeHint().height();
    const int barTop = t ? TwipsToPixels(kToolbarHeight) : 0;
    vScroll_->setGeometry(clientWidth - barWidth, barTop, barWidth,
                          std::max(1, clientHeight - barHeight - barTop));
    hScroll_->setGeometry(0, clientHeight - barHeight, std::max(1, clientWidth - barWidth), barHeight);
    cmdFull_->setGeometry(clientWidth - barWidth, clientHeight - barHeight, barWidth, barHeight);
    // 5, 6. Ranges are kept within what a scroll bar holds.
    auto range = [](long value) { return static_cast<int>(std::clamp<long>(value, 0, 32767)); };
    if (w < DrawingWidth) {
        hScroll_->setRange(0, range(DrawingWidth - w));
        hScroll_->setSingleStep(10);
        hScroll_->setPageStep(100);
        hScroll_->show();
    } else {
        hScroll_->hide();
    }
    if (h < long{DrawingHeight} + 1600) {
        vScroll_->setRange(0, range(DrawingHeight - h + 1600));
        vScroll_->setSingleStep(10);
        vScroll_->setPageStep(100);
        vScroll_->show();
    } else {
        vScroll_->hide();
    }
    hScroll_->raise();
    vScroll_->raise();
    // 7.
    cmdFull_->setVisible(hScroll_->isVisible() || vScroll_->isVisible());
    cmdFull_->raise();
    // 8. The log-folder panel.
    const long fTop = t ? 500 : 80;
    const long fHeight = t ? h - 650 - kFrameHeight : h - 250 - kFrameHeight;
    const long fWidth = w - 350;
    logsFrame_->setGeometry(TwipsToPixels(80), TwipsToPixels(fTop), std::max(1, TwipsToPixels(fWidth)),
                            std::max(1, TwipsToPixels(fHeight)));
    auto* dir = logsFrame_->findChild<QWidget*>("Dir1");
    auto* drive = logsFrame_->findChild<QWidget*>("Drive1");
    auto* cancel = logsFrame_->findChild<QWidget*>("cmdCancel");
    auto* select = logsFrame_->findChild<QWidget*>("cmdSelect");
    auto* newFolder = logsFrame_->findChild<QWidget*>("cmdNewFolder");
    auto* newName = logsFrame_->findChild<QWidget*>("txtNewFolder");
    const long dirWidth = fWidth - 1000;
    PlaceTwips(dir, 400, 800);
    SizeTwips(dir, dirWidth, fHeight - 2500);
    PlaceTwips(drive, 400, 400);
    SizeTwips(drive, dirWidth, ::HeightTwips(drive));
    const long cancelTop = fHeight - 1000;
    PlaceTwips(cancel, dirWidth - 800, cancelTop);
    PlaceTwips(select, 400, cancelTop);
    PlaceTwips(newFolder, 400, cancelTop - 600);
    const long nameLeft = 400 + ::WidthTwips(newFolder) + 200;
    PlaceTwips(newName, nameLeft, cancelTop - 600);
    SizeTwips(newName, dirWidth - nameLeft + 400, ::HeightTwips(newName));
    // 9.
    StoreRectangle();
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    Form_KeyDown(event->key(), ShiftStateCode(event->modifiers()));
    QMainWindow::keyPressEvent(event);
}

void frmMain::Form_KeyDown(int key, int shift)
{
    if (key == Qt::Key_Delete && ActiveNode >= 1 && ActiveNode <= 31)
        emit DeleteRccRequested();
    else if (key == Qt::Key_F4 || (key == Qt::Key_F && (shift & 7) == 2))
        emit FindDeviceRequested();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // The window manager delivers a close to a disabled window too (its
    // frame's close button, a task bar's close). While the program waits on
    // another window, a hub run or a box, the close changes nothing: ending
    // the program there would leave a hub half programmed, unknown to the
    // user.
    if (WaitsOnAnotherWindow() || SaveInProgress() || !CloseEditorsForExit() || !CheckForChanges()) {
        event->ignore();
        return;
    }
    if (windowState() == Qt::WindowNoState)
        StoreRectangle();
    platform::RestoreWindowProc(*this);
    event->ignore();
    ExitProgram();
}

int frmMain::ShowMessage(const QString& text, int style, const QString& title, QWidget* owner)
{
    return frmMsg::Display(owner != nullptr ? owner : this, text, style, title);
}

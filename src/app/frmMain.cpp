#include "app/frmMain.h"

#include "app/AppVersion.h"
#include "app/LogsFrame.h"
#include "app/MessageStyle.h"
#include "app/Startup.h"
#include "app/frmAbout.h"
#include "app/frmErrorCheck.h"
#include "app/frmMsg.h"
#include "app/frmNewSite.h"
#include "app/frmParameter.h"

#include "diagnostics/frmDiagnostics.h"
#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"
#include "hublink/frmComms.h"
#include "hublink/frmPortForm.h"
#include "model/CanvasDrag.h"
#include "model/CanvasLayout.h"
#include "model/CanvasStatus.h"
#include "model/ConfigurationCheck.h"
#include "model/ErrorListText.h"
#include "model/FileNames.h"
#include "model/FindEntry.h"
#include "model/General.h"
#include "model/MenuState.h"
#include "model/NewSite.h"
#include "model/RccCommands.h"
#include "model/RecentFiles.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "model/TitleBar.h"
#include "platform/FileDialogs.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/Yield.h"
#include "platform/base/ProgramFolder.h"
#include "views/FrmStats.h"
#include "views/frmComments.h"
#include "views/frmGrid.h"
#include "views/frmHistory.h"
#include "views/frmTreeView.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using model::Nodes;
using platform::PixelsToTwips;
using platform::TwipsToPixels;

namespace {

// Twips the window's frame, menu bar and status bar take from its height.
constexpr long kFrameHeight = 1220;
constexpr long kToolbarHeight = 450;
constexpr int kNodeCount = model::kNodeCount;

model::clsNode& NodeAt(int i)
{
    return Nodes[static_cast<std::size_t>(i)];
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

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

// Menu item and toolbar button of each quick-info mode 0..3.
constexpr const char* kQuickInfoItems[] = {"NoQuick", "LA_Quick", "Ident_Quick", "QuickChannels"};
constexpr const char* kQuickInfoButtons[] = {"NoQI", "LoopQI", "IdentQI", "Radio"};

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
}

frmMain::~frmMain()
{
    model::SetSiteFileObserver(nullptr);
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
    // 3, 4. The stored rectangle, kept on the desktop.
    // The stored rectangle is the outer one, frame included, as it is
    // stored: the position places the frame, and the size is corrected for
    // the frame once it is known, so the window does not grow by its frame at
    // every start.
    move(TwipsToPixels(MainWindowLeft), TwipsToPixels(MainWindowTop));
    resize(TwipsToPixels(MainWindowWidth), TwipsToPixels(MainWindowHeight));
    storedOuterSize_ = QSize(MainWindowWidth, MainWindowHeight);
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    KeepOnScreen();
    // 5.
    canvas_->SetLeftTwips(0);
    canvas_->SetWidthTwips(WidthTwips());
    canvas_->SetHeightTwips(HeightTwips() - kFrameHeight - (Toolbar ? kToolbarHeight : 0));
    // 6.
    ActiveNode = -1;
    // 7. The window's size limits: at least 6000 x 6000 twips.
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(6000, 6000));
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

void frmMain::KeepOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->virtualGeometry();
    const long maxWidth = PixelsToTwips(desk.width());
    const long maxHeight = PixelsToTwips(desk.height());
    long left = PixelsToTwips(x());
    long top = PixelsToTwips(y());
    if (left + WidthTwips() > maxWidth)
        left = maxWidth - WidthTwips() - 300;
    if (top + HeightTwips() > maxHeight)
        top = maxHeight - HeightTwips() - 300;
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void frmMain::OpenStartFile()
{
    const int count = ParseCommandLine(20);
    std::vector<std::string> args;
    for (int i = 1; i <= count && i < CommandArgs.size(); ++i)
        args.push_back(CommandArgs[i].toStdString());
    if (!args.empty()) {
        SiteFileName = model::StartFileFromArguments(args);
        if (!QFileInfo::exists(Q(SiteFileName))) {
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
    SiteFileName = MruFiles[1];
    ClearScreen();
    siteName_->hide();
    if (!QFileInfo::exists(Q(SiteFileName))) {
        ReportFileNotFound();
        return;
    }
    ShowLoadingText();
    LoadConfigFile();
    ShowActiveNodeName();
}

void frmMain::ReportFileNotFound()
{
    ShowMessage("ERROR : Unable to Open " + Q(SiteFileName) + "\r\nFile Not Found", 16,
                "Open Configuration File");
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
    setWindowTitle(Q(model::TitleBarText(AppTitle.toStdString(), ProgramVersion().major,
                                         ProgramVersion().minor, SiteFileName, FilePaths, FileChanged)));
}

bool frmMain::CheckForChanges()
{
    return fileCommands_.CheckForChanges();
}

// --- hand-over from a second copy ----------------------------------------------

void frmMain::OpenFileFromMessage(const QString& text)
{
    // An empty hand-over (a second start without arguments) only brings this
    // copy forward, which the start-up code has done.
    if (QString(text).remove(QChar(0)).trimmed().isEmpty())
        return;
    // A missing file is reported as at start-up, before anything is asked;
    // the current site stays as it is.
    const std::string name = model::StripQuotes(text.toStdString());
    if (!QFileInfo::exists(Q(name))) {
        ShowMessage("ERROR : Unable to Open " + Q(name) + "\r\nFile Not Found", 16,
                    "Open Configuration File");
        return;
    }
    EndSiteNameEdit();
    if (!CheckForChanges())
        return;
    SiteFileName = name;
    ClearScreen();
    siteName_->hide();
    ShowLoadingText();
    LoadConfigFile();
    ShowActiveNodeName();
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
    return PixelsToTwips(frameGeometry().width());
}

long frmMain::HeightTwips() const
{
    return PixelsToTwips(frameGeometry().height());
}

void frmMain::SetSizeTwips(long width, long height)
{
    // Before the frame is known, this size replaces the stored one.
    if (!storedOuterSize_.isEmpty())
        storedOuterSize_ = QSize(static_cast<int>(width), static_cast<int>(height));
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(TwipsToPixels(width) - frame.width(), TwipsToPixels(height) - frame.height());
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && loaded_)
        Form_Activate();
}

void frmMain::Form_Activate()
{
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
    ApplyStoredOuterSize();
    Form_Resize();
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    ApplyStoredOuterSize();
}

void frmMain::ApplyStoredOuterSize()
{
    // The window system tells the frame's size some time after the window
    // is shown, with a move of the window.
    if (storedOuterSize_.isEmpty() || !isVisible() || frameGeometry().size() == geometry().size())
        return;
    const QSize outer = storedOuterSize_;
    storedOuterSize_ = QSize();
    if (windowState() == Qt::WindowNoState)
        SetSizeTwips(outer.width(), outer.height());
}

void frmMain::StoreRectangle()
{
    const QRect frame = frameGeometry();
    MainWindowTop = static_cast<int32_t>(PixelsToTwips(frame.top()));
    MainWindowLeft = static_cast<int32_t>(PixelsToTwips(frame.left()));
    MainWindowHeight = static_cast<int32_t>(PixelsToTwips(frame.height()));
    MainWindowWidth = static_cast<int32_t>(PixelsToTwips(frame.width()));
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
    // 2.
    const long vWidth = PixelsToTwips(vScroll_->sizeHint().width());
    const long hHeight = PixelsToTwips(hScroll_->sizeHint().height());
    const long vLeft = w - vWidth - 240;
    const long vTop = t ? 430 : 0;
    const long vHeight = h - hHeight - (t ? 1800 : 1350);
    vScroll_->setGeometry(TwipsToPixels(vLeft), TwipsToPixels(vTop), TwipsToPixels(vWidth),
                          std::max(1, TwipsToPixels(vHeight)));
    // 3.
    const long hWidth = w - vWidth - 245;
    const long hTop = vHeight - hHeight + (t ? 800 : 350);
    hScroll_->setGeometry(0, TwipsToPixels(hTop), std::max(1, TwipsToPixels(hWidth)), TwipsToPixels(hHeight));
    // 4.
    cmdFull_->setGeometry(TwipsToPixels(vLeft), TwipsToPixels(hTop), TwipsToPixels(vWidth),
                          TwipsToPixels(hHeight));
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
    if (SaveInProgress() || !CheckForChanges()) {
        event->ignore();
        return;
    }
    if (windowState() == Qt::WindowNoState)
        StoreRectangle();
    platform::RestoreWindowProc(*this);
    event->ignore();
    ExitProgram();
}

int frmMain::ShowMessage(const QString& text, int style, const QString& title)
{
    return frmMsg::Display(this, text, style, title);
}

// --- menus, toolbar and status bar ----------------------------------------------

QAction* frmMain::ToolButton(const QString& key) const
{
    const auto it = toolButtons_.find(key);
    return it == toolButtons_.end() ? nullptr : it->second;
}

QAction* frmMain::MenuItem(const QString& name) const
{
    return findChild<QAction*>(name);
}

QMenu* frmMain::Menu(const QString& name) const
{
    return findChild<QMenu*>(name);
}

QString frmMain::PanelText(int panel) const
{
    return panels_.at(static_cast<std::size_t>(panel))->text();
}

void frmMain::SetPanelText(int panel, const QString& text)
{
    panels_.at(static_cast<std::size_t>(panel))->setText(text);
}

void frmMain::SetLockPicture(bool locked)
{
    lockPicture_ = locked ? "LOCKED" : "UNLOCKED";
    panels_[1]->setPixmap(platform::IconPixmap(lockPicture_));
    panels_[1]->setToolTip(locked ? "Object Positions Locked" : "Object Positions Unlocked");
}

void frmMain::CheckIsLoopInterfaceOptions()
{
    for (const model::MenuStateChange& change : model::LoopInterfaceMenuChanges(IsLoopInterface)) {
        const QString name = Q(change.name);
        QAction* item = change.toolButton ? ToolButton(name) : MenuItem(name);
        if (change.visible)
            item->setVisible(*change.visible);
        if (change.enabled) {
            item->setEnabled(*change.enabled);
            if (QMenu* menu = change.toolButton ? nullptr : Menu(name))
                menu->setEnabled(*change.enabled);
        }
        if (change.caption)
            item->setText(Q(*change.caption));
    }
}

// --- canvas display ---------------------------------------------------------------

void frmMain::ClearScreen()
{
    canvas_->SetAutoRedraw(true);
    canvas_->Cls();
    for (auto& node : Nodes)
        node.Hide();
}

void frmMain::ReDraw(int nodeIndex)
{
    canvas_->ReservePicture(DrawingWidth, DrawingHeight);
    canvas_->SetAutoRedraw(true);
    if (nodeIndex == -1)
        ClearScreen();
    else
        canvas_->Cls();
    for (int i = 0; i < kNodeCount; ++i)
        NodeControls(i).Draw(NodeAt(i), true, *canvas_, Nodes, DisplayMode);
    canvas_->SetAutoRedraw(false);
    if (nodeIndex == -1) {
        for (int i = 0; i < kNodeCount; ++i)
            NodeControls(i).Draw(NodeAt(i), false, *canvas_, Nodes, DisplayMode);
    } else if (nodeIndex >= 0 && nodeIndex < kNodeCount) {
        NodeControls(nodeIndex).Draw(NodeAt(nodeIndex), false, *canvas_, Nodes, DisplayMode);
    }
    toolBar_->setVisible(Toolbar);
    if (Toolbar)
        toolBar_->raise();
}

void frmMain::ComputeDrawingExtent()
{
    siteName_->adjustSize();
    const model::DrawingExtent extent = model::ComputeDrawingExtent(
        Nodes, SiteNameX, SiteNameY, static_cast<int32_t>(::WidthTwips(siteName_)),
        static_cast<int32_t>(::HeightTwips(siteName_)));
    DrawingWidth = extent.width;
    DrawingHeight = extent.height;
}

void frmMain::DisplayNodes()
{
    ClearScreen();
    siteName_->setText(" " + Q(SiteName) + " ");
    ComputeDrawingExtent();
    // The window grows to show the drawing, but never past the screen: the
    // scroll bars reach the rest, and the window's own controls stay in reach.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    const long maxWidth = avail.isEmpty() ? DrawingWidth : PixelsToTwips(avail.width());
    const long maxHeight = avail.isEmpty() ? DrawingHeight : PixelsToTwips(avail.height());
    if (WidthTwips() < DrawingWidth && WidthTwips() < maxWidth)
        SetSizeTwips(std::min<long>(DrawingWidth, maxWidth), HeightTwips());
    if (HeightTwips() < DrawingHeight && HeightTwips() < maxHeight)
        SetSizeTwips(WidthTwips(), std::min<long>(DrawingHeight, maxHeight));
    ReDraw(-1);
    siteName_->adjustSize();
    PlaceTwips(siteName_, SiteNameX, SiteNameY);
    MenuItem("OptionsSiteName")->setChecked(ShowSiteName);
    siteName_->setVisible(ShowSiteName);
    siteName_->raise();
    MenuItem("OutlineSiteName")->setChecked(BorderSiteName);
    siteName_->setFrameShape(BorderSiteName ? QFrame::Box : QFrame::NoFrame);
    MenuItem("LockObjects")->setChecked(Locked);
    SetLockPicture(Locked);
    UpdateTitleBar();
    toolBar_->setVisible(Toolbar);
}

void frmMain::HScroll1_Change(int value)
{
    canvas_->SetLeftTwips(-value);
}

void frmMain::VScroll1_Change(int value)
{
    canvas_->SetTopTwips(Toolbar ? kToolbarHeight - value : -value);
}

void frmMain::cmdFull_Click()
{
    cmdFull_->hide();
    hScroll_->hide();
    vScroll_->hide();
    SetSizeTwips(long{DrawingWidth} + 500, long{DrawingHeight} + 2000);
    const long h = HeightTwips();
    if (Toolbar) {
        canvas_->SetTopTwips(kToolbarHeight);
        canvas_->SetHeightTwips(h - kFrameHeight - kToolbarHeight);
    } else {
        canvas_->SetTopTwips(0);
        canvas_->SetHeightTwips(h - kFrameHeight);
    }
    canvas_->SetLeftTwips(0);
}

void frmMain::PositionNodeTree()
{
    model::PositionNodeTree(Nodes, WidthTwips(), HeightTwips());
}

void frmMain::PositionNodeShell()
{
    model::PositionNodeShell(Nodes, WidthTwips(), HeightTwips(), PixelsToTwips(statusBar()->height()));
}

// --- quick info ---------------------------------------------------------------------

void frmMain::RefreshQuickInfo()
{
    for (int i = 0; i < kNodeCount; ++i)
        NodeControls(i).UpdateQI(NodeAt(i));
}

void frmMain::SetQuickInfoMode(int mode)
{
    NodeQuickInfoMode = mode;
    for (int m = 0; m <= 3; ++m) {
        MenuItem(kQuickInfoItems[m])->setChecked(m == mode);
        ToolButton(kQuickInfoButtons[m])->setChecked(m == mode);
    }
    RefreshQuickInfo();
}

void frmMain::NoQuick_Click()
{
    SetQuickInfoMode(0);
}

void frmMain::LA_Quick_Click()
{
    SetQuickInfoMode(1);
}

void frmMain::Ident_Quick_Click()
{
    SetQuickInfoMode(2);
}

void frmMain::QuickChannels_Click()
{
    SetQuickInfoMode(3);
}

void frmMain::QI_Label_Click()
{
    for (const char* item : kQuickInfoItems)
        MenuItem(item)->setChecked(false);
    const int mode = model::NextQuickInfoMode(NodeQuickInfoMode);
    if (mode >= 0 && mode <= 3)
        SetQuickInfoMode(mode);
    else
        RefreshQuickInfo();
}

// --- selection ------------------------------------------------------------------------

void frmMain::CalculateUsed(int index)
{
    const model::StatusTexts texts =
        model::UsageTexts(Nodes, index, ActiveNode, IsLoopInterface, MaxLoopAddress, LoopCount);
    SetPanelText(2, Q(texts.activeNode));
    SetPanelText(3, Q(texts.name));
    SetPanelText(4, Q(texts.usage));
}

void frmMain::TakeSelectionDown()
{
    if (ActiveNode < 0 || ActiveNode >= kNodeCount)
        return;
    for (auto& node : Nodes)
        node.NotAsChild();
    const int parent = NodeAt(ActiveNode).Parent();
    if (parent >= 0)
        NodeAt(parent).NotAsParent();
    NodeAt(ActiveNode).DeActivate();
}

void frmMain::CloseUnpinnedEditors()
{
    if (frmNodeSettings::Loaded() && !NodeSettingsPinned)
        frmNodeSettings::Unload();
    if (frmDevices::Loaded() && !DevicesPinned)
        frmDevices::Unload();
}

void frmMain::EnableNodeButtons()
{
    ToolButton("Delete")->setEnabled(ActiveNode != 0);
    ToolButton("Properties")->setEnabled(true);
}

void frmMain::TellEditors(bool focusDevices)
{
    if (frmNodeSettings* settings = frmNodeSettings::Loaded()) {
        if (PreviousSelectedNode == -1)
            settings->NodeSelected();
        settings->RefreshData(PreviousSelectedNode);
    }
    if (frmDevices* devices = frmDevices::Loaded()) {
        devices->NodeSelected();
        devices->RefreshData(PreviousSelectedNode);
        if (focusDevices)
            devices->activateWindow();
    }
}

void frmMain::SelectNode(int index, int button, int shift)
{
    if (CommsFormActive)
        return;
    CloseUnpinnedEditors();
    if (ActiveNode != index && ActiveNode != -1)
        TakeSelectionDown();
    model::clsNode& node = NodeAt(index);
    if (button == 1) {
        node.Activate();
        PreviousSelectedNode = SelectedNode;
        ActiveNode = static_cast<int16_t>(index);
        SelectedNode = static_cast<int16_t>(index);
        node.ScanForChildren(Nodes);
        const int parent = node.Parent();
        if (shift & 2) {
            if (parent >= 0)
                NodeAt(parent).ShowAsParent();
            for (int j = 1; j < kNodeCount; ++j)
                if (node.GetChild(j))
                    NodeAt(j).ShowAsChild();
        } else {
            if (parent >= 0)
                NodeAt(parent).NotAsParent();
            for (int j = 1; j < kNodeCount; ++j)
                if (node.GetChild(j))
                    NodeAt(j).NotAsChild();
            if (!Locked && !skipNextDrag_)
                StartDrag(index);
            skipNextDrag_ = false;
        }
        EnableNodeButtons();
        TellEditors(true);
        CalculateUsed(index);
    } else if (button == 2) {
        node.Activate();
        ActiveNode = static_cast<int16_t>(index);
        CloseUnpinnedEditors();
        if (IsLoopInterface) {
            SetPanelText(2, "RLM Active");
            SetPanelText(3, QString());
            CheckIsLoopInterfaceOptions();
            PopUp(Menu("NodePopupMenu"));
        } else {
            SetPanelText(2, Q(model::ActiveNodeText(index, false)));
            SetPanelText(3, Q(node.Name()));
            PopUp(Menu(index == 0 ? "MasterPopupMenu" : "NodePopupMenu"));
        }
    }
}

void frmMain::PopUp(QMenu* menu)
{
    // Opened once control is back in the event loop, so that the mouse event
    // that asked for it has been handled completely.
    QMetaObject::invokeMethod(
        menu, [menu] { menu->popup(QCursor::pos()); }, Qt::QueuedConnection);
}

void frmMain::StartDrag(int index)
{
    const model::clsNode& node = NodeAt(index);
    dragging_ = true;
    dragNode_ = index;
    MoveDragOutline(node.Left(), node.Top());
    SizeTwips(nodeDrag_, node.Width(), node.Height());
    nodeDrag_->show();
    nodeDrag_->raise();
}

void frmMain::EndSiteNameEdit()
{
    if (!siteNameEdit_->isVisible())
        return;
    const QString text = siteNameEdit_->text().trimmed();
    if (text != siteName_->text().trimmed()) {
        FileChanged = true;
        UpdateTitleBar();
    }
    siteName_->setText(" " + text + " ");
    siteName_->adjustSize();
    SiteName = text.toStdString();
    siteNameEdit_->hide();
}

void frmMain::CancelDrag()
{
    skipNextDrag_ = true;
    dragging_ = false;
    nodeDrag_->hide();
}

void frmMain::ActivateNode(int index)
{
    if (index < 0 || index >= kNodeCount)
        return;
    if (ActiveNode != index && ActiveNode != -1)
        TakeSelectionDown();
    if (ActiveNode != index) {
        NodeAt(index).Activate();
        ActiveNode = static_cast<int16_t>(index);
    }
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    EnableNodeButtons();
    TellEditors(false);
    const model::StatusTexts texts =
        model::UsageTexts(Nodes, ActiveNode, ActiveNode, IsLoopInterface, MaxLoopAddress, LoopCount,
                          model::HubUsageWording::Devices);
    SetPanelText(2, Q(texts.activeNode));
    SetPanelText(3, Q(texts.name));
    SetPanelText(4, Q(texts.usage));
}

void frmMain::Canvas_MouseDown(int button, int shift, double x, double y)
{
    if (CommsFormActive)
        return;
    EndSiteNameEdit();
    const int hit = model::NodeAt(Nodes, x, y);
    if (hit >= 0) {
        const model::clsNode& node = NodeAt(hit);
        dragOffsetX_ = static_cast<int>(model::RoundHalfEven(x - node.Left()));
        dragOffsetY_ = static_cast<int>(model::RoundHalfEven(y - node.Top()));
        SelectNode(hit, button, shift);
        return;
    }
    // Empty canvas: the editors are told, and the selection is cleared.
    if (frmNodeSettings* settings = frmNodeSettings::Loaded()) {
        if (!NodeSettingsPinned)
            frmNodeSettings::Unload();
        else
            settings->NoNodeSelected();
    }
    if (frmDevices* devices = frmDevices::Loaded()) {
        if (!DevicesPinned)
            frmDevices::Unload();
        else
            devices->NoNodeSelected();
    }
    if (ActiveNode != -1) {
        TakeSelectionDown();
        SetPanelText(2, QString());
        SetPanelText(3, QString());
        SetPanelText(4, QString());
        PreviousSelectedNode = ActiveNode;
        ActiveNode = -1;
        SelectedNode = -1;
        ToolButton("Delete")->setEnabled(false);
        ToolButton("Properties")->setEnabled(false);
    }
}

void frmMain::NodeLabel_MouseDown(int index, int button, int shift, double x, double y)
{
    if (CommsFormActive)
        return;
    EndSiteNameEdit();
    const NodeLabel* label = NodeControls(index).Label();
    const model::clsNode& node = NodeAt(index);
    dragOffsetX_ = static_cast<int>(model::RoundHalfEven(::LeftTwips(label) - node.Left() + x));
    dragOffsetY_ = static_cast<int>(model::RoundHalfEven(::TopTwips(label) - node.Top() + y));
    SelectNode(index, button, shift);
}

void frmMain::Canvas_MouseUp(int button, int shift, double x, double y)
{
    if (!CommsFormActive)
        DropNode(button, shift, x, y);
}

void frmMain::NodeLabel_MouseUp(int, int button, int shift, double x, double y)
{
    if (!CommsFormActive)
        DropNode(button, shift, x, y);
}

// --- editing commands ------------------------------------------------------------

void frmMain::ConnectEditingCommands()
{
    const std::pair<const char*, void (frmMain::*)()> items[] = {
        {"NewFile", &frmMain::NewFile_Click},
        {"FileLoad", &frmMain::FileLoad_Click},
        {"FileSave", &frmMain::FileSave_Click},
        {"FileSaveAs", &frmMain::FileSaveAs_Click},
        {"FilePaths", &frmMain::FilePaths_Click},
        {"CheckFileOpen", &frmMain::CheckFileOpen_Click},
        {"CheckFileClose", &frmMain::CheckFileClose_Click},
        {"LockObjects", &frmMain::LockObjects_Click},
        {"AllowDragDropParent", &frmMain::AllowDragDropParent_Click},
        {"AddRCC", &frmMain::AddRCC_Click},
        {"RCCDelete", &frmMain::RCCDelete_Click},
        {"PopupMasterEdit", &frmMain::PopupMasterEdit_Click},
        {"PopupNodeEdit", &frmMain::PopupNodeEdit_Click},
        {"PopupNodeDevices", &frmMain::PopupNodeDevices_Click},
        {"FindDevice", &frmMain::FindDevice_Click},
    };
    for (const auto& [name, handler] : items)
        connect(MenuItem(name), &QAction::triggered, this, handler);
    connect(Menu("RecentFiles"), &QMenu::triggered, this, [this](QAction* item) {
        const QString name = item->objectName();
        if (name.startsWith("FileMRU_"))
            FileMRU_Click(name.mid(8).toInt());
    });
    connect(this, &frmMain::DeleteRccRequested, this, &frmMain::RCCDelete_Click);
    connect(this, &frmMain::FindDeviceRequested, this, &frmMain::FindDevice_Click);
}

// What the file commands ask of the window.

int frmMain::Ask(const std::string& text, int style, const std::string& title)
{
    return ShowMessage(Q(text), style, Q(title));
}

bool frmMain::ChooseFile(bool save, std::string& fileName)
{
    platform::FileDialogRequest request;
    request.save = save;
    request.title = save ? "Save A Quorvel Configuration File" : "Open a Quorvel Configuration File";
    request.fileName = Q(fileName);
    request.filter = "Quorvel Config Files (*.qvs)";
    request.defaultSuffix = "qvs";
    request.confirmOverwrite = save;
    const std::optional<QString> chosen = platform::ShowFileDialog(this, request);
    if (!chosen)
        return false;
    fileName = chosen->toStdString();
    return true;
}

std::string frmMain::SiteNameCaption()
{
    return siteName_->text().toStdString();
}

void frmMain::ClearForLoad()
{
    ClearScreen();
    siteName_->hide();
}

void frmMain::SetStatusText(int panel, const std::string& text)
{
    SetPanelText(panel, Q(text));
}

void frmMain::ShowErrorList(bool refusedSave)
{
    frmErrorCheck* list = frmErrorCheck::Display(this);
    if (refusedSave) {
        list->setWindowTitle("Configuration File Errors - File NOT Saved");
        list->WarningLabel->setText("WARNING:  File NOT Saved");
        list->WarningLabel->show();
    }
}

// File menu.

void frmMain::NewFile_Click()
{
    EndSiteNameEdit();
    if (!CheckForChanges())
        return;
    auto* dialog = new frmNewSite(this);
    platform::LoadForm(dialog);
    dialog->adjustSize();
    dialog->move(frameGeometry().center() - QPoint(dialog->width() / 2, dialog->height() / 2));
    dialog->exec();
    if (dialog->Tag.toInt() != 0) {
        const model::NewSiteChoice choice = dialog->Choice();
        const int rccs = model::ApplyNewSiteHeader(choice);
        PositionNodeShell();
        model::ResetNodesForNewSite(Nodes, rccs, LoopAddressOwner);
        DisplayNodes();
        model::NameNewSite(choice.name);
        siteName_->setText(Q(choice.name));
        PlaceSiteName(SiteNameX, SiteNameY);
        MenuItem("OptionsSiteName")->setChecked(true);
        siteName_->show();
        siteName_->raise();
        update();
        UpdateTitleBar();
        ReDraw(-1);
    }
    platform::UnloadFormNow(dialog);
    CheckIsLoopInterfaceOptions();
}

void frmMain::FileLoad_Click()
{
    fileCommands_.Open();
}

void frmMain::FileSave_Click()
{
    fileCommands_.Save();
}

void frmMain::FileSaveAs_Click()
{
    fileCommands_.SaveAs();
}

void frmMain::FileMRU_Click(int index)
{
    fileCommands_.OpenRecent(index);
}

void frmMain::FilePaths_Click()
{
    FilePaths = !FilePaths;
    MenuItem("FilePaths")->setChecked(FilePaths);
    UpdateTitleBar();
    RefreshRecentFilesMenu();
}

void frmMain::CheckFileOpen_Click()
{
    CheckOnOpen = !CheckOnOpen;
    MenuItem("CheckFileOpen")->setChecked(CheckOnOpen);
}

void frmMain::CheckFileClose_Click()
{
    CheckOnClose = !CheckOnClose;
    MenuItem("CheckFileClose")->setChecked(CheckOnClose);
}

// RCC commands and the editors.

void frmMain::AddRCC_Click()
{
    const int added = model::AddRcc(Nodes, ActiveNode);
    if (added < 0) {
        ShowMessage(Q(model::RccLimitMessage()), MessageStyle::Critical, "Add an RCC");
        return;
    }
    ReDraw(added);
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::RCCDelete_Click()
{
    if (ActiveNode < 1 || ActiveNode >= kNodeCount)
        return;
    const int index = ActiveNode;
    if (ShowMessage(Q(model::DeleteRccQuestion(Nodes, index)),
                    MessageStyle::Exclamation + MessageStyle::YesNo, "Delete an RCC") != MessageResult::Yes)
        return;
    NodeAt(index).DeActivate();
    model::DeleteRcc(Nodes, index, LoopAddressOwner);
    SetPanelText(2, QString());
    SetPanelText(3, QString());
    ActiveNode = -1;
    ReDraw(-1);
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::ShowNodeSettings()
{
    frmNodeSettings* settings = frmNodeSettings::Load();
    settings->show();
    settings->raise();
    settings->RefreshData(PreviousSelectedNode);
}

void frmMain::ShowDevices()
{
    frmDevices* devices = frmDevices::Load();
    devices->show();
    devices->raise();
    devices->RefreshData(PreviousSelectedNode);
}

void frmMain::PopupMasterEdit_Click()
{
    PopupNodeEdit_Click();
}

void frmMain::PopupNodeEdit_Click()
{
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    ShowNodeSettings();
}

void frmMain::PopupNodeDevices_Click()
{
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    ShowDevices();
}

void frmMain::FindDevice_Click()
{
    // A box that could not be shown (another one waits) leaves nothing to search.
    if (frmParameter::GetParameter(
            this, "Please Enter the Ident as 5 digits\r\nor Loop Address as Loop:Address (eg. 1:25)",
            ParameterEntry::Text, 6, QString(), MessageStyle::CancelOK,
            "Search for a Device") == MessageResult::Refused)
        return;
    const model::FindResult found = model::FindDevice(ParameterResult.toStdString());
    if (!found.found) {
        if (!found.message.empty())
            ShowMessage(Q(found.message), MessageStyle::Critical, "Find Device");
        return;
    }
    if (ShowMessage(Q(found.message), MessageStyle::Question + MessageStyle::YesNo, "Find Device") !=
        MessageResult::Yes)
        return;
    ActivateNode(found.node);
    if (found.slot != 0) {
        PopupNodeDevices_Click();
        if (frmDevices* devices = frmDevices::Loaded())
            devices->SelectDevice(found.slot);
    } else {
        PreviousSelectedNode = SelectedNode;
        SelectedNode = ActiveNode;
        ShowNodeSettings();
    }
}

// Dragging nodes.

void frmMain::MoveDragOutline(long left, long top)
{
    dragLeft_ = left;
    dragTop_ = top;
    PlaceTwips(nodeDrag_, left, top);
}

void frmMain::Canvas_MouseMove(int button, int, double x, double y)
{
    if (!dragging_ || button != 1 || dragNode_ < 0)
        return;
    const long left = static_cast<long>(model::RoundHalfEven(x - dragOffsetX_));
    const long top = static_cast<long>(model::RoundHalfEven(y - dragOffsetY_));
    if (model::CanvasDragAllowed(static_cast<int32_t>(left), NodeAt(dragNode_).Width(),
                                 static_cast<int32_t>(WidthTwips())))
        MoveDragOutline(left, top);
}

void frmMain::NodeLabel_MouseMove(int index, int button, int, double x, double y)
{
    if (!dragging_ || button != 1 || dragNode_ < 0)
        return;
    const NodeLabel* label = NodeControls(index).Label();
    const model::clsNode& node = NodeAt(dragNode_);
    model::OutlineRect outline;
    outline.left = static_cast<int32_t>(model::RoundHalfEven(::LeftTwips(label) + x - dragOffsetX_));
    outline.top = static_cast<int32_t>(model::RoundHalfEven(::TopTwips(label) + y - dragOffsetY_));
    outline.width = node.Width();
    outline.height = node.Height();
    outline = model::BoundCaptionDrag(outline, static_cast<int32_t>(WidthTwips()),
                                      static_cast<int32_t>(HeightTwips()), Toolbar);
    MoveDragOutline(outline.left, outline.top);
}

void frmMain::DropNode(int button, int, double, double)
{
    if (button != 1 || !dragging_)
        return;
    dragging_ = false;
    nodeDrag_->hide();
    if (dragNode_ < 0)
        return;
    const model::clsNode& node = NodeAt(dragNode_);
    const model::OutlineRect outline{static_cast<int32_t>(dragLeft_), static_cast<int32_t>(dragTop_),
                                     node.Width(), node.Height()};
    switch (model::DropNodeOutline(Nodes, dragNode_, outline, DropOnParent)) {
    case model::DropResult::Unmoved:
        return;
    case model::DropResult::Refused:
        dragNode_ = -1;
        return;
    case model::DropResult::Reparented:
        ReDraw(dragNode_);
        dragNode_ = -1;
        break;
    case model::DropResult::Moved:
        ComputeDrawingExtent();
        ReDraw(dragNode_);
        break;
    }
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::NodeLabel_DblClick(int index)
{
    if (CommsFormActive)
        return;
    if (ActiveNode != -1)
        NodeAt(ActiveNode).DeActivate();
    ActiveNode = static_cast<int16_t>(index);
    NodeAt(index).Activate();
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    ShowNodeSettings();
}

void frmMain::LockObjects_Click()
{
    Locked = !Locked;
    MenuItem("LockObjects")->setChecked(Locked);
    SetLockPicture(Locked);
}

void frmMain::AllowDragDropParent_Click()
{
    DropOnParent = !DropOnParent;
    MenuItem("AllowDragDropParent")->setChecked(DropOnParent);
}

// Events of the status-bar panels, the site-name label and its edit box.

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        for (int i = 1; i <= 4; ++i)
            if (watched == panels_[static_cast<std::size_t>(i)])
                StatusBar1_PanelClick(i);
    if (watched == siteName_) {
        auto* mouse = dynamic_cast<QMouseEvent*>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            SiteName_MouseDown(MouseButtonCode(mouse->button()), ShiftStateCode(mouse->modifiers()),
                               PixelsToTwips(1) * mouse->position().x(),
                               PixelsToTwips(1) * mouse->position().y());
            return true;
        case QEvent::MouseMove:
            // The outline follows the mouse while the label is dragged.
            if (dragging_ && dragNode_ == -2) {
                const QPoint at = canvas_->mapFromGlobal(mouse->globalPosition().toPoint());
                nodeDrag_->setGeometry(at.x() - TwipsToPixels(dragOffsetX_),
                                       at.y() - TwipsToPixels(dragOffsetY_), siteName_->width(),
                                       siteName_->height());
                nodeDrag_->show();
                nodeDrag_->raise();
            }
            return true;
        case QEvent::MouseButtonRelease:
            if (mouse->button() == Qt::LeftButton && dragging_ && dragNode_ == -2)
                EndSiteNameDrag(mouse->globalPosition().toPoint());
            return true;
        case QEvent::MouseButtonDblClick:
            SiteName_DblClick();
            return true;
        default:
            break;
        }
    } else if (watched == siteNameEdit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            SiteNameEdit_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::SiteName_MouseDown(int button, int, double x, double y)
{
    if (button != 1 || Locked)
        return;
    dragging_ = true;
    dragNode_ = -2;
    dragOffsetX_ = static_cast<int>(model::RoundHalfEven(x));
    dragOffsetY_ = static_cast<int>(model::RoundHalfEven(y));
}

void frmMain::EndSiteNameDrag(const QPoint& globalPos)
{
    nodeDrag_->hide();
    const QPoint at = canvas_->mapFromGlobal(globalPos);
    if (!canvas_->rect().contains(at))
        return; // dropped outside the canvas: nothing moves
    // The drop point within the label, measured from where the label stands.
    const QPoint inLabel = siteName_->mapFromGlobal(globalPos);
    const double x = PixelsToTwips(inLabel.x());
    const double y = PixelsToTwips(inLabel.y());
    if (siteName_->rect().contains(inLabel)) {
        SiteName_DragDrop(siteName_, x, y);
        return;
    }
    for (int i = 0; i < kNodeCount; ++i) {
        const NodeControlSet& set = NodeControls(i);
        for (const QWidget* label :
             {static_cast<const QWidget*>(set.Label()), static_cast<const QWidget*>(set.QILabel())})
            if (label->isVisible() && label->geometry().contains(at))
                return; // dropped on a caption: nothing moves
    }
    Canvas_DragDrop(siteName_, SiteNameX + x, SiteNameY + y);
}

void frmMain::PlaceSiteName(double left, double top)
{
    SiteNameX = static_cast<int32_t>(model::RoundHalfEven(left));
    SiteNameY = static_cast<int32_t>(model::RoundHalfEven(top));
    siteName_->adjustSize();
    PlaceTwips(siteName_, SiteNameX, SiteNameY);
}

void frmMain::Canvas_DragDrop(QWidget* source, double x, double y)
{
    if (source != siteName_)
        return;
    const double left = x - dragOffsetX_;
    const double top = y - dragOffsetY_;
    dragging_ = false;
    dragNode_ = -1;
    // A drop where the label already stands moves nothing and changes nothing.
    if (model::RoundHalfEven(left) == SiteNameX && model::RoundHalfEven(top) == SiteNameY)
        return;
    PlaceSiteName(left, top);
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::SiteName_DragDrop(QWidget* source, double x, double y)
{
    if (dragNode_ != -2)
        return;
    Canvas_DragDrop(source, SiteNameX + x, SiteNameY + y);
}

void frmMain::SiteName_DblClick()
{
    siteNameEdit_->setGeometry(siteName_->x(), siteName_->y(), siteName_->width(),
                               siteNameEdit_->sizeHint().height());
    siteNameEdit_->setText(Q(model::TrimBlanks(siteName_->text().toStdString())));
    siteNameEdit_->show();
    siteNameEdit_->raise();
    siteNameEdit_->setFocus();
}

void frmMain::SiteNameEdit_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        EndSiteNameEdit();
}

// --- menus, options and serial-window launch -----------------------------------

void frmMain::ConnectMenuCommands()
{
    const std::pair<const char*, void (frmMain::*)()> commands[] = {
        {"HubProgram", &frmMain::HubProgram_Click},
        {"HubProgramToolsMenu", &frmMain::HubProgramToolsMenu_Click},
        {"HubCompare", &frmMain::HubCompare_Click},
        {"HubComms", &frmMain::HubComms_Click},
        {"HubRead", &frmMain::HubRead_Click},
        {"CompareConfig", &frmMain::CompareConfig_Click},
        {"mnuOpenComms", &frmMain::mnuOpenComms_Click},
        {"ReadConfig", &frmMain::ReadConfig_Click},
        {"TolsReadRLM", &frmMain::TolsReadRLM_Click},
        {"TolsReadRLMFile", &frmMain::TolsReadRLMFile_Click},
        {"TolsReadRLMPopup", &frmMain::TolsReadRLMPopup_Click},
        {"ToolsHubRead", &frmMain::ToolsHubRead_Click},
        {"ToolsRCCRead", &frmMain::ToolsRCCRead_Click},
        {"ToolsRCCReadPopup", &frmMain::ToolsRCCReadPopup_Click},
        {"RCCCompare", &frmMain::RCCCompare_Click},
        {"Diagnostics", &frmMain::Diagnostics_Click},
        {"ErrorCheck", &frmMain::ErrorCheck_Click},
        {"SetComms", &frmMain::SetComms_Click},
        {"ConfigStats", &frmMain::ConfigStats_Click},
        {"TreeView", &frmMain::TreeView_Click},
        {"ViewGrid", &frmMain::ViewGrid_Click},
        {"HelpGuide", &frmMain::HelpGuide_Click},
        {"HelpHistory", &frmMain::HelpHistory_Click},
        {"HelpAbout", &frmMain::HelpAbout_Click},
        {"ReportComments", &frmMain::ReportComments_Click},
        {"FileExit", &frmMain::FileExit_Click},
        {"EnableProgLog", &frmMain::EnableProgLog_Click},
        {"EnableDiagsLog", &frmMain::EnableDiagsLog_Click},
        {"ConfirmDiffs", &frmMain::ConfirmDiffs_Click},
        {"UseLastOnStart", &frmMain::UseLastOnStart_Click},
        {"ViewToolbar", &frmMain::ViewToolbar_Click},
        {"OptionsSiteName", &frmMain::OptionsSiteName_Click},
        {"OutlineSiteName", &frmMain::OutlineSiteName_Click},
        {"SetCommsPaths", &frmMain::SetCommsPaths_Click},
        {"ExportLogs", &frmMain::ExportLogs_Click},
    };
    for (const auto& [name, handler] : commands)
        connect(MenuItem(name), &QAction::triggered, this, handler);
}

void frmMain::SelectHub()
{
    SelectNode(0, 1, 0);
    dragging_ = false;
    nodeDrag_->hide();
}

void frmMain::Launch(model::LaunchCommand command)
{
    const model::LaunchPlan plan = model::PlanFor(command);
    if (plan.needsRcc && (ActiveNode < 1 || ActiveNode > 31)) {
        PlainMessage(model::kSelectRccText, MessageStyle::Critical, model::kSelectRccTitle);
        return;
    }
    if (plan.selection == model::HubSelection::Select ||
        (plan.selection == model::HubSelection::SelectUnlessHub && ActiveNode != 0)) {
        SelectHub();
        ActiveNode = 0;
    }
    if (plan.unitNotIdentified) {
        FileLoaded = false;
        ActiveNode = -1;
    }
    commsFormTimer_->stop();
    commsFormTimer_->setInterval(plan.intervalMs);
    CommsAction = plan.action;
    pendingLoopInterface_ = plan.loopInterface;
    commsFormTimer_->start();
}

void frmMain::HubProgram_Click()
{
    Launch(model::LaunchCommand::HubProgram);
}

void frmMain::HubProgramToolsMenu_Click()
{
    Launch(model::LaunchCommand::HubProgramToolsMenu);
}

void frmMain::HubCompare_Click()
{
    Launch(model::LaunchCommand::HubCompare);
}

void frmMain::HubComms_Click()
{
    Launch(model::LaunchCommand::HubComms);
}

void frmMain::HubRead_Click()
{
    Launch(model::LaunchCommand::HubRead);
    frmComms::Unload();
}

void frmMain::CompareConfig_Click()
{
    Launch(model::LaunchCommand::CompareConfig);
}

void frmMain::mnuOpenComms_Click()
{
    Launch(model::LaunchCommand::mnuOpenComms);
}

void frmMain::ReadConfig_Click()
{
    Launch(model::LaunchCommand::ReadConfig);
}

void frmMain::TolsReadRLM_Click()
{
    Launch(model::LaunchCommand::TolsReadRLM);
}

void frmMain::TolsReadRLMFile_Click()
{
    Launch(model::LaunchCommand::TolsReadRLMFile);
}

void frmMain::TolsReadRLMPopup_Click()
{
    Launch(model::LaunchCommand::TolsReadRLMPopup);
}

void frmMain::ToolsHubRead_Click()
{
    Launch(model::LaunchCommand::ToolsHubRead);
}

void frmMain::ToolsRCCRead_Click()
{
    Launch(model::LaunchCommand::ToolsRCCRead);
}

void frmMain::ToolsRCCReadPopup_Click()
{
    Launch(model::LaunchCommand::ToolsRCCReadPopup);
}

void frmMain::RCCCompare_Click()
{
    Launch(model::LaunchCommand::RCCCompare);
}

void frmMain::Read_Diags()
{
    Launch(model::LaunchCommand::Read_Diags);
}

void frmMain::CommsFormTimer_Timer()
{
    commsFormTimer_->stop();
    if (CommsFormActive)
        frmComms::Unload();
    setEnabled(false);
    // A read of one kind of unit sets the kind of site now; it is put back
    // when the read does not replace the site.
    loopInterfaceGuard_.Apply(pendingLoopInterface_, IsLoopInterface);
    pendingLoopInterface_.reset();

    frmComms* comms = frmComms::Load();
    // Closing the window gives the main window back, unless another launch
    // has loaded a new one meanwhile.
    connect(comms, &QObject::destroyed, this, [this] {
        if (frmComms::Loaded() == nullptr)
            setEnabled(true);
    });
    comms->show();
    if (!comms->PortOpen()) {
        PlainMessage(model::kPortFailureText, MessageStyle::Critical, Q(model::PortFailureTitle(ActiveNode)));
        setEnabled(true);
        frmComms::Unload();
        loopInterfaceGuard_.Restore(IsLoopInterface);
        CheckIsLoopInterfaceOptions();
        return;
    }
    switch (model::DispatchFor(CommsAction)) {
    case model::CommsDispatch::Program:
        comms->cmdProgram_Click();
        break;
    case model::CommsDispatch::Compare:
        comms->CompareConfig_Click();
        break;
    case model::CommsDispatch::Read:
        comms->ReadConfig_Click();
        // A read the user cancelled closes the window and leaves the site.
        if (frmComms::Loaded() == nullptr) {
            loopInterfaceGuard_.Restore(IsLoopInterface);
            CheckIsLoopInterfaceOptions();
        }
        break;
    case model::CommsDispatch::None:
        break;
    }
    loopInterfaceGuard_ = {};
}

void frmMain::Diagnostics_Click()
{
    if (ActiveNode >= 1 && ActiveNode <= 31)
        TakeSelectionDown();
    if (ActiveNode != 0) {
        NodeAt(0).Activate();
        PreviousSelectedNode = SelectedNode;
        SelectedNode = 0;
        ActiveNode = 0;
    }
    frmDiagnostics* diagnostics = frmDiagnostics::Load();
    diagnostics->show();
    diagnostics->raise();
}

void frmMain::ErrorCheck_Click()
{
    model::ErrorCheckMode = 0;
    if (model::CheckConfiguration() != 0)
        frmErrorCheck::Display(this);
    else
        ShowMessage("No Errors Found in Configuration", MessageStyle::Information,
                    "Check Configuration for Errors");
}

void frmMain::SetComms_Click()
{
    frmPortForm::ShowCentredOn(this);
}

namespace {

template <class Form> void ShowModeless()
{
    Form* form = Form::Load();
    form->show();
    form->raise();
}

} // namespace

void frmMain::ConfigStats_Click()
{
    ShowModeless<FrmStats>();
}

void frmMain::TreeView_Click()
{
    ShowModeless<frmTreeView>();
}

void frmMain::ViewGrid_Click()
{
    ShowModeless<frmGrid>();
}

void frmMain::HelpHistory_Click()
{
    ShowModeless<frmHistory>();
}

void frmMain::ReportComments_Click()
{
    ShowModeless<frmComments>();
}

void frmMain::HelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::HelpGuide_Click()
{
    // The guide ships beside the program; a missing guide shows nothing.
    const QString name = "Users Guide.pdf";
    const QString inProgramFolder = QDir(Q(platform::ProgramFolder())).filePath(name);
    if (!platform::ShellOpenFile(inProgramFolder))
        platform::ShellOpenFile(QDir(Q(platform::ExecutableFolder())).filePath(name));
}

void frmMain::FileExit_Click()
{
    if (SaveInProgress())
        return;
    if (siteNameEdit_->isVisible())
        EndSiteNameEdit();
    if (!CheckForChanges())
        return;
    if (windowState() == Qt::WindowNoState)
        StoreRectangle();
    platform::RestoreWindowProc(*this);
    ExitProgram();
}

void frmMain::EnableProgLog_Click()
{
    LogProg = !LogProg;
    MenuItem("EnableProgLog")->setChecked(LogProg);
}

void frmMain::EnableDiagsLog_Click()
{
    LogDiags = !LogDiags;
    MenuItem("EnableDiagsLog")->setChecked(LogDiags);
}

void frmMain::ConfirmDiffs_Click()
{
    ConfirmDiffs = !ConfirmDiffs;
    MenuItem("ConfirmDiffs")->setChecked(ConfirmDiffs);
}

void frmMain::UseLastOnStart_Click()
{
    ReOpenLastUsed = !ReOpenLastUsed;
    MenuItem("UseLastOnStart")->setChecked(ReOpenLastUsed);
}

void frmMain::ViewToolbar_Click()
{
    Toolbar = !Toolbar;
    toolBar_->setVisible(Toolbar);
    MenuItem("ViewToolbar")->setChecked(Toolbar);
    Form_Resize();
    canvas_->SetTopTwips(Toolbar ? kToolbarHeight : 0);
    canvas_->SetHeightTwips(HeightTwips() - kFrameHeight - (Toolbar ? kToolbarHeight : 0));
}

void frmMain::SetSiteNameOptions(bool show, bool border)
{
    ShowSiteName = show;
    BorderSiteName = border;
    MenuItem("OptionsSiteName")->setChecked(show);
    MenuItem("OutlineSiteName")->setChecked(border);
    siteName_->setVisible(show);
    siteName_->setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
}

void frmMain::OptionsSiteName_Click()
{
    SetSiteNameOptions(!ShowSiteName, BorderSiteName);
}

void frmMain::OutlineSiteName_Click()
{
    SetSiteNameOptions(ShowSiteName, !BorderSiteName);
}

void frmMain::ToolBar1_ButtonClick(const QString& key)
{
    using model::ToolbarCommand;
    // The commands whose handlers are the menu items' own.
    const std::pair<ToolbarCommand, const char*> viaMenu[] = {
        {ToolbarCommand::NewFile, "NewFile"},       {ToolbarCommand::FileLoad, "FileLoad"},
        {ToolbarCommand::FileSave, "FileSave"},     {ToolbarCommand::RCCDelete, "RCCDelete"},
        {ToolbarCommand::AddRCC, "AddRCC"},         {ToolbarCommand::PopupNodeEdit, "PopupNodeEdit"},
        {ToolbarCommand::FindDevice, "FindDevice"},
    };
    const ToolbarCommand command = model::ToolbarCommandFor(key.toStdString(), CommsFormActive, ActiveNode);
    switch (command) {
    case ToolbarCommand::NoQuick:
        NoQuick_Click();
        return;
    case ToolbarCommand::Ident_Quick:
        Ident_Quick_Click();
        return;
    case ToolbarCommand::LA_Quick:
        LA_Quick_Click();
        return;
    case ToolbarCommand::QuickChannels:
        QuickChannels_Click();
        return;
    case ToolbarCommand::ErrorCheck:
        ErrorCheck_Click();
        return;
    default:
        break;
    }
    for (const auto& [menuCommand, item] : viaMenu)
        if (menuCommand == command)
            MenuItem(item)->trigger();
}

void frmMain::StatusBar1_PanelClick(int panel)
{
    if (panel == 1)
        LockObjects_Click();
}

void frmMain::SetCommsPaths_Click()
{
    logsFrame_->Open(LogsFrame::Mode::Set);
}

void frmMain::ExportLogs_Click()
{
    logsFrame_->Open(LogsFrame::Mode::Export);
}

int frmMain::PlainMessage(const QString& text, int style, const QString& title)
{
    return platform::ShowPlainMessage(this, text.toStdString(), style, title.toStdString());
}

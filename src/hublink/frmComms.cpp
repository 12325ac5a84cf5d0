#include "hublink/frmComms.h"

#include "hublink/PortSetup.h"
#include "hublink/core/Assignment.h"
#include "hublink/core/CommsAction.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/HubConfigParser.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/ProgLog.h"
#include "hublink/core/ProgrammingRun.h"
#include "hublink/core/ReadConfiguration.h"
#include "hublink/frmPortForm.h"
#include "model/LogTrim.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/LoadedForms.h"
#include "platform/ModalWindows.h"
#include "platform/PrinterDialog.h"
#include "platform/Printer.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/WindowLayer.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/CodePage.h"
#include "platform/base/MessageStyle.h"

#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>

using namespace hublink;

bool CommsFormActive = false;
CommsHost* frmComms::MainWindow = nullptr;

namespace {

constexpr int kButtonWidth = 1125;
constexpr int kButtonHeight = 600;
constexpr int kStatusLeft = 120;
constexpr int kStatusTop = 120;
constexpr int kDeleteTickMs = 1000;
constexpr int kProgressHeight = 255;
// The controls are laid out from the window's size with the room its frame,
// title bar and menu bar take, as the window was designed.
constexpr long kFrameWidth = 90;
constexpr long kFrameHeight = 735;
// The window keeps its size; it opens over the main window.
const platform::StoredRectangle kStored{nullptr, nullptr, &CommsWindowWidth, &CommsWindowHeight};

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

int Px(long twips)
{
    return platform::TwipsToPixels(twips);
}

long Tw(int pixels)
{
    return platform::PixelsToTwips(pixels);
}

} // namespace

frmComms::frmComms() : serial_(*this, site_, this)
{
    setObjectName("frmComms");
    setWindowTitle("Hub / RCC  Communications");
    CreateControls();
    CreateMenus();
}

frmComms::~frmComms()
{
    if (!unloaded_)
        Form_Unload();
}

frmComms* frmComms::Load()
{
    const bool fresh = FormInstance::Loaded() == nullptr;
    frmComms* window = FormInstance::Load();
    if (fresh)
        window->Form_Load();
    return window;
}

void frmComms::CreateControls()
{
    StatusRTF = new QTextEdit(this);
    StatusRTF->setObjectName("StatusRTF");
    StatusRTF->setReadOnly(true);
    StatusRTF->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    StatusRTF->setLineWrapMode(QTextEdit::NoWrap);
    QFont courier("Courier New");
    courier.setStyleHint(QFont::Monospace);
    courier.setPointSizeF(9.75);
    StatusRTF->setFont(courier);
    StatusRTF->move(Px(kStatusLeft), Px(kStatusTop));

    CommsProgress = new QProgressBar(this);
    CommsProgress->setObjectName("CommsProgress");
    CommsProgress->setTextVisible(false);

    auto button = [this](const char* name, const char* caption, int left, void (frmComms::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(Px(left), 0, Px(kButtonWidth), Px(kButtonHeight));
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    cmdCancel = button("cmdCancel", "&Cancel", 60, &frmComms::cmdCancel_Click);
    cmdProgram = button("cmdProgram", "&Program", 5835, &frmComms::cmdProgram_Click);
    cmdClear = button("cmdClear", "Clea&r", 1470, &frmComms::cmdClear_Click);
    cmdPrint = button("cmdPrint", "Prin&t", 2880, &frmComms::cmdPrint_Click);
    cmdUpdate = button("cmdUpdate", "&Update", 4620, &frmComms::cmdUpdate_Click);
    setTabOrder(cmdCancel, cmdProgram);
    setTabOrder(cmdProgram, cmdClear);
    setTabOrder(cmdClear, cmdPrint);
    setTabOrder(cmdPrint, cmdUpdate);

    DeleteTimer = new QTimer(this);
    DeleteTimer->setInterval(kDeleteTickMs);
    connect(DeleteTimer, &QTimer::timeout, this, &frmComms::DeleteTimer_Timer);
}

QAction* frmComms::AddItem(QMenu* menu, const char* name, const char* caption, void (frmComms::*handler)())
{
    QAction* item = caption[0] == '-' ? menu->addSeparator() : menu->addAction(caption);
    item->setObjectName(name);
    if (handler != nullptr)
        connect(item, &QAction::triggered, this, handler);
    return item;
}

void frmComms::CreateMenus()
{
    MenuBar = new QMenuBar(this);
    CommsOptions = MenuBar->addMenu("&Options");
    CommsOptions->setObjectName("CommsOptions");
    AddItem(CommsOptions, "CommsSetup", "Comms &Setup", &frmComms::CommsSetup_Click);
    AddItem(CommsOptions, "sep2", "-");
    AddItem(CommsOptions, "LogComms", "&Log Comms", &frmComms::LogComms_Click)->setCheckable(true);
    AddItem(CommsOptions, "ViewLog", "&View Log File", &frmComms::ViewLog_Click);
    AddItem(CommsOptions, "ClearLogFile", "Clear Log &File", &frmComms::ClearLogFile_Click);
    AddItem(CommsOptions, "sep3", "-");
    AddItem(CommsOptions, "CloseComplete", "&Close on completion", &frmComms::CloseComplete_Click)
        ->setCheckable(true);
    AddItem(CommsOptions, "sep1", "-");
    AddItem(CommsOptions, "CommsExit", "E&xit", &frmComms::CommsExit_Click);

    ToolsMenu = MenuBar->addMenu("&Tools");
    ToolsMenu->setObjectName("ToolsMenu");
    AddItem(ToolsMenu, "ClearUnassigned", "Set All Devices as Assigned", &frmComms::ClearUnassigned_Click);
    AddItem(ToolsMenu, "SetUnassigned", "Set All Devices As Unassigned", &frmComms::SetUnassigned_Click);
    AddItem(ToolsMenu, "StartAssign", "Start Assignment Process", &frmComms::StartAssign_Click);
    AddItem(ToolsMenu, "AssignRCC", "Start RCC Assignment", &frmComms::AssignRCC_Click);
    AddItem(ToolsMenu, "ToolsSep1", "-");
    AddItem(ToolsMenu, "SetIdent", "Program Ident", &frmComms::SetIdent_Click);
    AddItem(ToolsMenu, "CompareConfig", "Compare Config", &frmComms::CompareConfig_Click);
    AddItem(ToolsMenu, "ReadConfig", "Read Config", &frmComms::ReadConfig_Click);
    AddItem(ToolsMenu, "ClearProg", "Clear Programming", &frmComms::ClearProg_Click);
}

QAction* frmComms::MenuItem(const QString& name) const
{
    return MenuBar->findChild<QAction*>(name);
}

// --- loading and closing -----------------------------------------------------------

void frmComms::Form_Load()
{
    QPointer<frmComms> self(this);
    loading_ = true;
    CommsFormActive = true;
    platform::ShowInFrontOfPinnedWindows(*this);
    connection_ = {};
    cmdUpdate->hide();
    CommsProgress->hide();
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(4L * kButtonWidth + 2500, 6000));
    platform::OpenOnStoredRectangle(*this, kStored, MainWindow ? MainWindow->Window() : nullptr);

    MenuItem("ClearProg")->setVisible(true);
    MenuItem("LogComms")->setChecked(LogProg);
    for (const char* hidden : {"SetUnassigned", "ClearUnassigned", "SetIdent", "AssignRCC"})
        MenuItem(hidden)->setVisible(false);
    MenuItem("StartAssign")->setEnabled(false);
    MenuItem("CloseComplete")->setChecked(CommsCloseOnComplete);
    SetCaption(CommsCaption(ActiveNode));
    Link().Session().CommsState = CommsStateCode::Idle;
    if (LogProg)
        WriteProgLogOpeningHeader();

    PortEnabled = true;
    if (ResetPort() == hublink::PortStatus::Failed) {
        Link().EndBusy();
        loading_ = false;
        return;
    }
    Link().SendWakeUp();
    platform::RaiseWithoutActivating(*this);
    show();
    repaint();
    platform::DoEvents();
    if (self.isNull())
        return;
    connection_ = ConnectToUnit(Link(), *this);
    loading_ = false;
}

void frmComms::closeEvent(QCloseEvent* event)
{
    // Nothing closes the window while an operation or its loading runs, nor
    // does the window manager's close while a box keeps the window waiting:
    // the box reports on the window's work, and the main window it disabled
    // is given back once both have gone.
    if (Busy() || loading_ || (event->spontaneous() && platform::WaitsOnAModalWindow())) {
        event->ignore();
        return;
    }
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmComms::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (isVisible())
        platform::StoreNormalRectangle(*this, kStored);
    platform::RestoreWindowProc(*this);
    CommsFormActive = false;
    serial_.Stop();
    ClosePort();
    if (MainWindow)
        MainWindow->Window()->setEnabled(true);
    if (QWidget* errors = platform::FindForm("frmErrorCheck"); errors != nullptr && errors->isVisible())
        errors->activateWindow();
    else if (MainWindow)
        MainWindow->Window()->activateWindow();
}

void frmComms::cmdCancel_Click()
{
    PortEnabled = false;
    Unload();
}

void frmComms::CommsExit_Click()
{
    Unload();
}

// --- layout ------------------------------------------------------------------------

void frmComms::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmComms::Form_Resize()
{
    if (windowState() != Qt::WindowNoState)
        return;
    MenuBar->setGeometry(0, 0, width(), MenuBar->sizeHint().height());
    // Controls are placed below the menu bar, from the window's outer size.
    const int menu = MenuBar->height();
    const long width = OuterWidthTwips();
    const long height = OuterHeightTwips();
    const long buttonTop = height - kButtonHeight - 1050;
    const long programLeft = width - kButtonWidth - 300;
    cmdProgram->move(Px(programLeft), menu + Px(buttonTop));
    cmdUpdate->move(Px(programLeft - 1215), menu + Px(buttonTop));
    cmdCancel->move(Px(60), menu + Px(buttonTop));
    cmdClear->move(Px(1470), menu + Px(buttonTop));
    cmdPrint->move(Px(2880), menu + Px(buttonTop));
    StatusRTF->setGeometry(Px(kStatusLeft), menu + Px(kStatusTop), Px(width - 450), Px(height - 2350));
    CommsProgress->setGeometry(StatusRTF->x(), menu + Px(buttonTop - 500), StatusRTF->width(),
                               Px(kProgressHeight));
}

long frmComms::OuterWidthTwips() const
{
    return Tw(width()) + kFrameWidth;
}

long frmComms::OuterHeightTwips() const
{
    return Tw(height() - MenuBar->height()) + kFrameHeight;
}

// --- port --------------------------------------------------------------------------

bool frmComms::PortOpen() const
{
    return serial_.Comm().PortOpen();
}

hublink::PortStatus frmComms::ResetPort()
{
    return serial_.ResetPort(this);
}

void frmComms::ClosePort()
{
    serial_.Comm().SetPortOpen(false);
}

void frmComms::CommsSetup_Click()
{
    ClosePort();
    frmPortForm::ShowCentredOn(this);
}

// --- options and the log -----------------------------------------------------------

void frmComms::LogComms_Click()
{
    LogProg = !LogProg;
    MenuItem("LogComms")->setChecked(LogProg);
}

void frmComms::CloseComplete_Click()
{
    CommsCloseOnComplete = !CommsCloseOnComplete;
    MenuItem("CloseComplete")->setChecked(CommsCloseOnComplete);
}

void frmComms::ViewLog_Click()
{
    StatusRTF->clear();
    shownFile_.clear();
    const std::string path = ProgLogPath();
    if (!QFile::exists(Q(path)))
        return;
    if (std::string error; !model::TrimLogForView(path, model::kLogViewLimit, &error)) {
        platform::ShowProgramMessage(this, error, MessageStyle::Critical, "View Log File");
        return;
    }
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    StatusRTF->setPlainText(Q(platform::Win1252ToUtf8(bytes.toStdString())).replace("\r\n", "\n"));
    shownFile_ = Q(path);
}

void frmComms::ClearLogFile_Click()
{
    const QString path = Q(ProgLogPath());
    if (!QFile::exists(path))
        return;
    if (QFile::remove(path))
        platform::ShowProgramMessage(this, "Log File Erased", 64, "Clear Log File");
}

void frmComms::cmdClear_Click()
{
    cmdCancel->setText("Close");
    if (!shownFile_.isEmpty() && shownFile_ == Q(ProgLogPath()) && QFile::exists(shownFile_))
        QFile::remove(shownFile_);
    CommsProgress->hide();
    ClearLogBox();
    StatusRTF->setFocus();
}

void frmComms::cmdPrint_Click()
{
    cmdCancel->setText("Close");
    QPrinter& printer = platform::Printer();
    const bool selection = StatusRTF->textCursor().hasSelection();
    if (!platform::ChoosePrinter(this, printer, selection))
        return;
    repaint();
    platform::DoEvents();
    QTextDocument document;
    document.setDefaultFont(StatusRTF->font());
    if (selection)
        document.setPlainText(StatusRTF->textCursor().selection().toPlainText());
    else
        document.setPlainText(StatusRTF->toPlainText());
    document.print(&printer);
}

void frmComms::DeleteTimer_Timer()
{
    QTextCursor cursor = StatusRTF->textCursor();
    cursor.insertText(".");
    cursor.movePosition(QTextCursor::End);
    StatusRTF->setTextCursor(cursor);
}

// --- actions -----------------------------------------------------------------------

void frmComms::ReadConfig_Click()
{
    QPointer<frmComms> self(this);
    cmdUpdate->hide();
    cmdProgram->setText("&Read");
    programMode_ = ProgramMode::Read;
    if (MainWindow && !MainWindow->CheckForChanges(this)) {
        Unload();
        return;
    }
    cmdCancel->setText("Close");
    StartNewSite();
    if (MainWindow)
        MainWindow->DisplayNewSite();
    if (PortEnabled) {
        if (!PortOpen() && !serial_.Comm().SetPortOpen(true)) {
            ReportPortError(this, PortNumber, serial_.Comm().LastError().Number,
                            serial_.Comm().LastError().Description);
            PortEnabled = false;
        }
    } else {
        PortEnabled = true;
        ResetPort();
    }
    ReadOutcome outcome = ReadOutcome::Stopped;
    if (PortEnabled && PortOpen())
        outcome = ReadHubConfiguration(Link(), *this);
    else
        Link().EndBusy();
    if (self.isNull())
        return;
    // Whatever the outcome, nothing stays selected on the new site.
    if (MainWindow)
        MainWindow->ClearSelection();
    if (outcome == ReadOutcome::Stopped)
        return;
    PortEnabled = false;
    if (CommsCloseOnComplete && outcome == ReadOutcome::Downloaded && CommsAction != kCommsOpenOnly)
        Unload();
}

// The Program button reads once a read has made it the Read button, else
// programs.
void frmComms::cmdProgram_Click()
{
    if (programMode_ == ProgramMode::Read) {
        ReadConfig_Click();
        return;
    }
    SetCancelCaption("&Close");
    cmdUpdate_Click();
}

void frmComms::cmdUpdate_Click()
{
    ::cmdUpdate_Click(Link(), *this);
}

void frmComms::CompareConfig_Click()
{
    ::CompareConfig_Click(Link(), *this);
}

void frmComms::ClearProg_Click()
{
    ::ClearProg_Click(Link(), *this);
}

void frmComms::StartAssign_Click()
{
    ::StartAssign_Click(Link(), *this);
}

void frmComms::AssignRCC_Click()
{
    ::AssignRCC_Click(Link(), *this);
}

void frmComms::SetUnassigned_Click()
{
    ::SetUnassigned_Click(Link(), *this);
}

void frmComms::ClearUnassigned_Click()
{
    ::ClearUnassigned_Click(Link(), *this);
}

void frmComms::SetIdent_Click()
{
    ::SetIdent_Click(Link(), *this);
}

// --- ICommsWindow ------------------------------------------------------------------

void frmComms::AppendToLogBox(const std::string& text)
{
    QTextCursor cursor = StatusRTF->textCursor();
    cursor.insertText(Q(text) + "\n");
    cursor.movePosition(QTextCursor::End);
    StatusRTF->setTextCursor(cursor);
    StatusRTF->ensureCursorVisible();
}

void frmComms::SetControlsBusy(bool busy)
{
    for (QWidget* w : std::initializer_list<QWidget*>{cmdCancel, cmdClear, cmdPrint, cmdUpdate, cmdProgram})
        w->setEnabled(!busy);
    CommsOptions->setEnabled(!busy);
    ToolsMenu->setEnabled(!busy);
    CommsOptions->menuAction()->setEnabled(!busy);
    ToolsMenu->menuAction()->setEnabled(!busy);
    setEnabled(!busy);
}

int frmComms::ProgressValue() const
{
    return CommsProgress->value();
}

int frmComms::ProgressMax() const
{
    return CommsProgress->maximum();
}

void frmComms::SetProgressValue(int value)
{
    CommsProgress->setValue(value);
}

void frmComms::HideProgress()
{
    CommsProgress->hide();
}

int32_t frmComms::ShowMessage(const std::string& text, int32_t style)
{
    return Display(text, style, std::string());
}

void frmComms::ShowCommsError(const std::string& text)
{
    platform::ShowPlainMessage(this, text, 16, "Communications Error");
}

bool frmComms::DeleteTimerRunning() const
{
    return DeleteTimer->isActive();
}

// --- ICommsForm --------------------------------------------------------------------

void frmComms::SetCaption(const std::string& caption)
{
    setWindowTitle(Q(caption));
}

void frmComms::SetCancelCaption(const std::string& caption)
{
    cmdCancel->setText(Q(caption));
}

void frmComms::EnableCancelOnly()
{
    SetControlsBusy(true);
    setEnabled(true);
    cmdCancel->setEnabled(true);
}

void frmComms::EnableAssignmentItems()
{
    for (const char* item : {"StartAssign", "SetUnassigned", "ClearUnassigned", "AssignRCC"})
        MenuItem(item)->setEnabled(true);
}

void frmComms::ClearLogBox()
{
    StatusRTF->clear();
    shownFile_.clear();
    StatusRTF->setTextCursor(QTextCursor(StatusRTF->document()));
}

void frmComms::ResetProgress(int maximum)
{
    CommsProgress->show();
    CommsProgress->setMaximum(maximum);
    CommsProgress->setValue(0);
}

void frmComms::FillProgress()
{
    CommsProgress->show();
    CommsProgress->setValue(CommsProgress->maximum());
}

// A read shows the parser's findings under their own heading, which a
// refresh keeps.
void frmComms::ShowParseErrors()
{
    SetErrorCheckMode(4);
    ShowErrorList();
}

void frmComms::ShowReadSite()
{
    if (MainWindow)
        MainWindow->DisplayReadSite();
}

// --- IProgrammingWindow ------------------------------------------------------------

int32_t frmComms::Display(const std::string& text, int32_t style, const std::string& title)
{
    const std::string shown = title.empty() ? windowTitle().toStdString() : title;
    return platform::ShowProgramMessage(this, text, style, shown);
}

void frmComms::EnableProgram()
{
    cmdProgram->setEnabled(true);
}

int16_t frmComms::ParseDownload(bool programming)
{
    return hublink::ParseHubConfiguration(Link().Session(), HubParseOptions{ActiveNode, programming});
}

void frmComms::SetErrorCheckMode(long mode)
{
    if (MainWindow)
        MainWindow->SetErrorCheckMode(mode);
}

void frmComms::ShowErrorList()
{
    if (MainWindow)
        MainWindow->ShowErrorList();
}

void frmComms::CloseErrorList()
{
    if (MainWindow)
        MainWindow->CloseErrorList();
}

void frmComms::ShowProgress()
{
    CommsProgress->show();
}

void frmComms::SetProgressMaximum(int maximum)
{
    CommsProgress->setMaximum(maximum);
}

void frmComms::SetDeleteDots(bool running)
{
    if (running)
        DeleteTimer->start();
    else
        DeleteTimer->stop();
}

void frmComms::RestoreWindow()
{
    if (isMinimized())
        showNormal();
}

void frmComms::SelectHub()
{
    if (MainWindow)
        MainWindow->ActivateHub();
}

bool frmComms::OpenedOnly() const
{
    return CommsAction == kCommsOpenOnly;
}

void frmComms::CloseWindow()
{
    Unload();
}

#pragma once
// The communications window: all serial work with one unit (Radio Hub, RCC
// or RLM). Loading it opens the port, wakes the unit, switches its debug
// output off, asks its type and version and, when no node was selected,
// finds the node by the unit's ident; the main window then runs the action
// it was opened for. Every step is a line in the status box and, with the
// logging option on, in ProgLog.txt.
#include "hublink/CommsHost.h"
#include "hublink/SerialLink.h"
#include "hublink/core/ICommsForm.h"
#include "hublink/core/IProgrammingWindow.h"
#include "hublink/core/NodesSiteLink.h"
#include "hublink/core/OpeningSequence.h"
#include "platform/FormInstance.h"

#include <QWidget>

class QAction;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QTimer;

// True from the load to the unload of the communications window; the main
// window ignores canvas presses, releases and toolbar clicks meanwhile.
extern bool CommsFormActive;

class frmComms : public QWidget,
                 public platform::FormInstance<frmComms>,
                 public hublink::ICommsWindow,
                 public hublink::ICommsForm,
                 public hublink::IProgrammingWindow
{
    Q_OBJECT
public:
    frmComms();
    ~frmComms() override;

    // The main window while it exists (it registers itself), else null.
    static CommsHost* MainWindow;

    // Loads the window and runs its opening sequence to the end.
    static frmComms* Load();

    // The open state of the window's serial control.
    bool PortOpen() const;
    // Applies the port settings; Failed after an error was shown.
    hublink::PortStatus ResetPort() override;

    // Actions.
    void cmdProgram_Click();
    void cmdUpdate_Click();
    void CompareConfig_Click();
    void ReadConfig_Click();
    void ClearProg_Click();
    void StartAssign_Click();
    void AssignRCC_Click();
    void SetUnassigned_Click();
    void ClearUnassigned_Click();
    void SetIdent_Click();

    // Handlers, public for the tests as the buttons and menus are.
    void cmdCancel_Click();
    void cmdClear_Click();
    void cmdPrint_Click();
    void CommsExit_Click();
    void LogComms_Click();
    void CloseComplete_Click();
    void ViewLog_Click();
    void ClearLogFile_Click();
    void DeleteTimer_Timer();
    void CommsSetup_Click();
    void Form_Resize();

    hublink::CommsLink& Link() { return serial_.Link(); }
    bool Busy() const { return serial_.Link().Busy(); }
    // The file the status box shows, or empty.
    const QString& ShownFile() const { return shownFile_; }
    QAction* MenuItem(const QString& name) const;

    QMenuBar* MenuBar = nullptr;
    QMenu* CommsOptions = nullptr;
    QMenu* ToolsMenu = nullptr;
    QTextEdit* StatusRTF = nullptr;
    QProgressBar* CommsProgress = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdProgram = nullptr;
    QTimer* DeleteTimer = nullptr;

    // ICommsWindow
    void AppendToLogBox(const std::string& text) override;
    void SetControlsBusy(bool busy) override;
    int ProgressValue() const override;
    int ProgressMax() const override;
    void SetProgressValue(int value) override;
    void HideProgress() override;
    int32_t ShowMessage(const std::string& text, int32_t style) override;
    void ShowCommsError(const std::string& text) override;
    bool DeleteTimerRunning() const override;
    // ICommsForm
    void SetCaption(const std::string& caption) override;
    void SetCancelCaption(const std::string& caption) override;
    void EnableCancelOnly() override;
    void ClosePort() override;
    void EnableAssignmentItems() override;
    void ClearLogBox() override;
    void ResetProgress(int maximum) override;
    void FillProgress() override;
    void ShowParseErrors() override;
    void ShowReadSite() override;
    // IProgrammingWindow (ClearLogBox and SetCancelCaption above)
    int32_t Display(const std::string& text, int32_t style, const std::string& title) override;
    void EnableProgram() override;
    int16_t ParseDownload(bool programming) override;
    void SetErrorCheckMode(long mode) override;
    void ShowErrorList() override;
    void CloseErrorList() override;
    void ShowProgress() override;
    void SetProgressMaximum(int maximum) override;
    void SetDeleteDots(bool running) override;
    void RestoreWindow() override;
    void SelectHub() override;
    bool DebugOutputStopped() const override { return connection_.debugOutputStopped; }
    void SetDebugOutputStopped(bool stopped) override { connection_.debugOutputStopped = stopped; }
    bool UnitConnected() const override { return connection_.unitConnected; }
    bool OpenedOnly() const override;
    void CloseWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void Form_Load();
    void Form_Unload();
    long OuterWidthTwips() const;
    long OuterHeightTwips() const;
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, void (frmComms::*handler)() = nullptr);

    hublink::NodesSiteLink site_;
    mutable SerialLink serial_; // its state queries are not const
    hublink::ConnectionState connection_;
    bool loading_ = false;
    bool unloaded_ = false;
    // What the Program button runs: a read once a read has captioned it Read.
    enum class ProgramMode { Program, Read };
    ProgramMode programMode_ = ProgramMode::Program;
    QString shownFile_;
};

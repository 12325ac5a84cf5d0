#include "app/Startup.h"

#include "app/core/AbsoluteNames.h"
#include "app/frmMain.h"
#include "app/frmMsg.h"
#include "app/frmSplash.h"
#include "model/ChannelPlan.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "model/clsIniFile.h"
#include "platform/LoadedForms.h"
#include "platform/PlainMessageBox.h"
#include "platform/ProgramMessage.h"
#include "platform/SingleInstance.h"
#include "platform/Units.h"
#include "platform/WindowLayer.h"
#include "platform/WindowPlacement.h"
#include "platform/base/ProgramFolder.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kAppTitle = QStringLiteral("Quorvel Configuration Utility");
// The second copy waits this long for the running copy to take its command line.
constexpr int kHandOverTimeoutMs = 5000;

std::string g_commandLine;
QPointer<frmMain> g_mainForm;

void DefaultEndProcess(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

std::function<void(int)> g_endProcess = DefaultEndProcess;

void EndProcess(int code)
{
    g_endProcess(code);
}

} // namespace

QString AppTitle = kAppTitle;
QString ProgramFolderName;
std::vector<std::string> CommandArgs{std::string()};

void SetCommandLine(const std::string& commandLine)
{
    g_commandLine = commandLine;
}

const std::string& CommandLine()
{
    return g_commandLine;
}

std::string CommandLineFromArguments(const std::vector<std::string>& arguments)
{
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (i > 0)
            line += ' ';
        if (a.find_first_of(" \t") != std::string::npos)
            line += '"' + a + '"';
        else
            line += a;
    }
    return line;
}

QString LastPathComponent(const QString& path)
{
    const qsizetype at = path.lastIndexOf('/');
    return at < 0 ? path : path.mid(at + 1);
}

QString InstanceName()
{
    return ProgramFolderName + "QuorvelConfigUtility" + "_APPLICATION";
}

int ParseCommandLine(int maxArgs)
{
    if (maxArgs < 0)
        maxArgs = 0;
    CommandArgs.assign(static_cast<std::size_t>(maxArgs) + 1, std::string());
    int count = 0;
    bool open = false;
    for (const char c : g_commandLine) {
        if (c == ' ' || c == '\t') {
            open = false;
            continue;
        }
        if (!open) {
            if (count == maxArgs)
                break;
            ++count;
            open = true;
        }
        CommandArgs[static_cast<std::size_t>(count)] += c;
    }
    CommandArgs.resize(static_cast<std::size_t>(count) + 1);
    return count;
}

bool IsFormLoaded(const QString& formName)
{
    return platform::IsFormLoaded(formName);
}

bool CreateInstanceMutex(const QString& name)
{
    return platform::CreateInstanceLock(name);
}

void ReleaseInstanceMutex()
{
    platform::ReleaseInstanceLock();
}

void MarkMainWindow(frmMain& form)
{
    QPointer<frmMain> held(&form);
    platform::ListenForHandOver(InstanceName(), [held](const QByteArray& data) {
        if (held.isNull())
            return;
        platform::RestoreWindow(*held);
        // One zero byte is what a second copy without arguments sends: it
        // asks for the window only, it names no file.
        if (data.isEmpty() || data == QByteArray(1, '\0'))
            return;
        held->OpenFileFromMessage(data.toStdString());
    });
}

frmMain* MainForm()
{
    return g_mainForm.data();
}

void SetMainForm(frmMain* form)
{
    g_mainForm = form;
}

frmMain* LoadMainForm()
{
    auto* form = new frmMain;
    SetMainForm(form);
    form->Form_Load();
    return form;
}

void ReadMainWindowRect()
{
    model::clsIniFile ini;
    ini.sFileName(SettingsPath());
    ReadMainWindowRect(ini);
}

void ReadMainWindowRect(model::clsIniFile& ini)
{
    ini.sSectionName("WindowPositions");
    MainWindowTop = ini.GetLong("MainWindowTop", 1000);
    MainWindowLeft = ini.GetLong("MainWindowLeft", 1000);
    MainWindowHeight = ini.GetLong("MainWindowHeight", 9165);
    MainWindowWidth = ini.GetLong("MainWindowWidth", 12765);
}

model::clsIniFile::BadLineAnswer AskAboutBadLine(const std::string& fileName, int lineNumber)
{
    // The splash's progress waits while the question is open.
    auto* splash = qobject_cast<frmSplash*>(platform::FindForm("frmSplash"));
    QPointer<QTimer> timer = splash != nullptr ? splash->Timer1 : nullptr;
    // A timer that has already finished its run stays stopped: started again
    // it would hand over to the next window a second time.
    if (timer && !timer->isActive())
        timer = nullptr;
    if (timer)
        timer->stop();
    const int32_t answer = platform::PlainMessageBox(
        nullptr, QString::fromStdString(model::clsIniFile::BadLineText(fileName, lineNumber)), 1,
        model::clsIniFile::kBadLineTitle);
    if (timer)
        timer->start();
    return answer == 1 ? model::clsIniFile::BadLineAnswer::Ok : model::clsIniFile::BadLineAnswer::Cancel;
}

void CentreOverMainWindowAsItOpens(QWidget& window)
{
    long left = MainWindowLeft, top = MainWindowTop, width = MainWindowWidth, height = MainWindowHeight;
    platform::FitToScreen(left, top, width, height, frmMain::kMinimumSide, frmMain::kMinimumSide);
    platform::CentreOverTwips(window, left, top, width, height);
}

bool Main()
{
    AppTitle = kAppTitle;
    QApplication::setQuitOnLastWindowClosed(false);
    model::clsIniFile::SetBadLineQuestion(AskAboutBadLine);
    model::clsIniFile::SetLoadRefusal([](const std::string& text) {
        platform::PlainMessageBox(nullptr, QString::fromStdString(text), 16,
                                  model::clsIniFile::kBadLineTitle);
    });
    // The serial windows report through the program's own box.
    platform::SetProgramMessageHandler(
        [](QWidget* owner, const std::string& text, int32_t style, const std::string& title) {
            return frmMsg::Display(owner, QString::fromStdString(text), style, QString::fromStdString(title));
        });
    ProgramFolderName = LastPathComponent(QString::fromStdString(platform::ProgramFolder()));
    if (!CreateInstanceMutex(InstanceName())) {
        // The running copy works in a folder of its own: a relative name is
        // made absolute here, where it was typed.
        QByteArray data = QByteArray::fromStdString(app::HandOverLine(g_commandLine, app::WorkingFolder()));
        if (data.isEmpty())
            data = QByteArray(1, '\0');
        platform::SendHandOver(InstanceName(), data, kHandOverTimeoutMs);
        return false;
    }
    // settings.ini is read once, for the rectangle and the settings both: a
    // line the reader cannot take, or a file too large for it, is told once.
    model::clsIniFile settingsFile;
    settingsFile.sFileName(SettingsPath());
    ReadMainWindowRect(settingsFile);

    // The splash stands in the middle of the main window as it will open.
    QPointer<frmSplash> splash = new frmSplash;
    CentreOverMainWindowAsItOpens(*splash);
    splash->show();

    model::ResetSite();
    FileLoaded = false;
    LoadSettings(settingsFile);
    Locked = false;
    // The channel table is fixed; the random generator starts from 1.
    model::SeedRandom(1);
    LoadMainForm();
    // The splash's progress starts now, so that it runs only once Main has
    // returned to the event loop, whatever waited on the way here.
    if (splash)
        splash->Timer1->start();
    return true;
}

void ExitProgram()
{
    std::string error;
    if (!SaveSettings(&error))
        std::fprintf(stderr, "settings.ini not written: %s\n", error.c_str());
    ReleaseInstanceMutex();
    EndProcess(0);
}

void EndProgram()
{
    ReleaseInstanceMutex();
    EndProcess(0);
}

void SetEndProcessHook(std::function<void(int)> hook)
{
    g_endProcess = hook ? std::move(hook) : std::function<void(int)>(DefaultEndProcess);
}

void ResetStartup()
{
    AppTitle = kAppTitle;
    ProgramFolderName.clear();
    CommandArgs = {std::string()};
    g_commandLine.clear();
    g_mainForm = nullptr;
}

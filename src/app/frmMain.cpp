#include "app/frmMain.h"

#include "app/Startup.h"
#include "model/Settings.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"

#include <QCloseEvent>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    setWindowTitle(AppTitle);
    platform::LoadForm(this);
}

void frmMain::Form_Load()
{
    MarkMainWindow(*this);
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    move(platform::TwipsToPixels(MainWindowLeft), platform::TwipsToPixels(MainWindowTop));
    resize(platform::TwipsToPixels(MainWindowWidth), platform::TwipsToPixels(MainWindowHeight));
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(6000, 6000));
}

// Stand-ins: the site commands of the main window take these over.
void frmMain::OpenFileFromMessage(const QString&) {}
void frmMain::ReDraw(int) {}
void frmMain::StartNewFile() {}
void frmMain::OpenExisting() {}
void frmMain::Read_Diags() {}

void frmMain::closeEvent(QCloseEvent* e)
{
    if (isVisible() && !isMinimized() && !isMaximized()) {
        MainWindowTop = static_cast<int32_t>(platform::PixelsToTwips(y()));
        MainWindowLeft = static_cast<int32_t>(platform::PixelsToTwips(x()));
        MainWindowHeight = static_cast<int32_t>(platform::PixelsToTwips(height()));
        MainWindowWidth = static_cast<int32_t>(platform::PixelsToTwips(width()));
    }
    e->ignore();
    ExitProgram();
}

#include "app/frmSplash.h"

#include "app/AppVersion.h"
#include "app/Startup.h"
#include "app/frmErrorCheck.h"
#include "app/frmIntro.h"
#include "app/frmMain.h"
#include "model/ConfigurationCheck.h"
#include "app/core/ErrorListText.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"

#include <QFrame>
#include <QVBoxLayout>

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmSplash");
    setWindowTitle(AppTitle);
    setFixedSize(platform::TwipsToPixels(6600), platform::TwipsToPixels(3600));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(250, 250, 252));
    setPalette(pal);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(rect());
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 18, 24, 18);
    auto* icon = new QLabel(frame);
    icon->setPixmap(
        platform::IconPixmap("AA_ICON").scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);

    lblProductName = new QLabel(frame);
    lblProductName->setObjectName("lblProductName");
    QFont title = lblProductName->font();
    title.setPointSizeF(15);
    title.setBold(true);
    lblProductName->setFont(title);
    lblProductName->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblProductName);

    lblVersion = new QLabel(frame);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblVersion);
    layout->addStretch();

    lblCopyright = new QLabel(frame);
    lblCopyright->setObjectName("lblCopyright");
    lblCopyright->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblCopyright);

    ProgressBar1 = new QProgressBar(frame);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, kProgressMaximum);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(14);
    layout->addWidget(ProgressBar1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTimerIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    platform::LoadForm(this);

    // Form_Load
    lblProductName->setText(AppTitle);
    lblVersion->setText(VersionText(ProgramVersion(), 2));
    lblCopyright->setText(NoticeText());
    ProgressBar1->setValue(0);
    // Timer1 is started by Main once the main window has loaded: a box that
    // the main window's load shows (a file not found) yields to the event
    // loop, and the splash must not hand over to a window still loading.
}

void frmSplash::Timer1_Timer()
{
    if (ProgressBar1->value() < ProgressBar1->maximum()) {
        ProgressBar1->setValue(ProgressBar1->value() + 1);
        return;
    }
    Timer1->stop();
    frmMain* main = MainForm();
    if (main != nullptr)
        main->ReDraw(-1);
    if (ReOpenLastUsed || ParseCommandLine(20) >= 1) {
        if (main != nullptr)
            main->show();
        if (FileLoaded && CheckOnOpen) {
            app::ErrorCheckMode = 0;
            if (model::CheckConfiguration() != 0)
                frmErrorCheck::Display(main);
        }
    } else {
        IntroShown = true;
        (new frmIntro)->show();
    }
    platform::UnloadForm(this);
}

#include "app/frmIntro.h"

#include "app/Startup.h"
#include "app/frmMain.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"
#include "platform/WindowPlacement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

bool IntroShown = false;

namespace {
constexpr uint32_t kHoverColour = 0xFF; // red, 0x00BBGGRR
constexpr uint32_t kPlainColour = 0;
} // namespace

frmIntro::frmIntro() : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmIntro");
    setFixedSize(platform::TwipsToPixels(6600), platform::TwipsToPixels(4800));
    setMouseTracking(true);
    installEventFilter(this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 14, 18, 18);
    auto* banner = new QLabel(this);
    banner->setPixmap(
        platform::IconPixmap("AA_ICON").scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    banner->setAlignment(Qt::AlignCenter);
    banner->setMouseTracking(true);
    auto* heading = new QLabel(AppTitle, this);
    QFont hf = heading->font();
    hf.setPointSizeF(13);
    hf.setBold(true);
    heading->setFont(hf);
    heading->setMouseTracking(true);
    auto* bannerRow = new QHBoxLayout;
    bannerRow->addStretch();
    bannerRow->addWidget(banner);
    bannerRow->addSpacing(10);
    bannerRow->addWidget(heading);
    bannerRow->addStretch();
    outer->addLayout(bannerRow);

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    outer->addWidget(Frame1, 1);
    auto* choices = new QVBoxLayout(Frame1);
    choices->setContentsMargins(30, 16, 30, 16);
    choices->setSpacing(10);
    CreateLabel = AddChoice("CreateLabel", "Create A New Configuration");
    OpenLabel = AddChoice("OpenLabel", "Open An Existing Configuration");
    DiagsLabel = AddChoice("DiagsLabel", "Read / Diagnostics");
    ExitLabel = AddChoice("ExitLabel", "Exit");
    for (QLabel* l : {CreateLabel, OpenLabel, DiagsLabel, ExitLabel})
        choices->addWidget(l);
    platform::LoadForm(this);

    // Form_Load
    setWindowTitle(AppTitle);
    EndOnClose = true;
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    CentreOverMainWindowAsItOpens(*this);
}

QLabel* frmIntro::AddChoice(const char* name, const QString& text)
{
    auto* label = new QLabel(text, Frame1);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPointSizeF(12);
    f.setBold(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, platform::ColourFromBGR(kPlainColour));
    label->setPalette(pal);
    return label;
}

bool frmIntro::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    const bool choice =
        label == CreateLabel || label == OpenLabel || label == DiagsLabel || label == ExitLabel;
    if (event->type() == QEvent::MouseMove) {
        // Each control has its own mouse-move: a move over a label does not
        // also count as a move over the frame that holds it.
        if (choice) {
            Label_MouseMove(label);
            return true;
        }
        if (watched == this || watched == Frame1) {
            Form_MouseMove();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && choice &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A click still queued once a choice has handed over (the second
        // click of a double click, delivered while the command waits) is
        // not a second choice.
        if (m_unloaded)
            return true;
        if (label == CreateLabel)
            CreateLabel_Click();
        else if (label == OpenLabel)
            OpenLabel_Click();
        else if (label == DiagsLabel)
            DiagsLabel_Click();
        else
            ExitLabel_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmIntro::Label_MouseMove(QLabel* label)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, platform::ColourFromBGR(kHoverColour));
    label->setPalette(pal);
}

void frmIntro::Form_MouseMove()
{
    for (QLabel* l : {CreateLabel, OpenLabel, DiagsLabel, ExitLabel}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, platform::ColourFromBGR(kPlainColour));
        l->setPalette(pal);
    }
}

template <typename Command> void frmIntro::HandOver(Command command)
{
    EndOnClose = false;
    Form_Unload();
    if (frmMain* main = MainForm())
        command(*main);
}

void frmIntro::CreateLabel_Click()
{
    HandOver([](frmMain& m) { m.StartNewFile(); });
}

void frmIntro::OpenLabel_Click()
{
    HandOver([](frmMain& m) { m.OpenExisting(); });
}

void frmIntro::DiagsLabel_Click()
{
    HandOver([](frmMain& m) {
        ActiveNode = 0;
        m.Read_Diags();
    });
}

void frmIntro::ExitLabel_Click()
{
    // Ends at once without writing settings.ini; the instance is released.
    EndProgram();
}

void frmIntro::closeEvent(QCloseEvent* e)
{
    e->accept();
    Form_Unload();
}

void frmIntro::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    IntroShown = false;
    if (EndOnClose) {
        EndProgram();
        return;
    }
    if (frmMain* main = MainForm())
        main->show();
    platform::UnloadForm(this);
}

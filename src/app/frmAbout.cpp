#include "app/frmAbout.h"

#include "app/AppVersion.h"
#include "app/Startup.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"
#include "platform/WindowLayer.h"

#include <QGridLayout>
#include <QMouseEvent>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    platform::ShowAbovePinnedWindows(*this);
    setFixedSize(platform::TwipsToPixels(6000), platform::TwipsToPixels(3300));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 18, 18, 14);
    auto* icon = new QLabel(this);
    icon->setPixmap(platform::IconPixmap("AA_ICON"));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(icon, 0, 0, 4, 1);
    auto add = [&](QLabel*& label, const char* name, int row) {
        label = new QLabel(this);
        label->setObjectName(name);
        grid->addWidget(label, row, 1);
    };
    add(lblProductName, "lblProductName", 0);
    add(Label1, "Label1", 1);
    add(Label2, "Label2", 2);
    add(lblCopyright, "lblCopyright", 3);
    add(BuildLabel, "BuildLabel", 4);
    QFont f = lblProductName->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    lblProductName->setFont(f);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    BuildLabel->hide();
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    grid->addWidget(cmdOK, 5, 1, Qt::AlignRight);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    platform::LoadForm(this);

    // Form_Load
    setWindowTitle("About " + AppTitle);
    Label1->setText(VersionText(ProgramVersion()));
    lblProductName->setText(AppTitle);
    lblCopyright->setText(NoticeText());
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    Label2->setText(QString("Taramek Part No. ") + "XXXXXX");
    BuildLabel->setText("User's Version");
}

void frmAbout::Form_Click()
{
    BuildLabel->show();
}

void frmAbout::Label1_Click()
{
    Label1->setText(VersionText(ProgramVersion(), 1));
}

void frmAbout::cmdOK_Click()
{
    platform::UnloadForm(this);
}

void frmAbout::mousePressEvent(QMouseEvent* e)
{
    // Only the window's own background: a click on one of its labels is the
    // label's, not the window's.
    if (e->button() == Qt::LeftButton && childAt(e->position().toPoint()) == nullptr)
        Form_Click();
    QDialog::mousePressEvent(e);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonPress) {
        Label1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

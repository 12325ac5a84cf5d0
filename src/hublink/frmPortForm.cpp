#include "hublink/frmPortForm.h"

#include "hublink/PortPanel.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmPortForm::frmPortForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmPortForm"));
    platform::LoadForm(this);
    BuildControls();
    Form_Load();
}

frmPortForm* frmPortForm::ShowCentredOn(QWidget* over)
{
    // One window at a time: a second would find the port held by the first.
    static QPointer<frmPortForm> shown;
    frmPortForm* form = shown.data();
    if (form == nullptr) {
        form = new frmPortForm(over);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->adjustSize();
        shown = form;
    }
    if (over != nullptr)
        platform::CentreOver(*form, *over);
    form->show();
    form->raise();
    return form;
}

void frmPortForm::BuildControls()
{
    setWindowTitle(QStringLiteral("Port Properties"));
    setWindowIcon(platform::LoadIconResource(QStringLiteral("MONITOR_ICON")));
    Panel = new PortPanel(Comm_, this);
    auto* P_OK = new QPushButton(QStringLiteral("&OK"));
    P_OK->setObjectName(QStringLiteral("P_OK"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel);
    layout->addWidget(P_OK, 0, Qt::AlignRight);
    connect(P_OK, &QPushButton::clicked, this, &frmPortForm::P_OK_Click);
    connect(&Comm_, &platform::SerialControl::PortLost, Panel, &PortPanel::Comm_PortLost);
}

void frmPortForm::Form_Load()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Selecting the current port counts as the user's choice: the window's
    // control ends on it, open when the port is enabled.
    if (Panel->Fill() >= 0)
        Panel->PortSelect_Click();
    QApplication::restoreOverrideCursor();
}

hublink::PortStatus frmPortForm::ApplyPortSettings()
{
    return Panel->ApplyPortSettings();
}

void frmPortForm::P_OK_Click()
{
    close();
}

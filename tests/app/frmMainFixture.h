#pragma once
// A loaded main window on the offscreen platform with a small site:
// the hub, RCCs 1 and 2 on the hub, RCC 3 on RCC 1 and RCC 4 on RCC 3.
#include "BoxDriver.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "app/frmMsg.h"
#include "app/frmNewSite.h"
#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"
#include "hublink/frmComms.h"
#include "app/core/CanvasLayout.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "model/TestSites.h"
#include "platform/ProgramMessage.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsAndSite();
        ResetSelection();
        ResetDrawingExtent();
        MainWindowLeft = 0;
        MainWindowTop = 0;
        MainWindowWidth = 12765;
        MainWindowHeight = 9165;
        SetCommandLine("");
        NodeSettingsPinned = false;
        DevicesPinned = false;
        CommsFormActive = false;
        QObject::connect(&answerer, &QTimer::timeout, [this] { AnswerBox(); });
        modalwatch::AnswersWhile(&answerer, [this](const QWidget* w) {
            return answerer.isActive() && (modalwatch::IsProgramBox(w) || qobject_cast<const frmNewSite*>(w) != nullptr);
        });
    }

    void TearDown() override
    {
        answerer.stop();
        frmNodeSettings::Unload();
        frmDevices::Unload();
        form.reset();
        platform::SetProgramMessageHandler(nullptr);
    }

    // The program's own message boxes show its messages.
    static void ShowMessagesInBoxes()
    {
        platform::SetProgramMessageHandler(
            [](QWidget* owner, const std::string& text, int32_t style, const std::string& title) {
                return frmMsg::Display(owner, QString::fromStdString(text), style, QString::fromStdString(title));
            });
    }

    // From now on answers every box with the button captioned `answer` (or
    // its default button), keeping "title: text" in messages.
    void AnswerMessages() { answerer.start(2); }

    void AnswerBox()
    {
        if (auto* newSite = qobject_cast<frmNewSite*>(QApplication::activeModalWidget())) {
            newSite->cmdCancel->click();
            return;
        }
        BoxDialog* box = NextWaitingBox(answered);
        if (box == nullptr)
            return;
        if (auto* msg = qobject_cast<frmMsg*>(box))
            messages << box->windowTitle() + ": " + msg->Label1->text();
        else
            messages << box->windowTitle();
        if (answer.isEmpty())
            box->DefaultButton()->click();
        else
            PressButton(box, answer);
    }

    void Load()
    {
        form = std::make_unique<frmMain>();
        form->Form_Load();
        form->show();
        QApplication::processEvents();
    }

    // Shows the site as it now stands in a window of this outer size (twips).
    void DisplayInWindow(long width, long height)
    {
        form->DisplayNodes();
        form->SetSizeTwips(width, height);
        QApplication::processEvents();
    }

    // Puts the five nodes in use at fixed places and shows the site.
    void LoadSite()
    {
        Load();
        using model::Nodes;
        const int places[5][3] = {
            {4000, 300, -1}, {1500, 2000, 0}, {6500, 2000, 0}, {1500, 3800, 1}, {1500, 5600, 3}};
        for (int i = 0; i < 5; ++i) {
            Nodes[i].SetInUse(true);
            Nodes[i].SetLeft(places[i][0]);
            Nodes[i].SetTop(places[i][1]);
            if (i > 0)
                Nodes[i].SetParent(places[i][2]);
            Nodes[i].SetName(i == 0 ? "Main Hub" : "RCC name " + std::to_string(i));
        }
        Nodes[1].SetDeviceType(1, 2);
        Nodes[1].SetDeviceType(2, 10);
        form->DisplayNodes();
        QApplication::processEvents();
    }

    uint32_t Border(int node) const { return form->NodeControls(node).Shape()->BorderColor(); }

    void ClickCaption(int node, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(form->NodeControls(node).Label(), button, modifiers);
    }

    // A click on node i's box, below its caption.
    void ClickBox(int node, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QWidget* shape = form->NodeControls(node).Shape();
        const QPoint at = shape->geometry().bottomLeft() + QPoint(4, -3);
        QTest::mouseClick(form->Canvas(), button, modifiers, at);
    }

    std::unique_ptr<frmMain> form;
    QTimer answerer;
    QList<QPointer<BoxDialog>> answered;
    QStringList messages;
    QString answer;
};

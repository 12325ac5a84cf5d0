// The port settings window on the offscreen platform: every change reaches
// the shared settings and the window's own open port at once.
#include "hublink/frmPortForm.h"
#include "model/Settings.h"
#include "platform/LoadedForms.h"
#include "platform/Ports.h"
#include "platform/Yield.h"
#include "support/RecordingWindow.h"
#include "support/SimulatedPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PortFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        platform::ResetPortList();
        for (int n = 1; n <= 32; ++n)
            platform::SetComPortPath(n, "/nonexistent/port" + std::to_string(n));
        platform::SetComPortPath(1, portA.SlavePath());
        platform::SetComPortPath(2, portB.SlavePath());
        platform::SetComPortPath(3, ::testing::TempDir()); // present, but not a serial device
    }
    void TearDown() override { platform::ResetPortList(); }

    template <typename T> T* Control(QWidget& form, const char* name)
    {
        T* control = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    SimulatedUnit unitA, unitB;
    SimulatedPort portA{unitA}, portB{unitB};
    RecordingWindow boxes;
};

TEST_F(PortFormTest, OpensOnTheCurrentPortWithTheCurrentSettings)
{
    PortBaudIndex = 7;
    PortStopBits = 2;
    PortDTR = true;
    frmPortForm form;
    auto* list = Control<QComboBox>(form, "PortSelect");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "Com1");
    EXPECT_EQ(Control<QSlider>(form, "SPBaud")->value(), 0);
    EXPECT_TRUE(Control<QRadioButton>(form, "P_Stop2")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(form, "P_DTR")->isChecked());
    ASSERT_TRUE(form.Comm().PortOpen());
    EXPECT_EQ(portA.LineSettings().Speed, speed_t{B115200});
    EXPECT_TRUE(boxes.Messages.empty()) << "a port without modem lines is no error";

    PortNumber = 9;
    frmPortForm absent;
    EXPECT_EQ(Control<QComboBox>(absent, "PortSelect")->currentIndex(), -1);
    EXPECT_FALSE(absent.Comm().PortOpen());
    EXPECT_EQ(PortNumber, 9);
}

TEST_F(PortFormTest, EachChangeIsAppliedToTheOpenPortAtOnce)
{
    frmPortForm form;
    form.show();
    auto* list = Control<QComboBox>(form, "PortSelect");
    list->setCurrentIndex(list->findText("Com2"));
    EXPECT_EQ(PortNumber, 2);
    ASSERT_TRUE(form.Comm().PortOpen());
    EXPECT_EQ(form.Comm().DevicePath(), portB.SlavePath());

    auto* baud = Control<QSlider>(form, "SPBaud");
    baud->setSliderDown(true);
    for (int position = 4; position <= 7; ++position)
        baud->setSliderPosition(position);
    EXPECT_EQ(PortBaudIndex, 4) << "nothing is applied while the slider is dragged";
    baud->setSliderDown(false);
    EXPECT_EQ(PortBaudIndex, 0);
    EXPECT_EQ(portB.LineSettings().Speed, speed_t{B1200});

    QTest::mouseClick(Control<QRadioButton>(form, "P_Stop2"), Qt::LeftButton);
    EXPECT_EQ(PortStopBits, 2);
    EXPECT_EQ(form.Comm().Settings(), "1200,N,8,2");

    QTest::mouseClick(Control<QCheckBox>(form, "P_RTS"), Qt::LeftButton);
    EXPECT_TRUE(PortRTS);

    auto* enabled = Control<QCheckBox>(form, "P_OnOff");
    QTest::mouseClick(enabled, Qt::LeftButton);
    EXPECT_FALSE(PortEnabled);
    EXPECT_FALSE(form.Comm().PortOpen());
    QTest::mouseClick(enabled, Qt::LeftButton);
    EXPECT_TRUE(PortEnabled);
    EXPECT_TRUE(form.Comm().PortOpen());
}

TEST_F(PortFormTest, RefusalsAreReportedAndLeaveNoPortHalfOpen)
{
    PortNumber = 2;
    frmPortForm form;
    form.show();
    auto* list = Control<QComboBox>(form, "PortSelect");
    list->setCurrentIndex(list->findText("Com3"));
    ASSERT_EQ(boxes.Messages.size(), 1u);
    EXPECT_EQ(boxes.Messages[0].Title, "Open Port 3");
    EXPECT_EQ(boxes.Messages[0].Style, 16);
    EXPECT_EQ(boxes.Messages[0].Text.rfind("Error Opening Port 3, \r\nCode ", 0), 0u)
        << boxes.Messages[0].Text;
    EXPECT_EQ(PortNumber, 2) << "the previous port stays selected and open";
    EXPECT_EQ(list->currentText(), "Com2");
    EXPECT_TRUE(form.Comm().PortOpen());

    QTest::mouseClick(Control<QRadioButton>(form, "P_EvenParity"), Qt::LeftButton);
    EXPECT_EQ(PortParity, 1);
    ASSERT_EQ(boxes.Messages.size(), 2u);
    EXPECT_EQ(boxes.Messages[1].Title, "Open Port 2");
    EXPECT_EQ(boxes.Messages[1].Text.rfind("Error Opening Port 2, 22\r\n", 0), 0u) << boxes.Messages[1].Text;
    EXPECT_FALSE(PortEnabled) << "a setting the port refuses disables it";
    EXPECT_FALSE(Control<QCheckBox>(form, "P_OnOff")->isChecked());
    EXPECT_FALSE(form.Comm().PortOpen());
}

TEST_F(PortFormTest, ThePortGoingAwayIsNoticedClosedAndDisabled)
{
    frmPortForm form;
    ASSERT_TRUE(form.Comm().PortOpen());
    portA.Unplug();
    EXPECT_TRUE(platform::WaitUntil([&] { return !form.Comm().PortOpen(); }, 60000));
    EXPECT_FALSE(PortEnabled);
    EXPECT_FALSE(Control<QCheckBox>(form, "P_OnOff")->isChecked());
    ASSERT_EQ(boxes.Messages.size(), 1u);
    EXPECT_EQ(boxes.Messages[0].Text.rfind("Port 1 Lost, ", 0), 0u) << boxes.Messages[0].Text;
}

TEST_F(PortFormTest, OkClosesAndDeletesTheWindowWhichReleasesThePort)
{
    QWidget main;
    main.resize(800, 600);
    QPointer<frmPortForm> form = frmPortForm::ShowCentredOn(&main);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Comm().PortOpen());
    EXPECT_EQ(frmPortForm::ShowCentredOn(&main), form.data()) << "a second window would find the port held";
    EXPECT_TRUE(boxes.Messages.empty());
    QTest::mouseClick(form->findChild<QPushButton*>("P_OK"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_FALSE(platform::IsFormLoaded("frmPortForm"));
    platform::SerialControl again;
    ASSERT_TRUE(again.SetCommPort(1));
    EXPECT_TRUE(again.SetPortOpen(true)) << again.LastError().Description;
}

} // namespace

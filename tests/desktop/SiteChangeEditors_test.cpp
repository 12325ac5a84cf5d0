// A pinned device window across File > Open and File > New, driven through
// the menus on the desktop: the window lets go of the old site's RCC, and its
// OK writes nothing of the old site into the new one; the dialogs the menus
// open come up above it.
#include "Desktop.h"

#include "app/frmNewSite.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolButton>

using namespace desktop;
using model::Nodes;

namespace {

class SiteChangeTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        // RCC 1 of the site on the screen holds a device on 1:10.
        Nodes[1].SetDeviceLoop(1, 1);
        Nodes[1].SetDeviceAddress(1, 10);
        SetOwner(LoopAddressOwner, 1, 10, 101);
        FileChanged = false;
        // The pinned window, on top of the others, stands clear of the File
        // menu and of the new-site dialog centred on the main window: low on
        // the screen (it is kept on the screen).
        DeviceWindowLeft = 6000;
        DeviceWindowTop = 60000;
        const QString path = dir.filePath("full.qvs");
        ASSERT_TRUE(QFile::copy(QVS_TEST_DATA "/full-site.qvs", path));
        platform::SetFileDialogAnswerer(
            [path](const platform::FileDialogRequest&) { return std::optional<QString>(path); });
    }
    void TearDown() override
    {
        platform::SetFileDialogAnswerer({});
        FileChanged = false; // the window's close must not ask
        DesktopTest::TearDown();
    }

    // The device window on RCC 1, pinned by a click on its pin.
    QPointer<frmDevices> PinnedDevices()
    {
        form->ActivateNode(1);
        form->PopupNodeDevices_Click();
        QPointer<frmDevices> devices = frmDevices::Loaded();
        EXPECT_TRUE(Drive({
            {"the device window shown", [&] { return OnDesktop(devices); }, [&] { ClickTitle(devices); }},
            {"the device window active", [&] { return ActiveOnDesktop(devices); },
             [&] { Click(devices->PushPin); }},
            {"pinned",
             [&] { return DevicesPinned && devices->windowTitle() == "Device Settings for RCC 1"; }},
        }));
        return devices;
    }

    // The steps that choose menu > item with the pointer.
    std::vector<Step> MenuItem(const char* menuName, const char* item)
    {
        QMenu* menu = form->Menu(menuName);
        return {
            {"the main window on the desktop", [this] { return OnDesktop(form.get()); },
             [this, menu] {
                 Click(form->menuBar(), form->menuBar()->actionGeometry(menu->menuAction()).center());
             }},
            {"the menu open", [menu] { return OnDesktop(menu); },
             [this, menu, item] { Click(menu, menu->actionGeometry(form->MenuItem(item)).center()); }},
        };
    }
    std::vector<Step> FileMenuItem(const char* item) { return MenuItem("FileMenu", item); }

    // The owner cells of the loops and addresses in use.
    static std::vector<int16_t> Owners()
    {
        std::vector<int16_t> cells;
        for (int loop = 1; loop <= 4; ++loop)
            for (int address = 1; address <= 128; ++address)
                cells.push_back(GetOwner(LoopAddressOwner, loop, address));
        return cells;
    }

    QTemporaryDir dir;
};

// A click on the OK of the device window once the site has been replaced;
// shown keeps the window's caption then.
std::vector<Step> OkOnTheDeviceWindow(const QPointer<frmDevices>& devices, QString& shown)
{
    return {
        {"the device window on the desktop",
         [devices] { return !QApplication::activeModalWidget() && OnDesktop(devices); },
         [devices, &shown] {
             shown = devices->windowTitle();
             Click(devices->cmdOK);
         }},
        {"the device window closed", [] { return frmDevices::Loaded() == nullptr; }},
    };
}

TEST_F(SiteChangeTest, OkOfAPinnedDeviceWindowLeavesAnOpenedSiteUnchanged)
{
    QPointer<frmDevices> devices = PinnedDevices();
    ASSERT_NE(devices, nullptr);
    std::vector<Step> steps = FileMenuItem("FileLoad");
    std::vector<int16_t> opened;
    // The title names the file once it has been read.
    steps.push_back({"the full site open", [this] { return form->windowTitle().contains("[full.qvs]"); },
                     [&] { opened = Owners(); }});
    QString shown;
    for (Step& step : OkOnTheDeviceWindow(devices, shown))
        steps.push_back(step);
    ASSERT_TRUE(Drive(steps));
    EXPECT_EQ(shown.toStdString(), "Device Details");
    EXPECT_EQ(Nodes[1].DetectorCountRCC(), 31);
    EXPECT_TRUE(Owners() == opened);
    EXPECT_FALSE(FileChanged);
}

TEST_F(SiteChangeTest, OkOfAPinnedDeviceWindowLeavesANewSiteEmpty)
{
    QPointer<frmDevices> devices = PinnedDevices();
    ASSERT_NE(devices, nullptr);
    std::vector<Step> steps = FileMenuItem("NewFile");
    const auto dialog = [] { return qobject_cast<frmNewSite*>(QApplication::activeModalWidget()); };
    steps.push_back({"the new-site dialog", [dialog] { return OnDesktop(dialog()); },
                     [dialog] {
                         frmNewSite* site = dialog();
                         site->NameText->setText("Block C");
                         // Picked with the arrow key: 3 RCCs, 2 loops, the first protocol.
                         for (auto [box, index] :
                              {std::pair{site->QtyCombo, 2}, std::pair{site->LoopCombo, 1},
                               std::pair{site->ProtocolCombo, 0}}) {
                             box->setCurrentIndex(index - 1);
                             QTest::keyClick(box, Qt::Key_Down);
                         }
                         Click(site->cmdOK);
                     }});
    QString shown;
    for (Step& step : OkOnTheDeviceWindow(devices, shown))
        steps.push_back(step);
    // A dialog still up once the steps have failed is cancelled, so that the
    // test ends.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [dialog] {
        if (frmNewSite* site = dialog())
            site->cmdCancel->click();
    });
    guard.start(45000);
    ASSERT_TRUE(Drive(steps));
    EXPECT_EQ(shown.toStdString(), "Device Details");
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(Nodes[n].DetectorCountRCC(), 0) << n;
    const std::vector<int16_t> owners = Owners();
    EXPECT_TRUE(std::all_of(owners.begin(), owners.end(), [](int16_t owner) { return owner == -1; }));
}

// The window that took the program's last pointer press.
class PressedWindow : public QObject
{
public:
    PressedWindow() { qApp->installEventFilter(this); }
    QPointer<QWidget> window;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            if (auto* widget = qobject_cast<QWidget*>(watched))
                window = widget->window();
        return false;
    }
};

// The dialogs the main window's menus open modally, with the pinned device
// window over the middle of the main window, where each comes up: the dialog
// stands above the device window, is the active window, and a click at its
// middle reaches it.
TEST_F(SiteChangeTest, MenuDialogsComeUpAboveAPinnedDeviceWindow)
{
    platform::SetFileDialogAnswerer({}); // the file dialog itself
    QPointer<frmDevices> devices = PinnedDevices();
    ASSERT_NE(devices, nullptr);
    // Its corner a little above and left of the middle, the menu bar clear.
    const QPoint middle = form->frameGeometry().center();
    devices->move(middle - QPoint(40, 40));
    ASSERT_TRUE(Drive({{"the device window over the middle of the main window",
                        [&] { return OnDesktop(devices) && devices->frameGeometry().contains(middle); }}}));
    for (auto [menu, item] : {std::pair{"FileMenu", "NewFile"}, std::pair{"FileMenu", "FileLoad"},
                              std::pair{"HelpMenu", "HelpAbout"}}) {
        SCOPED_TRACE(item);
        PressedWindow pressed;
        bool covered = false;
        std::vector<Step> steps = MenuItem(menu, item);
        steps.push_back({"the dialog above the device window and active",
                         [&] {
                             QWidget* dialog = QApplication::activeModalWidget();
                             return OnDesktop(dialog) && ActiveOnDesktop(dialog) &&
                                    StackedAbove(dialog, devices);
                         },
                         [&] {
                             QWidget* dialog = QApplication::activeModalWidget();
                             covered = devices->frameGeometry().contains(dialog->frameGeometry().center());
                             pressed.window = nullptr;
                             Click(dialog);
                         }});
        steps.push_back(
            {"the click on the dialog",
             [&] { return pressed.window != nullptr && pressed.window == QApplication::activeModalWidget(); },
             [] {
                 if (QWidget* popup = QApplication::activePopupWidget())
                     popup->close();
                 QApplication::activeModalWidget()->close();
             }});
        steps.push_back({"the dialog gone", [] { return QApplication::activeModalWidget() == nullptr; }});
        EXPECT_TRUE(Drive(steps));
        EXPECT_TRUE(covered);
        EXPECT_TRUE(devices->isVisible());
    }
}

// An edit pending in the pinned device window is asked about before File >
// New replaces the site. The question gave the activation to the device
// window; after No the new-site dialog still comes up above it, and the
// dropped edit is gone from the window, so a later OK writes nothing.
TEST_F(SiteChangeTest, AfterThePendingEditQuestionTheNewSiteDialogIsAboveAPinnedDeviceWindow)
{
    QPointer<frmDevices> devices = PinnedDevices();
    ASSERT_NE(devices, nullptr);
    const QPoint middle = form->frameGeometry().center();
    devices->move(middle - QPoint(40, 40));
    devices->SelectDevice(1);
    std::vector<Step> steps = {
        {"the device window over the middle of the main window",
         [&] { return OnDesktop(devices) && devices->frameGeometry().contains(middle); },
         [&] { Click(devices->cmdDel); }},
        {"the delete pending", [&] { return devices->Changed(); }},
    };
    for (Step& step : MenuItem("FileMenu", "NewFile"))
        steps.push_back(step);
    steps.push_back({"the device window's question",
                     [] {
                         frmMsg* box = frmMsg::Current();
                         return box != nullptr && box->windowTitle() == "Close Device Details Form" &&
                                OnDesktop(box) && ActiveOnDesktop(box);
                     },
                     [] {
                         for (QPushButton* button : frmMsg::Current()->cmdButton)
                             if (button != nullptr && button->text() == "&No")
                                 Click(button);
                     }});
    steps.push_back({"the new-site dialog above the device window and active",
                     [&] {
                         auto* dialog = qobject_cast<frmNewSite*>(QApplication::activeModalWidget());
                         return OnDesktop(dialog) && ActiveOnDesktop(dialog) && StackedAbove(dialog, devices);
                     },
                     [] { Click(qobject_cast<frmNewSite*>(QApplication::activeModalWidget())->cmdCancel); }});
    steps.push_back({"the dialog gone", [] { return QApplication::activeModalWidget() == nullptr; }});
    EXPECT_TRUE(Drive(steps));
    ASSERT_FALSE(devices.isNull());
    EXPECT_FALSE(devices->Changed());
    devices->cmdOK->click();
    EXPECT_EQ(Nodes[1].DeviceAddress(1), 10);
    EXPECT_FALSE(FileChanged);
}

} // namespace

// A pinned device window across File > Open and File > New, driven through
// the menus on the desktop: the window lets go of the old site's RCC, and its
// OK writes nothing of the old site into the new one; the dialogs the menus
// open come up above it. A node drag whose release went to the window's
// question leaves nothing for the new site, and a recent file opens the file
// clicked after the save question's Save As.
#include "Desktop.h"

#include "app/core/CanvasDrag.h"
#include "app/frmNewSite.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"
#include "platform/Units.h"

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
    QPointer<frmDevices> PinnedDevices() { return PinnedDeviceWindow(*form); }

    // The steps that choose an item with the pointer: the first menu from
    // the menu bar, each further menu from the one before, then the item.
    std::vector<Step> MenuPath(const std::vector<QMenu*>& menus, QAction* item)
    {
        std::vector<Step> steps = {
            {"the main window on the desktop", [this] { return OnDesktop(form.get()); },
             [this, first = menus.front()] {
                 Click(form->menuBar(), form->menuBar()->actionGeometry(first->menuAction()).center());
             }},
        };
        for (std::size_t i = 0; i < menus.size(); ++i) {
            QMenu* menu = menus[i];
            QAction* next = i + 1 < menus.size() ? menus[i + 1]->menuAction() : item;
            steps.push_back({"the menu open", [menu] { return OnDesktop(menu); },
                             [menu, next] { Click(menu, menu->actionGeometry(next).center()); }});
        }
        return steps;
    }
    // The steps that choose menu > item with the pointer.
    std::vector<Step> MenuItem(const char* menuName, const char* item)
    {
        return MenuPath({form->Menu(menuName)}, form->MenuItem(item));
    }
    std::vector<Step> FileMenuItem(const char* item) { return MenuItem("FileMenu", item); }

    // A point of the empty canvas that a click reaches: no node or other
    // control there, and no window over it.
    QPoint EmptyCanvasPoint(const QWidget* over) const
    {
        QWidget* canvas = form->Canvas();
        for (int y = 10; y < canvas->height(); y += 20)
            for (int x = 10; x < canvas->width(); x += 20) {
                const QPoint global = canvas->mapToGlobal(QPoint(x, y));
                if (form->childAt(form->mapFromGlobal(global)) == canvas &&
                    !DisplayedFrame(over).contains(global) &&
                    app::NodeAt(Nodes, platform::PixelsToTwips(x), platform::PixelsToTwips(y)) < 0)
                    return {x, y};
            }
        return {-1, -1};
    }

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

// The step that answers the program's box of this title, once it is up and
// active, with a click on its button of this caption.
Step ClickBoxButton(const char* title, const char* button)
{
    return {"the box up",
            [title] {
                frmMsg* box = frmMsg::Current();
                return box != nullptr && box->windowTitle() == title && OnDesktop(box) &&
                       ActiveOnDesktop(box);
            },
            [button] {
                for (QPushButton* b : frmMsg::Current()->cmdButton)
                    if (b != nullptr && b->text() == button)
                        Click(b);
            }};
}

// The new-site dialog, while it is up.
frmNewSite* NewSiteDialog()
{
    return qobject_cast<frmNewSite*>(QApplication::activeModalWidget());
}

// The step that fills the new-site dialog once it is up (3 RCCs, 2 loops,
// the first protocol) and clicks its OK.
Step NewSiteOk()
{
    return {"the new-site dialog", [] { return OnDesktop(NewSiteDialog()); },
            [] {
                frmNewSite* site = NewSiteDialog();
                site->NameText->setText("Block C");
                // Picked with the arrow key.
                for (auto [box, index] : {std::pair{site->QtyCombo, 2}, std::pair{site->LoopCombo, 1},
                                          std::pair{site->ProtocolCombo, 0}}) {
                    box->setCurrentIndex(index - 1);
                    QTest::keyClick(box, Qt::Key_Down);
                }
                Click(site->cmdOK);
            }};
}

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
    steps.push_back(NewSiteOk());
    QString shown;
    for (Step& step : OkOnTheDeviceWindow(devices, shown))
        steps.push_back(step);
    // A dialog still up once the steps have failed is cancelled, so that the
    // test ends.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (frmNewSite* site = NewSiteDialog())
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

// The window that took the program's last pointer press, and the widget
// that took the first release since released was last emptied.
class PressedWindow : public QObject
{
public:
    PressedWindow() { qApp->installEventFilter(this); }
    QPointer<QWidget> window;
    QPointer<QWidget> released;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && event->type() == QEvent::MouseButtonPress)
            window = widget->window();
        if (widget != nullptr && event->type() == QEvent::MouseButtonRelease && released == nullptr)
            released = widget;
        return false;
    }
};

// The dialogs the main window's menus open modally, with the pinned device
// window over the middle of the main window, where each comes up: the dialog
// stands above the device window, is the active window, and once the display
// shows it where and as large as the program holds it, a click at its middle
// reaches it. Closed, it leaves the main window active, and only then
// does the next menu click come: a click on a window that is not yet active
// goes to the window manager first, and a slow one may keep it.
TEST_F(SiteChangeTest, MenuDialogsComeUpAboveAPinnedDeviceWindow)
{
    platform::SetFileDialogAnswerer({}); // the file dialog itself
    QPointer<frmDevices> devices = PinnedDevices();
    ASSERT_NE(devices, nullptr);
    // Its corner a little above and left of the middle, the menu bar clear.
    const QPoint middle = DisplayedFrame(form.get()).center();
    devices->move(middle - QPoint(40, 40));
    ASSERT_TRUE(Drive({{"the device window over the middle of the main window", [&] {
                            return ShownInPlace(devices) && DisplayedFrame(devices).contains(middle);
                        }}}));
    for (auto [menu, item] : {std::pair{"FileMenu", "NewFile"}, std::pair{"FileMenu", "FileLoad"},
                              std::pair{"HelpMenu", "HelpAbout"}}) {
        SCOPED_TRACE(item);
        PressedWindow pressed;
        bool covered = false;
        QRect shownAt;
        std::vector<Step> steps = MenuItem(menu, item);
        steps.push_back({"the dialog above the device window and active",
                         [&] {
                             QWidget* dialog = QApplication::activeModalWidget();
                             return ShownInPlace(dialog) && ActiveOnDesktop(dialog) &&
                                    StackedAbove(dialog, devices);
                         },
                         [&] {
                             QWidget* dialog = QApplication::activeModalWidget();
                             shownAt = DisplayedFrame(dialog);
                             covered = DisplayedFrame(devices).contains(shownAt.center());
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
        steps.push_back({"the dialog gone, the main window active again", [this] {
                             return QApplication::activeModalWidget() == nullptr &&
                                    ActiveOnDesktop(form.get());
                         }});
        EXPECT_TRUE(Drive(steps));
        EXPECT_TRUE(covered) << "the dialog at " << Describe(shownAt) << ", the device window at "
                             << Describe(DisplayedFrame(devices));
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
    const QPoint middle = DisplayedFrame(form.get()).center();
    devices->move(middle - QPoint(40, 40));
    devices->SelectDevice(1);
    std::vector<Step> steps = {
        {"the device window over the middle of the main window",
         [&] { return ShownInPlace(devices) && DisplayedFrame(devices).contains(middle); },
         [&] { Click(devices->cmdDel); }},
        {"the delete pending", [&] { return devices->Changed(); }},
    };
    for (Step& step : MenuItem("FileMenu", "NewFile"))
        steps.push_back(step);
    steps.push_back(ClickBoxButton("Close Device Details Form", "&No"));
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

// A press on RCC 2 while the pinned device window holds an edit brings up
// the window's question, which takes the release: the drag the press started
// ends there, with no outline left. After File > New a click on the empty
// canvas then moves no node of the new site.
TEST_F(SiteChangeTest, ADragWhoseReleaseWentToTheQuestionMovesNothingInTheNewSite)
{
    QPointer<frmDevices> devices = PinnedDevices();
    ASSERT_NE(devices, nullptr);
    devices->SelectDevice(1);
    bool outlineAfterTheQuestion = true;
    std::vector<Step> steps = {
        {"the device window on the desktop", [&] { return OnDesktop(devices); },
         [&] { Click(devices->cmdDel); }},
        {"the delete pending", [&] { return devices->Changed(); },
         [this] { Click(form->NodeControls(2).Label()); }},
        ClickBoxButton("Change Active Object", "&No"),
        {"the question answered",
         [&] {
             return frmMsg::Current() == nullptr && devices->windowTitle() == "Device Settings for RCC 2";
         },
         [&] { outlineAfterTheQuestion = form->NodeDrag()->isVisible(); }},
    };
    for (Step& step : FileMenuItem("NewFile"))
        steps.push_back(step);
    steps.push_back(NewSiteOk());
    PressedWindow pressed;
    std::pair<int32_t, int32_t> placed;
    QPoint empty;
    steps.push_back({"the new site on the desktop",
                     [this] {
                         return SiteFileName == "untitled.qvs" && NewSiteDialog() == nullptr &&
                                OnDesktop(form.get());
                     },
                     [&] {
                         placed = {Nodes[2].Left(), Nodes[2].Top()};
                         empty = EmptyCanvasPoint(devices);
                         pressed.released = nullptr;
                         Click(form->Canvas(), empty);
                     }});
    steps.push_back({"the click on the canvas", [&] { return pressed.released == form->Canvas(); }});
    ASSERT_TRUE(Drive(steps));
    EXPECT_FALSE(outlineAfterTheQuestion);
    ASSERT_GE(empty.x(), 0) << "no empty canvas to click";
    EXPECT_EQ(Nodes[2].Left(), placed.first);
    EXPECT_EQ(Nodes[2].Top(), placed.second);
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    EXPECT_FALSE(form->Dragging());
}

// File > Recent Files > b.qvs with a changed a.qvs open, Yes to the save
// question and a Save As to a-saved.qvs: the saved file holds the change,
// b.qvs is the file that opens, and the next Save goes into b.qvs, leaving
// a.qvs as it was.
TEST_F(SiteChangeTest, ARecentFileOpensTheFileClickedAfterTheSaveQuestionsSaveAs)
{
    const QString a = dir.filePath("a.qvs");
    const QString b = dir.filePath("b.qvs");
    const QString saved = dir.filePath("a-saved.qvs");
    ASSERT_TRUE(QFile::copy(QVS_TEST_DATA "/full-site.qvs", b));
    ASSERT_TRUE(QFile::copy(QVS_TEST_DATA "/hub-site.qvs", a));
    form->OpenFileFromMessage(b.toStdString());
    form->OpenFileFromMessage(a.toStdString());
    ASSERT_EQ(MruFiles[2], b.toStdString());
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes(a);
    Nodes[0].SetName("Changed hub");
    FileChanged = true;
    platform::SetFileDialogAnswerer([saved](const platform::FileDialogRequest& request) {
        return request.save ? std::optional<QString>(saved) : std::nullopt;
    });

    std::vector<Step> steps =
        MenuPath({form->Menu("FileMenu"), form->Menu("RecentFiles")}, form->MenuItem("FileMRU_2"));
    steps.push_back(ClickBoxButton("Save Changes ?", "&Yes"));
    // The saved name goes to the head of the list, and the file opened
    // after it pushes it to the second place.
    steps.push_back({"the save and the open done",
                     [saved] { return frmMsg::Current() == nullptr && MruFiles[2] == saved.toStdString(); }});
    ASSERT_TRUE(Drive(steps));
    EXPECT_TRUE(bytes(saved).contains("Changed hub"));
    EXPECT_EQ(SiteFileName, b.toStdString());
    EXPECT_EQ(MruFiles[1], b.toStdString());
    EXPECT_TRUE(form->windowTitle().contains("[b.qvs]")) << form->windowTitle().toStdString();
    Nodes[0].SetName("Second change");
    FileChanged = true;
    form->FileSave_Click();
    EXPECT_TRUE(bytes(b).contains("Second change"));
    EXPECT_EQ(bytes(a), before);
}

} // namespace

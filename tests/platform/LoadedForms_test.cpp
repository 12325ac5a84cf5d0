#include "app/BoxDriver.h"
#include "platform/LoadedForms.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace platform;

TEST(LoadedForms, ListKeepsLoadOrderDropsUnloadedAndDestroyedWindowsAndMatchesNamesExactly)
{
    ResetLoadedForms();
    TestWindows windows;
    QWidget* a = windows.Add("frmA", "A");
    windows.Add("frmB", "B");
    QWidget* c = windows.Add("frmDevices", "Device Details");
    LoadForm(a); // loading again keeps its place
    EXPECT_EQ(LoadedForms(), (std::vector<QWidget*>{a, windows.owned[1].get(), c}));
    EXPECT_TRUE(IsFormLoaded("frmDevices"));
    EXPECT_FALSE(IsFormLoaded("frmdevices"));

    windows.owned[1].reset(); // destroyed without an unload
    EXPECT_EQ(LoadedForms(), (std::vector<QWidget*>{a, c}));
    windows.owned[0].release();
    UnloadForm(a); // deferred delete
    EXPECT_EQ(LoadedForms(), std::vector<QWidget*>{c});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(LoadedForms(), std::vector<QWidget*>{c});
    windows.owned[2].release();
    UnloadFormNow(c);
    EXPECT_FALSE(IsFormLoaded("frmDevices"));
    ResetLoadedForms();
}

TEST(LoadedForms, AWindowUnloadedInsideANestedWaitOutlivesTheWait)
{
    // A handler of the window waits (as for a box's button); meanwhile the
    // window is unloaded and closed from another handler. The window must
    // still be there when the wait returns to its handler.
    ResetLoadedForms();
    QPointer<QWidget> window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    LoadForm(window);
    bool alive = false;
    QTimer::singleShot(0, [&] {
        bool done = false;
        QTimer::singleShot(0, [&] {
            window->close();
            UnloadForm(window);
            QTimer::singleShot(0, [&] { done = true; });
        });
        WaitUntil([&] { return done; });
        alive = !window.isNull();
    });
    WaitUntil([&] { return alive || window.isNull(); }, 10000);
    EXPECT_TRUE(alive);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "deleted once the waits have returned";
}

#include "platform/Icons.h"
#include "platform/ModalWindows.h"
#include "platform/Units.h"
#include "platform/WindowLayer.h"
#include "platform/WindowLimits.h"

#include <QImage>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace platform;

TEST(WindowLayer, TopMostSwitchesWithoutHidingAndRestoreLeavesAHiddenWindowHidden)
{
    QWidget w;
    w.show();
    for (bool on : {true, false}) {
        SetTopMost(w, on);
        EXPECT_EQ(IsTopMost(w), on);
        EXPECT_TRUE(w.isVisible());
    }
    w.showMinimized();
    ASSERT_TRUE(w.isMinimized());
    RestoreWindow(w);
    EXPECT_FALSE(w.isMinimized());

    QWidget hidden;
    RestoreWindow(hidden);
    EXPECT_FALSE(hidden.isVisible());
    ShowWithoutActivating(hidden);
    EXPECT_TRUE(hidden.isVisible());
}

TEST(WindowLimits, MinimaComeFromTwipsAndTheLimitsAreGivenBack)
{
    QWidget limited;
    MinMaxWindowProc(limited, MakeWindowLimits(9615, 6000));
    EXPECT_EQ(limited.minimumSize(), QSize(641, 400));
    EXPECT_EQ(limited.maximumSize(), QSize(1800, 10000));
    RestoreWindowProc(limited);
    limited.resize(100, 100);
    EXPECT_EQ(limited.size(), QSize(100, 100));
}

TEST(Units, TwipsRoundToTheNearestPixelHalvesToEven)
{
    EXPECT_EQ(PixelsFromTwips(457.5), 30); // 30.5: a half goes to the even pixel
    EXPECT_EQ(PixelsFromTwips(472.5), 32); // 31.5
    EXPECT_EQ(PixelsFromTwips(-22.6), -2);
}

TEST(Icons, EveryNamedIconIsDrawnAndTheyDiffer)
{
    QList<QImage> images;
    for (const char* n :
         {"AA_ICON", "STOP3D_ICON", "HELP5_ICON", "EXCLAMATION3D_ICON", "INFO2_ICON", "MONITOR_ICON"}) {
        SCOPED_TRACE(n);
        const QImage img = IconPixmap(n).toImage();
        EXPECT_EQ(img.size(), QSize(32, 32));
        EXPECT_GT(img.pixelColor(16, 16).alpha(), 0);
        for (const QImage& other : images)
            EXPECT_NE(img, other);
        images << img;
    }
    EXPECT_NE(IconPixmap("LOCKED").toImage(), IconPixmap("UNLOCKED").toImage());
    EXPECT_TRUE(IconPixmap("NO_SUCH_ICON").isNull());
}

// A pinned window leaves the top-most layer while a box or a window kept in
// front is up, and goes back only once the last of them has gone, whichever
// order they go in (a box shown over a serial window goes first; a serial
// window that comes up while a box waits may go first).
TEST(WindowLayer, APinnedWindowStaysOutOfTheTopLayerUntilTheLastGuardedWindowGoes)
{
    for (const bool frontGoesFirst : {false, true}) {
        SCOPED_TRACE(frontGoesFirst ? "the window in front goes first" : "the box goes first");
        QWidget pinned;
        pinned.show();
        SetTopMost(pinned, true);
        const auto pinnedOnTop = [&pinned] {
            return pinned.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        };
        QWidget front;
        ShowInFrontOfPinnedWindows(front);
        QWidget box;
        GuardModalWindow(box);

        front.show();
        EXPECT_FALSE(pinnedOnTop());
        EXPECT_EQ(front.windowType(), Qt::Dialog);
        box.show();
        EXPECT_FALSE(pinnedOnTop());
        (frontGoesFirst ? front : box).hide();
        EXPECT_FALSE(pinnedOnTop());
        (frontGoesFirst ? box : front).hide();
        EXPECT_TRUE(pinnedOnTop());
        EXPECT_TRUE(IsTopMost(pinned));
    }
}

#include "platform/LoadedForms.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace platform;

namespace {

struct LoadedFormsTest : ::testing::Test
{
    void SetUp() override { ResetLoadedForms(); }
    void TearDown() override { ResetLoadedForms(); }

    QWidget* Make(const QString& name, const QString& caption)
    {
        owned.push_back(std::make_unique<QWidget>());
        QWidget* w = owned.back().get();
        w->setObjectName(name);
        w->setWindowTitle(caption);
        LoadForm(w);
        return w;
    }
    std::vector<std::unique_ptr<QWidget>> owned;
};

} // namespace

TEST_F(LoadedFormsTest, ListKeepsLoadOrderAndDropsUnloadedAndDestroyedWindows)
{
    QWidget* a = Make("frmA", "A");
    QWidget* b = Make("frmB", "B");
    QWidget* c = Make("frmC", "C");
    LoadForm(a); // loading again keeps its place
    EXPECT_EQ(LoadedForms(), (std::vector<QWidget*>{a, b, c}));

    owned[1].reset(); // b destroyed without an unload
    EXPECT_EQ(LoadedForms(), (std::vector<QWidget*>{a, c}));

    owned[0].release();
    UnloadForm(a); // deferred delete
    EXPECT_EQ(LoadedForms(), (std::vector<QWidget*>{c}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(LoadedForms(), (std::vector<QWidget*>{c}));
}

TEST_F(LoadedFormsTest, IsFormLoadedComparesNamesCaseSensitively)
{
    Make("frmNodeSettings", "Properties");
    EXPECT_TRUE(IsFormLoaded("frmNodeSettings"));
    EXPECT_FALSE(IsFormLoaded("frmnodesettings"));
    EXPECT_FALSE(IsFormLoaded("frmDevices"));
    QWidget* d = Make("frmDevices", "Device Details");
    EXPECT_EQ(FindForm("frmDevices"), d);
    owned[1].release();
    UnloadFormNow(d);
    EXPECT_FALSE(IsFormLoaded("frmDevices"));
}

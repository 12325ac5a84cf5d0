#include "app/frmErrorCheck.h"
#include "model/ConfigurationCheck.h"
#include "app/core/ErrorListText.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Beep.h"
#include "platform/LoadedForms.h"
#include "platform/PrinterDialog.h"
#include "model/TestSites.h"

#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

class ErrorCheckWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsAndSite();
        model::ResetConfigurationCheck();
        app::ResetErrorCheckMode();
    }
    void TearDown() override
    {
        if (frmErrorCheck* w = frmErrorCheck::Loaded()) {
            w->close();
            QTest::qWait(1);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        platform::SetPrinterAnswerer({});
        model::ResetConfigurationCheck();
        model::ResetSite();
        ResetSiteState();
    }
    static QString Text() { return frmErrorCheck::Loaded()->RTB1->toPlainText(); }
    static QColor FirstColour()
    {
        const QTextBlock block = frmErrorCheck::Loaded()->RTB1->document()->firstBlock();
        return block.begin().fragment().charFormat().foreground().color();
    }
};

} // namespace

TEST_F(ErrorCheckWindow, EachModeShowsItsListAndBeepsOnlyForFaults)
{
    // The list's texts are the core's; here a fault list, which beeps, and
    // an empty comparison, whose note is blue and does not.
    SiteFileName = "/jobs/site.qvs";
    for (bool faults : {true, false}) {
        model::ResetConfigurationCheck();
        app::ErrorCheckMode = faults ? 0 : 2;
        if (faults)
            model::AddErrorLine("one");
        const int before = platform::BeepCount();
        frmErrorCheck* w = frmErrorCheck::Display(nullptr);
        EXPECT_EQ(Text(), faults ? "\n Error List for /jobs/site.qvs\n\none\n"
                                 : "The Current Configuration Matches the Connected Node");
        EXPECT_EQ(platform::BeepCount(), before + (faults ? 1 : 0));
        EXPECT_TRUE(faults || FirstColour() == QColor(0, 0, 200));
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Refresh in the change-list mode runs no check.
    app::ErrorCheckMode = 3;
    frmErrorCheck::Display(nullptr);
    model::AddErrorLine("ADD RCC 2");
    frmErrorCheck::Loaded()->cmdRefresh_Click();
    EXPECT_EQ(Text(), "ADD RCC 2\n");
}

TEST_F(ErrorCheckWindow, RefreshRerunsTheCheckAndShowingAgainKeepsTheText)
{
    model::Nodes[0].SetNodeNumber(0);
    model::Nodes[0].SetInUse(true); // a hub with nothing set: the check finds faults
    ASSERT_GT(model::CheckConfiguration(), 0);
    frmErrorCheck* w = frmErrorCheck::Display(nullptr);
    const QString faults = Text();
    EXPECT_TRUE(faults.startsWith("\n Error List for untitled.qvs\n\n"));

    model::Nodes[0].SetInUse(false);
    model::ResetConfigurationCheck();
    model::AddErrorLine("stale");
    EXPECT_EQ(frmErrorCheck::Display(nullptr), w);
    EXPECT_EQ(Text(), faults);

    QTest::mouseClick(w->cmdRefresh, Qt::LeftButton); // the check runs afresh
    EXPECT_NE(Text(), faults);
    EXPECT_FALSE(Text().contains("stale"));
}

TEST_F(ErrorCheckWindow, KeepsItsRectangle)
{
    ErrorCheckWindowLeft = 1500;
    ErrorCheckWindowTop = 1200;
    ErrorCheckWindowWidth = 9000;
    ErrorCheckWindowHeight = 7500;
    frmErrorCheck* w = frmErrorCheck::Display(nullptr);
    QApplication::processEvents();
    EXPECT_EQ(w->frameGeometry().size(), QSize(600, 500)); // the frame included
    EXPECT_EQ(w->minimumSize(), QSize(400, 400));
    w->resize(700, 650);
    const QSize frame = w->frameGeometry().size() - w->size();
    w->close();
    EXPECT_EQ(ErrorCheckWindowWidth, (700 + frame.width()) * 15);
    EXPECT_EQ(ErrorCheckWindowHeight, (650 + frame.height()) * 15);
}

TEST_F(ErrorCheckWindow, PrintsAllOrTheSelectionAndIgnoresACancel)
{
    model::AddErrorLine("Loop 1 Address 20 is used twice");
    model::AddErrorLine("RCC 3 has no ident");
    frmErrorCheck* w = frmErrorCheck::Display(nullptr);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("list.pdf");
    platform::SetPrinterAnswerer([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(pdf));
    const qint64 whole = QFileInfo(pdf).size();

    QTextCursor cursor = w->RTB1->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    w->RTB1->setTextCursor(cursor);
    QFile::remove(pdf);
    w->cmdPrint_Click();
    EXPECT_TRUE(QFile::exists(pdf) && QFileInfo(pdf).size() != whole);

    QFile::remove(pdf);
    platform::SetPrinterAnswerer([](QPrinter&) { return false; });
    w->cmdPrint_Click();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ErrorCheckWindow, StaysUsableWhileItsOwnerIsDisabledAndGoesWithIt)
{
    auto owner = std::make_unique<QWidget>();
    platform::LoadForm(owner.get());
    frmErrorCheck* w = frmErrorCheck::Display(owner.get());
    EXPECT_TRUE(ErrorCheckOpen);
    // a question waiting disables the owner, not the list
    const auto saved = platform::DisableOtherForms(nullptr, "Error Check");
    EXPECT_FALSE(owner->isEnabled());
    EXPECT_TRUE(w->cmdRefresh->isEnabled());
    platform::RestoreFormStates(saved);
    owner.reset();
    EXPECT_FALSE(ErrorCheckOpen);
    EXPECT_EQ(frmErrorCheck::Loaded(), nullptr);
}

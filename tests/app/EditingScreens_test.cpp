// The new-site dialog, the error list and the canvas after edits as
// pictures. With QVS_SHOT_DIR set, the pictures are saved there as PNG files
// for a person to look at.
#include "frmMainFixture.h"

#include "app/frmErrorCheck.h"
#include "app/frmNewSite.h"
#include "model/ConfigurationCheck.h"
#include "app/core/ErrorListText.h"
#include "platform/Units.h"
#include "support/ScreenShots.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

using model::Nodes;

namespace {

// The share of pixels in area that have this colour.
double ShareOf(const QImage& image, const QRect& area, QColor colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += QColor(image.pixel(x, y)) == colour ? 1 : 0;
    return static_cast<double>(n) / (area.width() * area.height());
}

} // namespace

TEST(EditingScreens, NewSiteDialogShowsEveryChoice)
{
    frmNewSite dialog;
    dialog.NameText->setText("Block A East");
    dialog.QtyCombo->setCurrentIndex(2);
    dialog.LoopCombo->setCurrentIndex(1);
    dialog.ProtocolCombo->setCurrentIndex(0);
    dialog.show();
    QApplication::processEvents();
    const QImage shot = dialog.grab().toImage();
    // every row lies inside the dialog, the buttons below the choices
    for (QWidget* w : std::initializer_list<QWidget*>{dialog.NameText, dialog.QtyCombo, dialog.LoopCombo,
                                                      dialog.ProtocolCombo, dialog.cmdOK, dialog.cmdCancel})
        EXPECT_TRUE(dialog.rect().contains(w->geometry())) << w->metaObject()->className();
    EXPECT_GT(dialog.cmdOK->y(), dialog.ProtocolCombo->y());
    SaveShot(shot, "new-site-dialog");
}

TEST_F(MainWindowTest, ErrorListAndCanvasAfterEdits)
{
    LoadSite();
    SiteFileName = "/home/eng/jobs/Block A East.qvs";
    model::ErrorCheckMode = 0;
    ASSERT_GT(model::CheckConfiguration(), 0);
    frmErrorCheck* list = frmErrorCheck::Display(form.get());
    list->setWindowTitle("Configuration File Errors - File NOT Saved");
    list->WarningLabel->setText("WARNING:  File NOT Saved");
    list->WarningLabel->show();
    QApplication::processEvents();
    const QImage listShot = list->grab().toImage();
    EXPECT_TRUE(list->RTB1->toPlainText().startsWith("\n Error List for /home/eng/jobs/Block A East.qvs"));
    SaveShot(listShot, "error-list");
    platform::UnloadFormNow(list);

    // Edits: an RCC added, RCC 2 hung on RCC 4 by a drop, the site renamed.
    form->AddRCC_Click();
    NodeLabel* label = form->NodeControls(2).Label();
    const QPoint from = label->rect().center();
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, from);
    const QPoint to = from + QPoint((1500 - 6500) / 15, (5600 - 2000) / 15);
    QTest::mouseMove(label, to);
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_EQ(Nodes[2].Parent(), 4);
    QLabel* name = form->SiteNameLabel();
    QTest::mousePress(name, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(name, QPoint(405, 385));
    QTest::mouseRelease(name, Qt::LeftButton, Qt::NoModifier, QPoint(405, 385));
    QTest::mouseDClick(name, Qt::LeftButton);
    form->SiteNameEdit()->setText("Block A East");
    QTest::keyClick(form->SiteNameEdit(), Qt::Key_Return);
    QApplication::processEvents();
    const QImage canvasShot = form->grab().toImage();
    // The dragged RCC is the selected one: its box has the red border.
    const QPoint canvasAt = form->Canvas()->mapTo(form.get(), QPoint());
    const auto red = [&](int node) {
        return ShareOf(canvasShot, form->NodeControls(node).Shape()->geometry().translated(canvasAt),
                       QColor(255, 0, 0));
    };
    EXPECT_GT(red(2), 0.05);
    EXPECT_EQ(red(5), 0.0);
    EXPECT_EQ(SiteNameX, 100 + 400 * 15);
    EXPECT_TRUE(form->windowTitle().endsWith(" * "));
    SaveShot(canvasShot, "canvas-after-edits");
}

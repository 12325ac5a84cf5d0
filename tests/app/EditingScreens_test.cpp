// The new-site dialog and the canvas after a drop as pictures. With QVS_SHOT_DIR set, the pictures are saved there as PNG files
// for a person to look at.
#include "frmMainFixture.h"

#include "app/frmNewSite.h"
#include "support/ScreenShots.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

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

TEST_F(MainWindowTest, TheCanvasAfterADropShowsTheMovedRccSelected)
{
    LoadSite();
    // RCC 2 hung on RCC 4 by a drop.
    NodeLabel* label = form->NodeControls(2).Label();
    const QPoint from = label->rect().center();
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, from);
    const QPoint to = from + QPoint((1500 - 6500) / 15, (5600 - 2000) / 15);
    QTest::mouseMove(label, to);
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_EQ(Nodes[2].Parent(), 4);
    QApplication::processEvents();
    const QImage canvasShot = form->grab().toImage();
    // The dragged RCC is the selected one: its box is painted with the red border.
    const QPoint canvasAt = form->Canvas()->mapTo(form.get(), QPoint());
    const auto red = [&](int node) {
        return ShareOf(canvasShot, form->NodeControls(node).Shape()->geometry().translated(canvasAt),
                       QColor(255, 0, 0));
    };
    EXPECT_GT(red(2), 0.05);
    EXPECT_EQ(red(4), 0.0);
    SaveShot(canvasShot, "canvas-after-drop");
}

#include "ViewWindows.h"
#include "platform/Printer.h"
#include "platform/PrinterDialog.h"
#include "support/ScreenShots.h"
#include "views/PainterPrintSurface.h"
#include "views/frmPrintPreview.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Pixels of the node boxes' fill colour in a picture.
int BoxPixels(const QImage& picture)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixelColor(x, y) == QColor(192, 255, 255) ? 1 : 0;
    return count;
}

} // namespace

TEST(PainterPrintSurface, PrintNodePaintsTheBoxAndItsNumberInTheGivenScale)
{
    model::NodeArray nodes;
    for (int i = 0; i < model::kNodeCount; ++i)
        nodes[i].SetNodeNumber(i);
    model::clsNode& rcc = nodes[7];
    rcc.SetInUse(true);
    rcc.SetParent(0);
    rcc.SetLeft(1500);
    rcc.SetTop(1500);
    nodes[0].SetInUse(true);
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        PainterPrintSurface surface(painter, false);
        // Twips 1000..4000 across the picture's 300 pixels: 1 pixel per 10 twips.
        surface.Scale(1000, 1000, 4000, 3000, QRectF(0, 0, 300, 200));
        model::PrintNode(rcc, true, surface, nodes, 1);
        model::PrintNode(rcc, false, surface, nodes, 1);
    }
    // Inside the box, away from the number: the box colour; its top edge black.
    EXPECT_EQ(picture.pixelColor(50 + 4, 50 + 10), QColor(192, 255, 255));
    EXPECT_EQ(picture.pixelColor(50 + 10, 50), QColor(Qt::black));
    int dark = 0;
    for (int x = 66; x < 78; ++x)
        for (int y = 66; y < 76; ++y)
            dark += picture.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    EXPECT_GT(dark, 5);
}

TEST_F(ViewWindowTest, PrintPreviewShowsThePageAndPrintsItToPdf)
{
    LoadSite("hub-site.qvs");
    SiteNameX = 3000; // under the hub, inside the page
    SiteNameY = 3500;
    QPrinter& printer = platform::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("");
    printer.setPageOrientation(QPageLayout::Portrait);

    frmPrintPreview* preview = frmPrintPreview::Load();
    preview->show();
    EXPECT_EQ(preview->Extent().left, 2000);
    EXPECT_EQ(preview->Extent().right, 7000);
    EXPECT_EQ(preview->Extent().bottom, 6000); // the shown site name widens it
    EXPECT_GT(preview->Picture1->height(), preview->Picture1->width());
    EXPECT_GT(BoxPixels(preview->Picture1->pixmap().toImage()), 200);

    QTest::mouseClick(preview->cmdPrint, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "No Printer Available");

    QTest::mouseClick(preview->optLandscape, Qt::LeftButton);
    EXPECT_GT(preview->Picture1->width(), preview->Picture1->height());
    preview->resize(10, 10);
    EXPECT_GE(preview->width(), preview->fraOptions->width() * 5 / 2);

    const QString shots = qEnvironmentVariable("QVS_SHOT_DIR");
    QTemporaryDir dir;
    const QString pdf = (shots.isEmpty() ? dir.path() : shots) + "/print-preview.pdf";
    QDir().mkpath(QFileInfo(pdf).path());
    platform::SetPrinterAnswerer([&](QPrinter& chosen) {
        chosen.setOutputFileName(pdf);
        return true;
    });
    QTest::mouseClick(preview->cmdChange, Qt::LeftButton);
    platform::SetPrinterAnswerer({});
    EXPECT_EQ(preview->prtLabel->text(), pdf);
    preview->resize(900, 600);
    SaveShot(preview->grab().toImage(), "print-preview");

    QTest::mouseClick(preview->cmdPrint, Qt::LeftButton);
    EXPECT_EQ(messages.size(), 1u);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString bytes = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count(QRegularExpression("/Type /Page\\b(?!s)")), 1);
    printer.setOutputFileName("");
}

TEST_F(ViewWindowTest, AChangeOfOrientationLeavesTheButtonsWhereLoadingPutThem)
{
    LoadSite("hub-site.qvs");
    platform::Printer().setPageOrientation(QPageLayout::Portrait);
    frmPrintPreview* preview = frmPrintPreview::Load();
    preview->show();
    QCoreApplication::processEvents();
    const QPoint close = preview->cmdClose->pos(), print = preview->cmdPrint->pos();
    QTest::mouseClick(preview->optLandscape, Qt::LeftButton);
    ASSERT_GT(preview->Picture1->width(), preview->Picture1->height());
    EXPECT_EQ(preview->cmdClose->pos(), close);
    EXPECT_EQ(preview->cmdPrint->pos(), print);
}

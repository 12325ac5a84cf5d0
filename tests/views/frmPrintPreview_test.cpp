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
#include <QtEndian>

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

// The preview opened with the printer printing to no file yet, in portrait.
frmPrintPreview* ShowPortraitPreview()
{
    QPrinter& printer = platform::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("");
    printer.setPageOrientation(QPageLayout::Portrait);
    frmPrintPreview* preview = frmPrintPreview::Load();
    preview->show();
    return preview;
}

// The texts a page printed to a PDF file shows, one for each text object,
// read back through the fonts' ranges of glyphs to characters. The printer
// writes those ranges plain and compresses the page's content. The blank's
// glyph serves the tab too and may be read back as one: any white space is
// read as a blank.
QStringList PdfTexts(const QByteArray& pdf)
{
    QHash<uint, QChar> chars;
    const QRegularExpression ranges(R"(beginbfrange(.*?)endbfrange)",
                                    QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression range(R"(<(\w+)>\s*<(\w+)>\s*(\[[^\]]*\]|<\w+>))");
    const QRegularExpression hex(R"(<(\w+)>)");
    const auto code = [](const QString& digits) { return digits.toUInt(nullptr, 16); };
    for (const QRegularExpressionMatch& map : ranges.globalMatch(QString::fromLatin1(pdf))) {
        for (const QRegularExpressionMatch& r : range.globalMatch(map.captured(1))) {
            // Either one character for each glyph in a list, or the first of a run.
            QList<uint> targets;
            for (const QRegularExpressionMatch& t : hex.globalMatch(r.captured(3)))
                targets << code(t.captured(1));
            const bool list = r.captured(3).startsWith('[');
            for (uint c = code(r.captured(1)), i = 0; c <= code(r.captured(2)); ++c, ++i) {
                const QChar ch(list ? targets.value(static_cast<qsizetype>(i)) : targets.value(0) + i);
                chars[c] = ch.isSpace() ? QChar(' ') : ch;
            }
        }
    }
    const QRegularExpression textObject(R"(\bBT\b(.*?)\bET\b)",
                                        QRegularExpression::DotMatchesEverythingOption);
    QStringList texts;
    for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at)) {
        qsizetype start = at + 6;
        while (start < pdf.size() && (pdf[start] == '\r' || pdf[start] == '\n'))
            ++start;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        at = end + 9;
        const QByteArray data = pdf.mid(start, end - start);
        if (data.isEmpty() || static_cast<unsigned char>(data[0]) != 0x78) // not zlib
            continue;
        QByteArray sized(4, '\0');
        qToBigEndian(static_cast<quint32>(data.size() * 20), sized.data());
        const QString content = QString::fromLatin1(qUncompress(sized + data));
        for (const QRegularExpressionMatch& object : textObject.globalMatch(content)) {
            QString text;
            for (const QRegularExpressionMatch& glyphs : hex.globalMatch(object.captured(1))) {
                const QString digits = glyphs.captured(1);
                for (qsizetype i = 0; i + 4 <= digits.size(); i += 4)
                    text += chars.value(code(digits.mid(i, 4)), QChar('?'));
            }
            texts << text;
        }
    }
    return texts;
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
    frmPrintPreview* preview = ShowPortraitPreview();
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

TEST_F(ViewWindowTest, ThePreviewAndThePrintedPageCarryTheSiteName)
{
    LoadSite("hub-site.qvs");
    // Between the RCCs and below the hub; not shown on the canvas, which
    // leaves it on the page all the same.
    SiteName = "North Wing";
    SiteNameX = 4000;
    SiteNameY = 2300;
    ShowSiteName = false;
    frmPrintPreview* preview = ShowPortraitPreview();
    QCoreApplication::processEvents();
    const QImage named = preview->Picture1->pixmap().toImage();

    // The same page without a name: what differs is the name's lettering,
    // which starts where the name is placed.
    SiteName = "";
    QTest::mouseClick(preview->optLandscape, Qt::LeftButton);
    QTest::mouseClick(preview->optPortrait, Qt::LeftButton);
    const QImage unnamed = preview->Picture1->pixmap().toImage();
    ASSERT_EQ(named.size(), unnamed.size());
    const views::DiagramExtent extent = preview->Extent();
    const QPoint at(named.width() * (SiteNameX - extent.left) / (extent.right - extent.left),
                    named.height() * (SiteNameY - extent.top) / (extent.bottom - extent.top));
    QRect lettering;
    int differing = 0;
    for (int y = 0; y < named.height(); ++y)
        for (int x = 0; x < named.width(); ++x)
            if (named.pixel(x, y) != unnamed.pixel(x, y)) {
                ++differing;
                lettering |= QRect(x, y, 1, 1);
            }
    EXPECT_GT(differing, 20);
    EXPECT_NEAR(lettering.left(), at.x(), 3);
    EXPECT_GE(lettering.top(), at.y() - 1);
    EXPECT_LT(lettering.top(), at.y() + lettering.height());

    // Printed to a file: the page's texts are the node labels and the name.
    SiteName = "North Wing";
    QTemporaryDir dir;
    QPrinter& printer = platform::Printer();
    printer.setOutputFileName(dir.filePath("site.pdf"));
    QTest::mouseClick(preview->cmdPrint, Qt::LeftButton);
    printer.setOutputFileName("");
    EXPECT_TRUE(messages.empty());
    QFile file(dir.filePath("site.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList texts = PdfTexts(file.readAll());
    EXPECT_TRUE(texts.contains("Radio") && texts.contains("Hub")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("North Wing")) << texts.join('|').toStdString();
}

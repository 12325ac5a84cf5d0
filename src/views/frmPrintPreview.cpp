#include "views/frmPrintPreview.h"

#include "model/NodeDrawing.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Printer.h"
#include "platform/PrinterDialog.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/WindowPlacement.h"
#include "views/PainterPrintSurface.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

template <typename T> T* Placed(T* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
    return widget;
}

constexpr int kPictureLeft = 120;
constexpr int kPictureTop = 120;
constexpr int kPreviewLineWidth = 3;
constexpr int kPrintLineWidth = 15;

bool Portrait()
{
    return platform::Printer().pageLayout().orientation() == QPageLayout::Portrait;
}

// Width over height of the printer's page as it is turned now.
double PageRatio()
{
    const QRectF page = platform::Printer().pageLayout().fullRect();
    return page.height() > 0 ? page.width() / page.height() : 0;
}

// The site name's font on the preview: Verdana of normal weight whose
// character height and average width follow the page.
QFont SiteNameFont(const QSize& picture)
{
    const views::SiteNameLettering lettering =
        views::SiteNameLetteringFor(PixelsToTwips(picture.width()), PixelsToTwips(picture.height()), Portrait());
    QFont font("Verdana");
    font.setWeight(QFont::Normal);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(lettering.height))));
    const double natural = QFontMetricsF(font).averageCharWidth();
    if (natural > 0 && lettering.width >= 1)
        font.setStretch(std::clamp(static_cast<int>(std::lround(100 * lettering.width / natural)), 1, 4000));
    return font;
}

} // namespace

frmPrintPreview::frmPrintPreview()
{
    setObjectName("frmPrintPreview");
    setWindowTitle("Print Preview");
    setWindowIcon(platform::LoadIconResource("AA_ICON"));

    Border = Placed(new QFrame(this), "Border", 0, 0, 0, 0);
    Border->setFrameShape(QFrame::Box);
    Picture1 = Placed(new QLabel(this), "Picture1", kPictureLeft, kPictureTop, 0, 0);

    fraOptions = Placed(new QGroupBox("Printing Options", this), "fraOptions", 0, 120, 2700, 3300);
    fraOrient = Placed(new QGroupBox("Orientation", fraOptions), "fraOrient", 120, 300, 2460, 1100);
    optPortrait = Placed(new QRadioButton("Portrait", fraOrient), "optPortrait", 240, 300, 2000, 300);
    optLandscape = Placed(new QRadioButton("Landscape", fraOrient), "optLandscape", 240, 660, 2000, 300);
    // Nothing to choose about the content yet: the frame stays out of sight.
    fraContent = Placed(new QGroupBox("Content", fraOptions), "fraContent", 120, 1500, 2460, 600);
    fraContent->hide();
    prtLabel = Placed(new QLabel(fraOptions), "prtLabel", 120, 1560, 2460, 900);
    prtLabel->setWordWrap(true);
    prtLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    cmdChange = Placed(new QPushButton("Printe&r", fraOptions), "cmdChange", 742, 2600, 1215, 495);
    cmdPrint = Placed(new QPushButton("&Print", this), "cmdPrint", 0, 0, 1215, 495);
    cmdClose = Placed(new QPushButton("&Close", this), "cmdClose", kPictureLeft, 0, 1215, 495);

    connect(optPortrait, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optPortrait_Click();
    });
    connect(optLandscape, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optLandscape_Click();
    });
    connect(cmdChange, &QPushButton::clicked, this, &frmPrintPreview::cmdChange_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrintPreview::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmPrintPreview::cmdClose_Click);

    // The window is never narrower than 2.5 options frames nor lower than the
    // Print button and the options frame with room around them.
    setMinimumSize(fraOptions->width() * 5 / 2, cmdPrint->height() + fraOptions->height() + TwipsToPixels(800));
    resize(TwipsToPixels(10500), TwipsToPixels(7500));
    if (Portrait())
        optPortrait->setChecked(true);
    else
        optLandscape->setChecked(true);
    Form_Resize();
}

void frmPrintPreview::optPortrait_Click()
{
    platform::Printer().setPageOrientation(QPageLayout::Portrait);
    Form_Resize();
}

void frmPrintPreview::optLandscape_Click()
{
    platform::Printer().setPageOrientation(QPageLayout::Landscape);
    Form_Resize();
}

void frmPrintPreview::cmdChange_Click()
{
    if (platform::ChoosePrinter(this, platform::Printer(), false)) {
        // The page takes the new printer's name and shape at once, so that
        // what is shown is what will be printed.
        Form_Resize();
    }
}

void frmPrintPreview::cmdPrint_Click()
{
    if (busy_)
        return;
    if (!platform::PrinterAvailable()) {
        platform::ShowPlainMessage(this, "No Printer Available", 48, "Print Preview");
        return;
    }
    QPrinter& printer = platform::Printer();
    busy_ = true;
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
        DrawDiagram(painter, QRectF(0, 0, area.width(), area.height()), kPrintLineWidth, true, nullptr);
        printed = painter.end();
    }
    busy_ = false;
    if (!printed)
        platform::ShowPlainMessage(this, "Unable to Print to " + platform::PrinterDeviceName().toStdString(), 16,
                                   "Print Preview");
}

void frmPrintPreview::cmdClose_Click()
{
    close();
}

void frmPrintPreview::Form_Resize()
{
    if (isMinimized() || busy_)
        return;
    const QSize outer = platform::FrameRect(*this).size();
    const long width = PixelsToTwips(outer.width());
    const long height = PixelsToTwips(outer.height());
    laidOut_ = outer;
    const long closeTop = height - 1140;
    cmdClose->move(cmdClose->x(), TwipsToPixels(closeTop));
    cmdPrint->move(TwipsToPixels(width - 1485), TwipsToPixels(closeTop));
    const long optionsLeft = width - PixelsToTwips(fraOptions->width()) - 200;
    fraOptions->move(TwipsToPixels(optionsLeft), fraOptions->y());

    extent_ = views::ComputeDiagramExtent(model::Nodes, ShowSiteName, SiteNameX, SiteNameY);
    const QString device = platform::PrinterDeviceName();
    prtLabel->setText(device.isEmpty() ? QString("No Printer Available") : device);

    const views::PageSize page = views::FitPage(optionsLeft - kPictureLeft - 100, closeTop - kPictureTop - 100,
                                                PageRatio());
    Picture1->setGeometry(TwipsToPixels(kPictureLeft), TwipsToPixels(kPictureTop),
                          TwipsToPixels(static_cast<long>(page.width)), TwipsToPixels(static_cast<long>(page.height)));
    Border->setGeometry(TwipsToPixels(kPictureLeft - 15), TwipsToPixels(kPictureTop - 10),
                        TwipsToPixels(static_cast<long>(page.width) + 50),
                        TwipsToPixels(static_cast<long>(page.height) + 50));
    DrawPage();
}

void frmPrintPreview::DrawPage()
{
    if (Picture1->width() <= 0 || Picture1->height() <= 0) {
        Picture1->clear();
        return;
    }
    QPixmap page(Picture1->size());
    page.fill(Qt::white);
    busy_ = true;
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QFont siteNameFont = SiteNameFont(page.size());
        DrawDiagram(painter, QRectF(QPointF(0, 0), QSizeF(page.size())), kPreviewLineWidth, false, &siteNameFont);
    }
    busy_ = false;
    Picture1->setPixmap(page);
}

void frmPrintPreview::DrawDiagram(QPainter& painter, const QRectF& area, int lineWidth, bool yields,
                                  const QFont* siteNameFont)
{
    PainterPrintSurface surface(painter, yields);
    surface.Scale(extent_.left, extent_.top, extent_.right, extent_.bottom, area);
    // Every link first, then the boxes and their labels over them.
    for (const bool links : {true, false}) {
        for (const model::clsNode& node : model::Nodes)
            model::PrintNode(node, links, surface, model::Nodes, lineWidth);
    }
    // The site name is drawn whether or not the canvas shows it.
    if (siteNameFont != nullptr)
        surface.SetFont(*siteNameFont);
    surface.SetCurrentX(SiteNameX);
    surface.SetCurrentY(SiteNameY);
    surface.Print(SiteName);
}

void frmPrintPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmPrintPreview::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The window system tells the frame some time after the window is
    // shown, with a move: the layout follows the outer size it now knows.
    if (platform::FrameRect(*this).size() != laidOut_)
        Form_Resize();
}

void frmPrintPreview::closeEvent(QCloseEvent* event)
{
    event->accept();
    platform::UnloadForm(this);
}

#include "views/SiteOutlineWindow.h"

#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "views/OutlineTree.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace views {
namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

const QString kExpandAll = "Expand &All";
const QString kCollapseAll = "Collapse &All";
constexpr int kSiteWatchMs = 500;

} // namespace

void PlaceInTwips(QWidget* control, long left, long top, long width, long height)
{
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         std::max(TwipsToPixels(height), control->sizeHint().height()));
}

SiteOutlineWindow::SiteOutlineWindow(const platform::StoredRectangle& stored) : stored_(stored)
{
    TreeView = new OutlineTree(this);
    TreeView->setObjectName("TreeView");
    cmdExpand = new QPushButton(kExpandAll, this);
    cmdExpand->setObjectName("cmdExpand");
    cmdClose = new QPushButton("&Close", this);
    cmdClose->setObjectName("cmdClose");
    SiteWatch = new QTimer(this);
    SiteWatch->setInterval(kSiteWatchMs);
    connect(cmdExpand, &QPushButton::clicked, this, &SiteOutlineWindow::cmdExpand_Click);
    connect(cmdClose, &QPushButton::clicked, this, &SiteOutlineWindow::cmdClose_Click);
    connect(SiteWatch, &QTimer::timeout, this, &SiteOutlineWindow::SiteWatch_Timer);
}

void SiteOutlineWindow::OpenOnStoredRectangle(long minWidth, long minHeight)
{
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(minWidth, minHeight));
    platform::OpenOnStoredRectangle(*this, stored_);
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    SiteWatch->start();
}

void SiteOutlineWindow::cmdExpand_Click()
{
    if (cmdExpand->text() == kExpandAll) {
        TreeView->SetAllExpanded(true);
        cmdExpand->setText(kCollapseAll);
    } else {
        TreeView->SetAllExpanded(false);
        cmdExpand->setText(kExpandAll);
        TreeView->ExpandKey("Hub");
    }
}

void SiteOutlineWindow::cmdClose_Click()
{
    close();
}

void SiteOutlineWindow::SiteWatch_Timer()
{
    TreeView->Follow(SiteLines());
}

SiteOutlineWindow::ButtonPlace SiteOutlineWindow::PlaceButtons()
{
    // The window's outer size, as the frame adds to it.
    ButtonPlace place{};
    const QSize outer = platform::FrameRect(*this).size();
    place.width = PixelsToTwips(outer.width());
    place.height = PixelsToTwips(outer.height());
    const long closeLeft = place.width - PixelsToTwips(cmdClose->width()) - 250;
    place.closeTop = place.height - PixelsToTwips(cmdClose->height()) - 600;
    cmdClose->move(TwipsToPixels(closeLeft), TwipsToPixels(place.closeTop));
    place.expandLeft = closeLeft - PixelsToTwips(cmdExpand->width()) - 150;
    cmdExpand->move(TwipsToPixels(place.expandLeft), TwipsToPixels(place.closeTop));
    return place;
}

void SiteOutlineWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!(windowState() & Qt::WindowMinimized))
        PlaceControls();
}

void SiteOutlineWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The frame, whose size the placing takes in, is known once the window
    // has been moved into it.
    PlaceControls();
}

void SiteOutlineWindow::closeEvent(QCloseEvent* event)
{
    SiteWatch->stop();
    platform::StoreNormalRectangle(*this, stored_);
    platform::RestoreWindowProc(*this);
    event->accept();
    platform::UnloadForm(this);
}

} // namespace views

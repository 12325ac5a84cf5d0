#pragma once
// The print preview of the site diagram: the hub and the RCCs with their
// links and the site name, scaled onto a page of the printer's shape, with a
// choice of portrait or landscape and of the printer, and Print, which prints
// the diagram on one page. It reads the site when it lays the page out.
#include "platform/FormInstance.h"
#include "views/core/PrintPageLayout.h"

#include <QWidget>

class QFont;
class QFrame;
class QGroupBox;
class QLabel;
class QPainter;
class QPushButton;
class QRadioButton;

class frmPrintPreview : public QWidget, public platform::FormInstance<frmPrintPreview>
{
    Q_OBJECT
public:
    frmPrintPreview();

    void optPortrait_Click();
    void optLandscape_Click();
    void cmdChange_Click();
    void cmdPrint_Click();
    void cmdClose_Click();

    // The extent the page was last laid out for.
    const views::DiagramExtent& Extent() const { return extent_; }

    QLabel* Picture1 = nullptr;
    QFrame* Border = nullptr;
    QGroupBox* fraOptions = nullptr;
    QGroupBox* fraOrient = nullptr;
    QRadioButton* optPortrait = nullptr;
    QRadioButton* optLandscape = nullptr;
    QGroupBox* fraContent = nullptr;
    QLabel* prtLabel = nullptr;
    QPushButton* cmdChange = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Lays the window out for its size and draws the page again.
    void Form_Resize();
    void DrawPage();
    // The nodes, their links and the site name in the scale of the extent;
    // the site name in siteNameFont, or without one in the font the node
    // labels leave behind.
    void DrawDiagram(QPainter& painter, const QRectF& area, int lineWidth, bool yields,
                     const QFont* siteNameFont);

    views::DiagramExtent extent_;
    bool busy_ = false; // a page is being drawn or printed
    QSize laidOut_;     // the outer size the layout was made for
};

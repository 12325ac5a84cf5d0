#pragma once
// The picture box the site is drawn on. Positions are twips; the links are
// painted into a persistent picture layer that lies under the node controls
// (child widgets) and survives repaints. Mouse and key events are passed on
// with the button (1 left, 2 right, 4 middle), the shift state (1 Shift,
// 2 Ctrl, 4 Alt) and the position in twips.
#include <QImage>
#include <QWidget>
#include <cstdint>

class SiteCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit SiteCanvas(QWidget* parent = nullptr);

    // While on, lines are painted into the persistent layer.
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }
    bool AutoRedraw() const { return autoRedraw_; }

    // Clears the persistent layer to the background colour.
    void Cls();

    void SetDrawWidth(int pixels) { drawWidth_ = pixels; }
    int DrawWidth() const { return drawWidth_; }
    void SetForeColor(std::uint32_t bgr) { foreColor_ = bgr; }
    std::uint32_t ForeColor() const { return foreColor_; }

    // A line in the current pen colour and width, end points in twips. Drawn
    // only while the persistent layer is on; the canvas never draws outside it.
    void Line(double x1, double y1, double x2, double y2);

    // Geometry in twips, relative to the parent.
    void SetLeftTwips(long left);
    void SetTopTwips(long top);
    void SetWidthTwips(long width);
    void SetHeightTwips(long height);
    long LeftTwips() const;
    long TopTwips() const;
    long WidthTwips() const;
    long HeightTwips() const;

    // Keeps the persistent layer at least this large (twips), so that links
    // painted before the canvas grows to the drawing's size are kept whole.
    void ReservePicture(long width, long height);

    // The persistent layer as it stands (tests look at it).
    const QImage& Picture() const { return picture_; }

signals:
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    // keyCode is the Qt key (Qt::Key_F5, ...).
    void KeyDown(int keyCode, int shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void GrowPicture();

    QImage picture_;
    bool drawn_ = false; // something was drawn since the layer was last cleared
    QSize reserved_;
    bool autoRedraw_ = false;
    int drawWidth_ = 1;
    std::uint32_t foreColor_ = 0; // black pen at start
};

// Mouse buttons and keyboard modifiers as the event handlers take them.
int MouseButtonCode(Qt::MouseButtons buttons);
int ShiftStateCode(Qt::KeyboardModifiers modifiers);

#pragma once
// The three controls that show one node on the canvas: the box
// (`NodeShape`), the caption (`NodeLabel`) and the quick-info label
// (`QI_Label`). Positions and sizes are twips relative to the canvas; colours
// are 0x00BBGGRR values. The box lets the mouse through to the canvas, which
// hit-tests it; the two labels report their own mouse events.
#include <QLabel>
#include <QWidget>
#include <cstdint>

// Shared geometry helpers for the controls below.
void PlaceTwips(QWidget* w, long left, long top);
void SizeTwips(QWidget* w, long width, long height);
long LeftTwips(const QWidget* w);
long TopTwips(const QWidget* w);
long WidthTwips(const QWidget* w);
long HeightTwips(const QWidget* w);

class NodeShape : public QWidget
{
    Q_OBJECT
public:
    explicit NodeShape(QWidget* canvas, int index);

    void SetFillColor(std::uint32_t bgr);
    std::uint32_t FillColor() const { return fill_; }
    void SetBorderColor(std::uint32_t bgr);
    std::uint32_t BorderColor() const { return border_; }
    void SetBorderWidth(int pixels);
    int BorderWidth() const { return borderWidth_; }
    // A rounded rectangle with a grey border and no fill: the drag outline.
    void SetOutlineOnly(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t fill_ = 0xFFFFFF;
    std::uint32_t border_ = 0;
    int borderWidth_ = 2;
    bool outlineOnly_ = false;
};

// A caption or quick-info label; Index is its element number in the array.
class NodeLabel : public QLabel
{
    Q_OBJECT
public:
    NodeLabel(QWidget* canvas, const QString& arrayName, int index);
    int Index() const { return index_; }
    // Sizes the label to its text, as a label with automatic size does.
    void SetAutoSize(bool on);
    void SetCaption(const QString& text);

signals:
    void MouseDown(int index, int button, int shift, double x, double y);
    void MouseMove(int index, int button, int shift, double x, double y);
    void MouseUp(int index, int button, int shift, double x, double y);
    void Click(int index);
    void DblClick(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int index_;
    bool autoSize_ = false;
    bool pressed_ = false;
};

#pragma once
// The slots of the Device Status page's map: each slot an outline shape in
// its fill and outline colours with its number, a tooltip naming what it
// holds, and a frame around the slot last clicked. A click on a slot that
// takes clicks is passed on as its control index.
#include "diagnostics/core/DeviceMap.h"

#include <QWidget>
#include <functional>

class DeviceMapWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DeviceMapWidget(QWidget* parent = nullptr);

    // Paints the slots of a tab as the map gives them.
    void Show(const diagnostics::DeviceMapView& view);
    const diagnostics::DeviceMapView& View() const { return view_; }

    // The frame around a slot (its control index); -1 hides it.
    void SetHighlight(int index);
    int Highlight() const { return highlight_; }

    // Where a slot's click area stands, in the widget's pixels.
    QRect SlotRect(int index) const;
    // The control index of the slot at a point, -1 for none.
    int SlotAt(const QPoint& point) const;
    // The height that shows every row of a loop tab.
    static int FullHeight();

    std::function<void(int index)> SlotClicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    const diagnostics::MapSlot* SlotOf(int index) const;

    diagnostics::DeviceMapView view_;
    int highlight_ = -1;
};

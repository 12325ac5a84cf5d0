// The device window's figures on the full site: opening it on a full RCC,
// against a plain window with the same labels and pictures, and applying 31
// changed slots, against writing the same slots through the node's setters.
#include "WindowBench.h"
#include "editors/DevicePictures.h"
#include "editors/core/SlotRules.h"
#include "editors/frmDevices.h"
#include "model/Site.h"
#include "model/SiteState.h"

#include <QApplication>
#include <QLabel>
#include <memory>
#include <stdexcept>

namespace {

constexpr int kRuns = 15;
constexpr int kRcc = 7;
constexpr double kAimMs = 100;

// A window of the device window's size holding the same 31 slot pictures
// with their number and detail labels, and the ten palette pictures.
void PlainSlotWindow()
{
    QWidget window;
    window.setFixedSize(frmDevices::kWidth / 15, frmDevices::kHeight / 15);
    const model::clsNode& node = model::Nodes[kRcc];
    for (int i = 0; i < editors::kPaletteItems; ++i)
        (new QLabel(&window))->setPixmap(editors::DevicePicture(i));
    for (int s = 1; s <= model::kLastSlot; ++s) {
        auto* image = new QLabel(&window);
        image->setPixmap(editors::DevicePicture(std::max(0, editors::PaletteItemOfType(node.DeviceType(s)))));
        image->setGeometry((s - 1) % 8 * 63, (s - 1) / 8 * 60 + 180, 45, 45);
        (new QLabel(QString::fromStdString(node.DeviceIdent(s)), &window))->move(image->pos());
        (new QLabel(QString::number(node.DeviceAddress(s)), &window))->move(image->pos() + QPoint(0, 30));
    }
    ShowAndPaint(window);
}

} // namespace

std::vector<Figure> EditorFigures()
{
    OpenFullSite();
    AnsweredBoxes boxes;
    ActiveNode = kRcc;
    frmDevices* window = nullptr;
    const auto close = [&] {
        frmDevices::Unload();
        DeleteClosedWindows();
        boxes.Expect();
    };
    // As the main window opens it.
    const double openMs = MedianMs(
        kRuns, [] {},
        [&] {
            window = frmDevices::Load();
            ShowAndPaint(*window);
            window->RefreshData(kRcc);
            QApplication::processEvents();
        },
        close);
    const double plainMs = MedianMs(kRuns, PlainSlotWindow);

    int run = 0;
    const auto change = [&] {
        ++run;
        for (int s = 1; s <= model::kLastSlot; ++s)
            window->Slots().Slot(s).name = "Run " + std::to_string(run) + " slot " + std::to_string(s);
    };
    window = frmDevices::Load();
    ShowAndPaint(*window);
    window->RefreshData(kRcc);
    const double applyMs = MedianMs(kRuns, change, [&] { window->cmdApply_Click(); }, [] {});
    if (model::Nodes[kRcc].DeviceName(31) != "Run " + std::to_string(run) + " slot 31")
        throw std::runtime_error("Apply did not write the slots into the node");
    close();
    const double settersMs = MedianMs(kRuns, [&] {
        model::clsNode& node = model::Nodes[kRcc];
        const model::clsNode copy = node;
        for (int s = 1; s <= model::kLastSlot; ++s) {
            node.SetDeviceType(s, copy.DeviceType(s));
            node.SetDeviceLoop(s, copy.DeviceLoop(s));
            node.SetDeviceAddress(s, copy.DeviceAddress(s));
            node.SetDeviceIdent(s, copy.DeviceIdent(s));
            node.SetDeviceName(s, "Plain slot " + std::to_string(s));
        }
    });
    return {TimeFigure("device window opened on a full RCC", openMs,
                       "a plain window of the same 103 labels and pictures", plainMs, kAimMs),
            TimeFigure("device window Apply of 31 changed slots", applyMs, "the 31 slots written by the node's setters",
                       settersMs, kAimMs)};
}

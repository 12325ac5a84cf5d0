#pragma once
// STAND-IN for the device window. It carries only the entry points the main
// window calls (load/show, NodeSelected, NoNodeSelected, RefreshData,
// SelectDevice, unload); the real window with the device palette, the slots
// and Apply replaces this class.
#include "platform/FormInstance.h"

#include <QLabel>
#include <QWidget>

// True while the window's push pin is down; the editor sets it.
extern bool DevicesPinned;

class frmDevices : public QWidget, public platform::FormInstance<frmDevices>
{
    Q_OBJECT
public:
    frmDevices();
    void NodeSelected();
    void NoNodeSelected();
    void RefreshData(int previousNode);
    void SelectDevice(int slot);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* info_;
};

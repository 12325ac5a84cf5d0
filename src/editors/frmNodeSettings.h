#pragma once
// STAND-IN for the node properties window. It carries only the entry points
// the main window calls (load/show, NodeSelected, NoNodeSelected,
// RefreshData, unload) and shows which node it would edit; the real editor
// with its fields, validation and Apply replaces this class.
#include "platform/FormInstance.h"

#include <QLabel>
#include <QWidget>

// True while the window's push pin is down; the editor sets it.
extern bool NodeSettingsPinned;

class frmNodeSettings : public QWidget, public platform::FormInstance<frmNodeSettings>
{
    Q_OBJECT
public:
    frmNodeSettings();
    void NodeSelected();
    void NoNodeSelected();
    void RefreshData(int previousNode);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* info_;
};

#pragma once
// STAND-IN for the communications window. The main window only needs to know
// whether it is loaded and to bring it to the front; the real window with its
// serial engine, programming, compare and read replaces this class.
#include "platform/FormInstance.h"

#include <QWidget>

// True from the load to the unload of the communications window; the main
// window ignores canvas presses, releases and toolbar clicks meanwhile.
extern bool CommsFormActive;

class frmComms : public QWidget, public platform::FormInstance<frmComms>
{
    Q_OBJECT
public:
    frmComms();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

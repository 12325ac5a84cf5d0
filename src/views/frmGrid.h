#pragma once
// STAND-IN for the Grid View window: only showing and closing, so the main window
// has something to open. The real window replaces this class.
#include "platform/FormInstance.h"

#include <QWidget>

class frmGrid : public QWidget, public platform::FormInstance<frmGrid>
{
    Q_OBJECT
public:
    frmGrid();
};

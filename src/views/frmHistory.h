#pragma once
// STAND-IN for the History window: only showing and closing, so the main window
// has something to open. The real window replaces this class.
#include "platform/FormInstance.h"

#include <QWidget>

class frmHistory : public QWidget, public platform::FormInstance<frmHistory>
{
    Q_OBJECT
public:
    frmHistory();
};

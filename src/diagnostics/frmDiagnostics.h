#pragma once
// STAND-IN for the radio diagnostics window: only showing and closing; the
// real window with its serial connection, device map and grids replaces it.
#include "platform/FormInstance.h"

#include <QWidget>

class frmDiagnostics : public QWidget, public platform::FormInstance<frmDiagnostics>
{
    Q_OBJECT
public:
    frmDiagnostics();
};

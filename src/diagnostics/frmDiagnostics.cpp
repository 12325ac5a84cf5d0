#include "diagnostics/frmDiagnostics.h"

frmDiagnostics::frmDiagnostics()
{
    setObjectName("frmDiagnostics");
    setWindowTitle("Diagnostics");
}

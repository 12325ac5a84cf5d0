// The diagnostics window's reading pages as shown: the device map with its
// filter and key, the signal and live grids, and Save of a grid.
#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/DeviceMapWidget.h"
#include "diagnostics/DiagsGrid.h"
#include "diagnostics/core/DiagsExport.h"
#include "diagnostics/frmDiagnosticsInternal.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"
#include "views/TableSaveDialog.h"
#include "views/TakenOnText.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTabBar>

using namespace hublink;
using enum hublink::CommsStateCode;
using enum diagnostics::DiagsStateCode;

// Device Status page

diagnostics::ShowBoxes frmDiagnostics::ShowBoxes() const
{
    diagnostics::ShowBoxes boxes{};
    for (int j = 0; j < diagnostics::kShowBoxCount; ++j)
        boxes[static_cast<size_t>(j)] = chkShow[static_cast<size_t>(j)]->isChecked();
    return boxes;
}

std::optional<diagnostics::MapTab> frmDiagnostics::SelectedDeviceTab() const
{
    return diagnostics::ParseTabCaption(DeviceTabStrip->tabText(DeviceTabStrip->currentIndex()).toStdString());
}

void frmDiagnostics::DeviceTabStrip_Click()
{
    StatusLabel->clear();
    DeviceMap->SetHighlight(-1);
    SelectedSlotIndex = -1;
    SignalSelectedRow = -1;
    const auto tab = SelectedDeviceTab();
    if (tab && tab->kind == diagnostics::MapTab::Kind::Loop)
        KeyFrame->move(KeyFrame->x(), DeviceMap->y() + DeviceMap->SlotRect(1).top());
    ShowSelectedDeviceStatus();
}

void frmDiagnostics::ShowSelectedDeviceStatus()
{
    const auto tab = SelectedDeviceTab();
    if (!tab)
        return;
    const diagnostics::ShowBoxes boxes = ShowBoxes();
    DeviceMap->Show(diagnostics::BuildDeviceMap(*tab, model::Nodes, boxes));
    if (SelectedSlotIndex != -1)
        StatusLabel->setText(Q(diagnostics::SlotStatusLine(*tab, SelectedSlotIndex, model::Nodes, boxes)));
}

void frmDiagnostics::DeviceImage_Click(int Index)
{
    const auto tab = SelectedDeviceTab();
    if (!tab)
        return;
    SelectedSlotIndex = Index;
    DeviceMap->SetHighlight(Index);
    StatusLabel->setText(Q(diagnostics::SlotStatusLine(*tab, Index, model::Nodes, ShowBoxes())));
}

void frmDiagnostics::chkShow_Click(int Index)
{
    DeviceMap->SetHighlight(-1);
    StatusLabel->clear();
    SelectedSlotIndex = -1;
    const diagnostics::ShowBoxes boxes = diagnostics::SettleShowBoxes(ShowBoxes(), Index);
    for (int j = 0; j < diagnostics::kShowBoxCount; ++j)
        chkShow[static_cast<size_t>(j)]->setChecked(boxes[static_cast<size_t>(j)]);
    ApplyShowFilter();
    ShowSelectedDeviceStatus();
}

void frmDiagnostics::ApplyShowFilter()
{
    const auto key = diagnostics::ColourKey(ShowBoxes());
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        const diagnostics::KeyRow& row = key[static_cast<size_t>(k)];
        const QColor outline = row.outline == 0x80000008 ? palette().color(QPalette::WindowText)
                                                         : platform::ColourFromBGR(row.outline);
        const QString fill = row.solid ? platform::ColourFromBGR(row.fill).name() : QStringLiteral("transparent");
        KeyShape[static_cast<size_t>(k)]->setStyleSheet(QStringLiteral("background: %1; border: %2px solid %3;")
                                                            .arg(fill)
                                                            .arg(row.outlineWidth)
                                                            .arg(outline.name()));
        KeyLabel[static_cast<size_t>(k)]->setText(Q(row.caption));
    }
}

void frmDiagnostics::optKey_Click()
{
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        KeyShape[static_cast<size_t>(k)]->show();
        KeyLabel[static_cast<size_t>(k)]->show();
    }
    for (QCheckBox* box : chkShow)
        box->hide();
}

void frmDiagnostics::optSel_Click()
{
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        KeyShape[static_cast<size_t>(k)]->hide();
        KeyLabel[static_cast<size_t>(k)]->hide();
    }
    for (QCheckBox* box : chkShow) {
        box->move(TwipsToPixels(90), box->y());
        box->show();
    }
}

// Signal Strengths page

void frmDiagnostics::SetupSignalGrid()
{
    signalRows_.Setup();
    SignalGrid->SetHeading(signalRows_.Rows()[0], diagnostics::kSignalGridWidths);
    SignalGrid->setToolTip(QString::fromLatin1(diagnostics::kSignalGridToolTip));
    SignalGrid->SetHeadingPicture(-1, {});
}

void frmDiagnostics::FillSignalGrid(bool NoData)
{
    signalRows_.Fill(model::Nodes, NoData, Session.HaveDailyMaxima);
    // A refill keeps the order of the last sort.
    signalRows_.Resort();
    SignalGrid->SetRows(signalRows_.Rows());
}

void frmDiagnostics::SignalGrid_Click()
{
    const QList<QTableWidgetSelectionRange> ranges = SignalGrid->selectedRanges();
    if (!ranges.isEmpty())
        SignalSelectedRow = ranges.back().bottomRow() + 1;
}

void frmDiagnostics::SignalGrid_DblClick(int column)
{
    signalRows_.SortByColumn(column);
    SignalGrid->SetRows(signalRows_.Rows());
    SignalGrid->SetHeadingPicture(signalRows_.SortColumn(), signalRows_.SortArrow());
}

// Live Status page

void frmDiagnostics::SetupLiveGrid()
{
    liveRows_.Setup();
    LiveGrid->SetHeading(liveRows_.Rows()[0].cells, diagnostics::LiveGridWidths());
}

void frmDiagnostics::ShowLiveRow(int gridRow)
{
    const auto& rows = liveRows_.Rows();
    if (gridRow < 1 || gridRow >= static_cast<int>(rows.size()))
        return;
    const diagnostics::LiveRow& row = rows[static_cast<size_t>(gridRow)];
    LiveGrid->SetRow(gridRow, row.cells);
    const diagnostics::RowColours colours = diagnostics::LiveRowColours(row.colour);
    LiveGrid->SetRowColours(gridRow, colours.back, colours.fore);
}

void frmDiagnostics::FillLiveGrid(bool Rebuild)
{
    liveRows_.Fill(model::Nodes, Rebuild, Session.UnitVersion);
    if (Rebuild)
        LiveGrid->SetRows(liveRows_.Cells());
    for (int r = 1; r < static_cast<int>(liveRows_.Rows().size()); ++r)
        ShowLiveRow(r);
}

// Save: the grid of the page shown, as a CSV or a text file.

void frmDiagnostics::cmdSave_Click()
{
    tmrRefresh.stop();
    if (RefreshBusy)
        return;
    const int16_t page = SelectedPage();
    if (page != PageSignalStrengths && page != PageLiveStatus)
        return;
    const diagnostics::DiagsTable table =
        page == PageSignalStrengths ? diagnostics::DiagsTable::SignalStrengths : diagnostics::DiagsTable::LinkBudgets;
    const diagnostics::DiagsExportTexts texts = diagnostics::ExportTexts(table);
    platform::FileDialogRequest request;
    request.save = true;
    request.title = QString::fromLatin1(texts.dialogTitle);
    request.fileName = QString::fromLatin1(texts.defaultFileName);
    request.filter = platform::FilterFromPairs(QString::fromLatin1(diagnostics::kDiagsExportFilter));
    request.defaultSuffix = QString::fromLatin1(diagnostics::kDiagsExportExtension);
    request.confirmOverwrite = true;
    const std::vector<diagnostics::DiagsGridRow> rows =
        page == PageSignalStrengths ? signalRows_.Rows() : liveRows_.Cells();
    SaveTableAs(
        this, request,
        [&](const std::string& path, std::string* error) {
            return diagnostics::SaveDiagsTable(path, table, rows, SiteName, TakenOnText().toStdString(), error);
        },
        texts.savedTitle);
}

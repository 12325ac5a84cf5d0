#include "views/frmHistory.h"

#include "model/Settings.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "platform/base/FileReplace.h"
#include "platform/base/ProgramFolder.h"
#include "views/core/VersionHistory.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

const platform::StoredRectangle kStored{&HistoryWindowTop, &HistoryWindowLeft, &HistoryWindowWidth,
                                        &HistoryWindowHeight};

std::string HistoryPath()
{
    return platform::JoinPath(platform::ProgramFolder(), views::kHistoryFileName);
}

} // namespace

frmHistory::frmHistory()
{
    setObjectName("frmHistory");
    setWindowTitle("Quorvel Configuration Utility History");
    setWindowIcon(platform::LoadIconResource("AA_ICON"));

    HistoryText = new QTextEdit(this);
    HistoryText->setObjectName("HistoryText");
    HistoryText->setReadOnly(true);
    HistoryText->setGeometry(TwipsToPixels(15), TwipsToPixels(-15), TwipsToPixels(6450), TwipsToPixels(4455));
    EndHistory = new QPushButton("&Close", this);
    EndHistory->setObjectName("EndHistory");
    EndHistory->setGeometry(TwipsToPixels(5350), TwipsToPixels(4560), TwipsToPixels(1095), TwipsToPixels(495));
    connect(EndHistory, &QPushButton::clicked, this, &frmHistory::EndHistory_Click);

    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(6000, 6000));
    platform::OpenOnStoredRectangle(*this, kStored);
    PlaceControls();
    ShowHistory(false);
}

void frmHistory::ShowHistory(bool full)
{
    const std::string path = HistoryPath();
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        // Also when the file went after the window opened.
        ShowMissingFile(QString::fromStdString(path));
        return;
    }
    QString text;
    for (const std::string& line : views::HistoryLines(bytes, full))
        text += QString::fromStdString(line) + "\n";
    HistoryText->setPlainText(text);
}

void frmHistory::ShowMissingFile(const QString& path)
{
    HistoryText->clear();
    QTextCursor cursor(HistoryText->document());
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(12);
    const QString text = QString::fromStdString(views::MissingHistoryText(path.toStdString()));
    const auto lead = static_cast<int>(views::kMissingHistoryLead);
    format.setForeground(platform::ColourFromBGR(0x0000FF));
    cursor.insertText(text.left(lead), format);
    format.setForeground(platform::ColourFromBGR(0xFF0000));
    cursor.insertText(text.mid(lead), format);
    HistoryText->moveCursor(QTextCursor::Start);
}

void frmHistory::EndHistory_Click()
{
    close();
}

void frmHistory::mousePressEvent(QMouseEvent* event)
{
    // Only clicks on the window's own surface reach here, not those on the
    // text box or the button.
    if (event->modifiers() & Qt::ControlModifier)
        ShowHistory(true);
    QWidget::mousePressEvent(event);
}

void frmHistory::PlaceControls()
{
    if (isMinimized())
        return;
    const QSize outer = platform::FrameRect(*this).size();
    const long width = PixelsToTwips(outer.width());
    const long height = PixelsToTwips(outer.height());
    HistoryText->resize(TwipsToPixels(width - 200), TwipsToPixels(height - 1240));
    EndHistory->move(TwipsToPixels(width - 300 - PixelsToTwips(EndHistory->width())),
                     TwipsToPixels(height - PixelsToTwips(EndHistory->height()) - 700));
}

void frmHistory::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceControls();
}

void frmHistory::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    PlaceControls();
}

void frmHistory::closeEvent(QCloseEvent* event)
{
    platform::StoreNormalRectangle(*this, kStored);
    platform::RestoreWindowProc(*this);
    event->accept();
    platform::UnloadForm(this);
}

#include "app/frmErrorCheck.h"

#include "model/ConfigurationCheck.h"
#include "app/core/ErrorListText.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/Beep.h"
#include "platform/LoadedForms.h"
#include "platform/PrinterDialog.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

bool ErrorCheckOpen = false;

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

const platform::StoredRectangle kStored{&ErrorCheckWindowTop, &ErrorCheckWindowLeft, &ErrorCheckWindowWidth,
                                        &ErrorCheckWindowHeight};
constexpr long kWarningLeft = 3360;
constexpr long kWarningHeight = 495;

QPointer<frmErrorCheck>& Instance()
{
    static QPointer<frmErrorCheck> instance;
    return instance;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(1380), TwipsToPixels(630));
    return button;
}

void Append(QTextEdit* box, const std::string& text, const QColor& colour)
{
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.insertText(QString::fromStdString(text).replace("\r\n", "\n"), format);
}

} // namespace

frmErrorCheck* frmErrorCheck::Loaded()
{
    return Instance().data();
}

frmErrorCheck* frmErrorCheck::Display(QWidget* owner)
{
    if (!Instance()) {
        Instance() = new frmErrorCheck(owner);
    }
    frmErrorCheck* window = Instance().data();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmErrorCheck::frmErrorCheck(QWidget* owner) : QWidget(nullptr, Qt::Window)
{
    // A window of its own, not a child of the owner: a question or the
    // communications window disables the owner, and the list must stay
    // usable then. It still goes with its owner.
    if (owner != nullptr) {
        connect(owner, &QObject::destroyed, this, [window = this] { delete window; });
    }
    setObjectName("frmErrorCheck");
    setWindowTitle("Error Check");

    RTB1 = new QTextEdit(this);
    RTB1->setObjectName("RTB1");
    RTB1->setReadOnly(true);
    QFont verdana("Verdana");
    verdana.setPointSizeF(9.75);
    RTB1->setFont(verdana);
    cmdRefresh = MakeButton(this, "&Refresh", 75, 6000);
    cmdPrint = MakeButton(this, "&Print", 1785, 6000);
    cmdClose = MakeButton(this, "&Close", 8625, 5970);
    WarningLabel = new QLabel("Label1", this);
    WarningLabel->setFont(QFont("Arial", 12, QFont::Bold));
    WarningLabel->setGeometry(TwipsToPixels(kWarningLeft), TwipsToPixels(6000), TwipsToPixels(3495),
                              TwipsToPixels(kWarningHeight));
    WarningLabel->hide();
    WarningLabel->installEventFilter(this);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmErrorCheck::cmdRefresh_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmErrorCheck::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmErrorCheck::cmdClose_Click);

    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(6000, 6000));
    platform::OpenOnStoredRectangle(*this, kStored);
    platform::LoadForm(this);
    ErrorCheckOpen = true;
    PlaceControls();
    Fill();
}

frmErrorCheck::~frmErrorCheck()
{
    // Also when the window goes with its owner without being closed.
    ErrorCheckOpen = false;
}

void frmErrorCheck::Fill()
{
    const app::ErrorListContent content =
        app::BuildErrorList(app::ErrorCheckMode, model::MessageList, SiteFileName, ActiveNode);
    if (content.beep) {
        platform::Beep();
        RTB1->clear();
        Append(RTB1, content.text, RTB1->palette().color(QPalette::Text));
    } else if (!content.emptyNote.empty()) {
        Append(RTB1, content.emptyNote, QColor(0, 0, 200));
    }
    RTB1->moveCursor(QTextCursor::Start);
}

void frmErrorCheck::cmdRefresh_Click()
{
    if (app::ErrorCheckMode == 0) {
        model::CheckConfiguration();
    }
    RTB1->clear();
    Fill();
}

void frmErrorCheck::cmdPrint_Click()
{
    const QTextCursor cursor = RTB1->textCursor();
    const bool selection = cursor.hasSelection();
    QPrinter printer;
    if (!platform::ChoosePrinter(this, printer, selection)) {
        return;
    }
    QApplication::processEvents();
    if (selection) {
        QTextDocument part;
        part.setDefaultFont(RTB1->document()->defaultFont());
        QTextCursor(&part).insertFragment(cursor.selection());
        part.print(&printer);
    } else {
        RTB1->document()->print(&printer);
    }
    QApplication::processEvents();
}

void frmErrorCheck::cmdClose_Click()
{
    close();
}

void frmErrorCheck::PlaceControls()
{
    // The window's outer size: the frame takes its share of the margins.
    const QSize outer = platform::FrameRect(*this).size();
    const long width = PixelsToTwips(outer.width());
    const long height = PixelsToTwips(outer.height());
    const long closeWidth = PixelsToTwips(cmdClose->width());
    const long closeHeight = PixelsToTwips(cmdClose->height());
    const long closeLeft = width - closeWidth - 300;
    const long closeTop = height - closeHeight - 600;
    cmdClose->move(TwipsToPixels(closeLeft), TwipsToPixels(closeTop));
    cmdRefresh->move(cmdRefresh->x(), TwipsToPixels(closeTop));
    cmdPrint->move(cmdPrint->x(), TwipsToPixels(closeTop));
    long listBottom = closeTop - 200;
    // The warning sits between Print and Close when its text fits there;
    // otherwise (a narrow window) it takes a line of its own above the
    // buttons, and the list gives up that line.
    const long warningWidth = closeLeft - 3500;
    const long textWidth = PixelsToTwips(WarningLabel->sizeHint().width());
    if (!WarningLabel->isVisibleTo(this) || textWidth <= warningWidth) {
        WarningLabel->setGeometry(TwipsToPixels(kWarningLeft), TwipsToPixels(closeTop + 75),
                                  TwipsToPixels(warningWidth), TwipsToPixels(kWarningHeight));
    } else {
        const long top = closeTop - kWarningHeight - 75;
        WarningLabel->setGeometry(cmdRefresh->x(), TwipsToPixels(top), TwipsToPixels(width - 300) - cmdRefresh->x(),
                                  TwipsToPixels(kWarningHeight));
        listBottom = top - 75;
    }
    RTB1->setGeometry(0, 0, TwipsToPixels(width - 300), TwipsToPixels(listBottom));
}

bool frmErrorCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == WarningLabel && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        PlaceControls();
    return QWidget::eventFilter(watched, event);
}

void frmErrorCheck::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceControls();
}

void frmErrorCheck::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    PlaceControls();
}

void frmErrorCheck::closeEvent(QCloseEvent* event)
{
    platform::StoreNormalRectangle(*this, kStored);
    platform::RestoreWindowProc(*this);
    ErrorCheckOpen = false;
    event->accept();
    platform::UnloadForm(this);
}

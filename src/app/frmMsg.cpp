#include "app/frmMsg.h"

#include "platform/Beep.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/Units.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>

namespace {
bool g_displayBusy = false;
QPointer<frmMsg> g_current;
} // namespace

QString MessageIconName(int32_t style)
{
    switch (style & MessageStyle::IconMask) {
    case MessageStyle::Critical:
        return "STOP3D_ICON";
    case MessageStyle::Question:
        return "HELP5_ICON";
    case MessageStyle::Exclamation:
        return "EXCLAMATION3D_ICON";
    case MessageStyle::Information:
        return "INFO2_ICON";
    default:
        return {};
    }
}

frmMsg::frmMsg() : BoxDialog("frmMsg", kClientWidth, kClientHeight)
{
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(false);
    QFont font("Verdana");
    font.setPointSizeF(9.75);
    Label1->setFont(font);
    PlaceTwips(Label1, 2430, kLabelTop, 1000, 240);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    PlaceTwips(Image1, kImageLeft, kImageTop, 480, 480);
    installEventFilter(this);
    for (QPushButton* b : cmdButton)
        b->installEventFilter(this);
}

frmMsg* frmMsg::Current()
{
    return g_current.data();
}

int32_t frmMsg::Display(QWidget* owner, const QString& msg, int32_t style, const QString& title)
{
    return RunBox(
        g_displayBusy, g_current, owner, title, "Error Check", [] { return new frmMsg; },
        [&](frmMsg& box) -> QWidget* {
            box.Layout(msg, style);
            return box.cmdButton[0];
        },
        [](frmMsg&) {});
}

void frmMsg::Layout(const QString& msg, int32_t style)
{
    const QString icon = MessageIconName(style);
    const bool hasIcon = !icon.isEmpty();
    double imageWidth = 0, imageHeight = 0;
    if (hasIcon) {
        const QPixmap pm = platform::IconPixmap(icon);
        Image1->setPixmap(pm);
        imageWidth = platform::PixelsToTwips(pm.width());
        imageHeight = platform::PixelsToTwips(pm.height());
        PlaceTwips(Image1, kImageLeft, kImageTop, imageWidth, imageHeight);
        platform::Beep();
    } else {
        Image1->hide();
    }
    Label1->setText(DisplayLines(msg));
    const QSizeF text = TextSizeTwips(Label1->font(), msg);
    const BoxButtonSet set = MessageButtonSet(style);
    double labelLeft = 0, labelTop = kLabelTop, width = 0, buttonTop = 0;
    if (hasIcon) {
        labelLeft = kImageLeft + imageWidth + 200;
        width = std::max(text.width() + imageWidth + 1000, MinimumWidth(set.count));
        if (kImageTop + imageHeight > text.height()) {
            buttonTop = imageHeight + 500;
            labelTop = kImageTop + imageHeight / 2 - text.height() / 2;
        } else {
            buttonTop = labelTop + text.height() + 500;
        }
    } else {
        width = std::max(text.width() + 1000, MinimumWidth(set.count));
        buttonTop = labelTop + text.height() + 500;
        labelLeft = width / 2 - text.width() / 2;
    }
    SetOuterSizeTwips(width, buttonTop + kButtonHeight + 600);
    LabelTwips = QRectF(labelLeft, labelTop, text.width(), text.height());
    ButtonTopTwips = buttonTop;
    PlaceTwips(Label1, labelLeft, labelTop, text.width(), text.height());
    ApplyButtons(set, buttonTop, kButtonHeight);
}

bool frmMsg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && KeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return BoxDialog::eventFilter(watched, event);
}

bool frmMsg::KeyPress(QKeyEvent* e)
{
    // A letter chooses its button with or without Alt (Alt with the letter
    // is also the button's access key).
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    if (e->key() == Qt::Key_Escape)
        return true;
    const QString text = e->text();
    const bool letterKey = e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z;
    if (!letterKey && (text.size() != 1 || !text[0].isPrint() || text[0] == ' '))
        return false; // Enter, Space, Tab and the arrows keep their meaning
    struct Letter
    {
        QChar key;
        const char* caption;
    };
    static const Letter letters[] = {{'O', "&OK"},       {'A', "&Abort"}, {'C', "&Cancel"},
                                     {'C', "&Continue"}, {'Y', "&Yes"},   {'N', "&No"},
                                     {'P', "&Proceed"},  {'R', "&Retry"}, {'I', "&Ignore"}};
    const QChar key = letterKey ? QChar(e->key()) : text[0].toUpper();
    for (const Letter& l : letters) {
        if (l.key != key)
            continue;
        for (QPushButton* b : cmdButton) {
            if (b->text() == QLatin1String(l.caption)) {
                SetResultFromCaption(b->text());
                return true;
            }
        }
    }
    return true; // every other character is swallowed
}

#include "views/frmComments.h"

#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/Units.h"
#include "views/core/FeedbackMail.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>

namespace {

using platform::TwipsToPixels;

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

} // namespace

frmComments::frmComments()
{
    setObjectName("frmComments");
    setWindowTitle("Comments or Bug Reports");
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    setFixedSize(TwipsToPixels(7380), TwipsToPixels(5715));

    const QFont verdana("Verdana", 8);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setFont(verdana);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setText("Please report any bugs or make any comments to the following email address"
                    ", or type the details below and then click the email address below.");
    Place(Label1, 510, 285, 6195, 735);

    Recipient = new QLabel(QString::fromLatin1(views::kSupportAddress), this);
    Recipient->setObjectName("Recipient");
    QFont underlined = verdana;
    underlined.setUnderline(true);
    Recipient->setFont(underlined);
    Recipient->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette palette = Recipient->palette();
    palette.setColor(QPalette::WindowText, platform::ColourFromBGR(0xFF0000));
    Recipient->setPalette(palette);
    Recipient->setCursor(Qt::PointingHandCursor);
    Recipient->installEventFilter(this);
    Place(Recipient, 1965, 1200, 2655, 240);

    Message = new QTextEdit(this);
    Message->setObjectName("Message");
    Message->setAcceptRichText(false);
    Place(Message, 165, 1590, 7050, 3240);

    cmdOK = new QPushButton("&Close", this);
    cmdOK->setObjectName("cmdOK");
    Place(cmdOK, 6060, 4965, 1155, 600);
    connect(cmdOK, &QPushButton::clicked, this, &frmComments::cmdOK_Click);
}

void frmComments::Recipient_Click()
{
    const std::string link =
        views::FeedbackMailLink(views::kSupportAddress,
                                views::FeedbackSubject(QVS_VERSION_MAJOR, QVS_VERSION_MINOR, QVS_VERSION_PATCH),
                                Message->toPlainText().toStdString());
    // The mail program starts while the window goes on; the window hears of
    // it again only when it could not open the mail.
    const QPointer<frmComments> self(this);
    const auto unable = [self] {
        platform::ShowPlainMessage(self, "Unable to Open Email Client", 16, "Send Comments");
    };
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(link), QUrl::StrictMode);
    const auto told = [unable](bool opened) {
        if (!opened)
            unable();
    };
    if (!platform::ShellOpenUrl(url, told))
        unable();
}

void frmComments::cmdOK_Click()
{
    close();
}

bool frmComments::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Recipient && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Recipient_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmComments::closeEvent(QCloseEvent* event)
{
    event->accept();
    platform::UnloadForm(this);
}

#pragma once
// The feedback window: the user types comments or a fault report and clicks
// the support address; the desktop's mail program opens a new mail to it with
// the program's version as the subject and the typed text as the body. The
// program sends nothing itself.
#include "platform/FormInstance.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

class frmComments : public QWidget, public platform::FormInstance<frmComments>
{
    Q_OBJECT
public:
    frmComments();

    // Hands the mail link to the desktop without waiting for the mail program;
    // says so when nothing took the link, or later, when the program that
    // took it could not open the mail.
    void Recipient_Click();
    void cmdOK_Click();

    QLabel* Label1 = nullptr;
    QLabel* Recipient = nullptr;
    QTextEdit* Message = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

#pragma once
// The program's own message box: a text, an icon, one of eight button sets
// and single-letter keys. While it waits every other window of the program is
// disabled, except the error list (captioned "Error Check").
#include "app/BoxDialog.h"
#include "platform/base/MessageStyle.h"

#include <QLabel>

class frmMsg : public BoxDialog
{
    Q_OBJECT
public:
    // Shows the box over owner and returns the chosen button's MessageResult
    // code; returns 0 at once, showing nothing, while another box waits.
    // msg: lines separated by CR LF; title "" gives the application title.
    static int32_t Display(QWidget* owner, const QString& msg, int32_t style, const QString& title);

    // The box waiting now, or nullptr (tests).
    static frmMsg* Current();

    QLabel* Label1 = nullptr;
    QLabel* Image1 = nullptr;

    // Design values, twips.
    static constexpr double kClientWidth = 4680;
    static constexpr double kClientHeight = 2115;
    static constexpr double kButtonHeight = 405;
    static constexpr double kImageLeft = 105;
    static constexpr double kImageTop = 255;
    static constexpr double kLabelTop = 120;

    // Where the last layout put the label and the buttons, twips.
    QRectF LabelTwips;
    double ButtonTopTwips = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmMsg();
    void Layout(const QString& msg, int32_t style);
    // The letter keys; true when the key was handled or swallowed.
    bool KeyPress(QKeyEvent* e);
};

// The icon resource for an icon part, "" for none.
QString MessageIconName(int32_t style);

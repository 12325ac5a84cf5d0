#pragma once
// The program's own input box: a prompt with a one-line entry field filtered
// by kind, or a choice from a list, and one of the message box's button sets.
// While it waits every other window of the program is disabled.
#include "app/BoxDialog.h"
#include "platform/base/MessageStyle.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// The typed text, or for the list kind the chosen position as decimal text
// ("-1" for none); written by every call that is not refused.
extern QString ParameterResult;

// ParameterEntryType
namespace ParameterEntry {
constexpr int32_t Text = 0;         // space and "!".."Z", small letters made capitals
constexpr int32_t Alphanumeric = 1; // 0-9, A-Z
constexpr int32_t Digits = 2;       // 0-9
constexpr int32_t List = 3;         // choice from the list
constexpr int32_t Hex = 4;          // 0-9, A-F
} // namespace ParameterEntry

class frmParameter : public BoxDialog
{
    Q_OBJECT
public:
    // Shows the box over owner and returns the button's MessageResult code,
    // the answer in ParameterResult; returns 0 at once, leaving
    // ParameterResult alone, while another input box waits.
    // defaultOrMaxLen: the list position to preselect (list kind) or the
    // largest number of characters (typed kinds). items: the list, ";"
    // separated. title "" gives the application title.
    static int32_t GetParameter(QWidget* owner, const QString& prompt, int32_t entryType, int defaultOrMaxLen,
                                const QString& items, int32_t buttons, const QString& title);

    // The box waiting now, or nullptr (tests).
    static frmParameter* Current();

    // The character a key gives for an entry kind once filtered: the
    // character itself, a capital for a small letter where the kind turns
    // them, or a null QChar when the kind refuses it. Kinds without a
    // filter return the character unchanged.
    static QChar FilterChar(int32_t kind, QChar c);
    // Whether a kind filters its characters and keeps to its maximum.
    static bool IsFilteredKind(int32_t kind);

    QLabel* Label1 = nullptr;
    QLineEdit* txtEntry = nullptr;
    QComboBox* Combo1 = nullptr;

    static constexpr double kClientWidth = 4680;
    static constexpr double kClientHeight = 2955;
    static constexpr double kButtonHeight = 525;
    static constexpr double kLabelTop = 90;
    static constexpr double kEntryTop = 660;
    static constexpr double kEntryHeight = 360;
    static constexpr double kTwipsPerCharacter = 300;

    // Where the last layout put the entry field and the buttons, twips.
    QRectF EntryTwips;
    double ButtonTopTwips = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmParameter();
    void Fill(const QString& prompt, int32_t entryType, int defaultOrMaxLen, const QString& items,
              int32_t buttons);
    bool EntryKeyPress(QKeyEvent* e);

    int32_t m_entryKind = 0;
    int m_maxEntryLength = 0;
};

#pragma once
// What the message box and the input box share: a fixed dialog without a
// close button, shown top-most over its owner, with up to three buttons; it
// disables the program's other windows while it waits for a button and puts
// them back afterwards. Each call builds a fresh box and unloads it.
#include "app/BoxButtons.h"
#include "platform/LoadedForms.h"

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <cstdint>

class QCloseEvent;
class QFont;

class BoxDialog : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(int32_t ResultCode MEMBER ResultCode)
public:
    // The outer frame (borders and title bar) that the box's outer sizes
    // include, twips.
    static constexpr double kFrameWidthTwips = 90;
    static constexpr double kFrameHeightTwips = 405;
    static constexpr double kButtonWidthTwips = 915;
    // What the title bar takes beside the caption: the icon, the window
    // manager's buttons (minimise and maximise besides close on some
    // desktops), margins.
    static constexpr double kTitleRoomTwips = 2100;

    std::array<QPushButton*, 3> cmdButton{};
    // The chosen button's code; 0 while none has been chosen.
    int32_t ResultCode = 0;

    // Outer size in twips, as laid out.
    double OuterWidth() const { return m_outerWidth; }
    double OuterHeight() const { return m_outerHeight; }
    const BoxButtonSet& Buttons() const { return m_set; }
    // The button marked as the default (pressed by Enter while the focus is
    // not on another button).
    QPushButton* DefaultButton() const { return cmdButton[m_set.defaultIndex]; }

    // The size, in twips, of a text drawn in the font: the widest line and
    // the number of lines (CR LF separated) times the line height.
    static QSizeF TextSizeTwips(const QFont& font, const QString& text);
    // The text with its CR LF (or LF) line breaks as the label shows them.
    static QString DisplayLines(const QString& text);

protected:
    BoxDialog(const char* name, double designClientWidth, double designClientHeight);

    // Places a control; twips in the box's client area.
    static void PlaceTwips(QWidget* w, double left, double top, double width, double height);

    template <typename Box, typename Make, typename Fill, typename Read>
    friend int32_t RunBox(bool&, QPointer<Box>&, QWidget*, const QString&, const QString&, Make, Fill, Read);

    // Step 3 of every call: the box's design outer size centred over the
    // owner (outer sizes, no rounding, not kept on the screen); without an
    // owner, over the screen.
    void PlaceOverOwner(QWidget* owner);
    // The least outer width (twips) for the set's buttons and for the whole
    // caption, which is set before the box is laid out.
    double MinimumWidth(int buttonCount) const;
    // Sizes the box to an outer size in twips; its corner stays where it is.
    void SetOuterSizeTwips(double width, double height);
    // Captions, positions and default of the set's buttons.
    void ApplyButtons(const BoxButtonSet& set, double buttonTop, double buttonHeight);

    // Shows the box top-most, disables every other loaded window (those
    // captioned exemptCaption excepted), focuses `focus`, waits for a button
    // and restores each window's enabled state.
    int32_t WaitForButton(const QString& exemptCaption, QWidget* focus);

    void SetResultFromCaption(const QString& caption);

    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    double m_designWidth;
    double m_designHeight;
    double m_outerWidth = 0;
    double m_outerHeight = 0;
    BoxButtonSet m_set;
};

// Sets the arrow pointer for the life of the object, then puts back the one
// before.
class ArrowPointer
{
public:
    ArrowPointer();
    ~ArrowPointer();
    ArrowPointer(const ArrowPointer&) = delete;
    ArrowPointer& operator=(const ArrowPointer&) = delete;
};

// After a box closes: an owner that is still shown comes to the top of its
// layer and is the active window again, as the window the user is back in.
// It is activated while the box is still up, so that the window manager
// never hands the activation to another window (the main window, whose
// activation closes the editors) when the box goes: it waits (up to the
// time below) until the window manager has made the owner active.
void ReturnToOwner(QWidget* owner);
constexpr int kOwnerActivationWaitMs = 1000;

// The caption of a box: the title, or the application title for "".
QString BoxTitle(const QString& title);

// One call of a box. Refused with 0 while `busy` is set. Otherwise: the
// arrow pointer, a fresh box from make() placed over the owner, fill(box)
// lays it out and returns the control that takes the focus, the caption,
// the wait (windows captioned exemptCaption stay enabled), read(box) while
// the box is still there, the owner raised and activated and the box
// unloaded.
template <typename Box, typename Make, typename Fill, typename Read>
int32_t RunBox(bool& busy, QPointer<Box>& current, QWidget* owner, const QString& title,
               const QString& exemptCaption, Make make, Fill fill, Read read)
{
    if (busy)
        return 0;
    busy = true;
    QPointer<QWidget> heldOwner(owner);
    int32_t code = 0;
    {
        ArrowPointer arrow;
        QPointer<Box> box = make();
        current = box;
        box->PlaceOverOwner(owner);
        box->setWindowTitle(BoxTitle(title));
        QWidget* focus = fill(*box);
        code = box->WaitForButton(exemptCaption, focus);
        if (!box.isNull())
            read(*box);
        busy = false;
        ReturnToOwner(heldOwner.data());
        if (!box.isNull())
            platform::UnloadFormNow(box.data());
    }
    return code;
}

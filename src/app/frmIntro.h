#pragma once
// The start page: create, open, read/diagnostics or exit. It stays top-most
// as the only visible window until a choice is made; leaving it any other
// way than by a choice that hands over to the main window ends the program.
#include <QFrame>
#include <QLabel>
#include <QWidget>

// True while the start page is up.
extern bool IntroShown;

class frmIntro : public QWidget
{
    Q_OBJECT
public:
    frmIntro();

    QFrame* Frame1 = nullptr;
    QLabel* CreateLabel = nullptr;
    QLabel* OpenLabel = nullptr;
    QLabel* DiagsLabel = nullptr;
    QLabel* ExitLabel = nullptr;

    // True from the load until a choice hands over to the main window.
    bool EndOnClose = true;

    void CreateLabel_Click();
    void OpenLabel_Click();
    void DiagsLabel_Click();
    void ExitLabel_Click();
    // The label under the mouse turns red; the frame or the page turns all
    // four black again.
    void Label_MouseMove(QLabel* label);
    void Form_MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QLabel* AddChoice(const char* name, const QString& text);
    // Unload: IntroShown cleared; the program ends while EndOnClose holds,
    // else the main window is shown.
    void Form_Unload();
    // A choice that hands over: the page unloads and the main window, now
    // shown, runs the command.
    template <typename Command> void HandOver(Command command);

    bool m_unloaded = false;
};

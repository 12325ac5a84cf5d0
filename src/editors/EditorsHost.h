#pragma once
// What the editor windows ask of the main window and of the program's input
// box, which live above them. The main window implements it and registers
// itself while it exists; with no host registered (the program closing) the
// calls are skipped and a choice counts as cancelled.
#include <QString>

class QWidget;

class EditorsHost
{
public:
    virtual ~EditorsHost() = default;
    virtual void UpdateTitleBar() = 0;
    // A full redraw of the canvas.
    virtual void RedrawSite() = 0;
    virtual void CalculateUsed(int node) = 0;
    virtual void CancelDrag() = 0;
    // The input box offering the ";"-separated items with entry preselected
    // (-1 none) and the message box's button set; returns the button code
    // (1 OK) and leaves the chosen 0-based entry (-1 none) in choice.
    virtual int ChooseFromList(QWidget* owner, const QString& prompt, int preselected, const QString& items,
                               int buttons, const QString& title, int& choice) = 0;
};

// The registered host, or null.
EditorsHost* Editors();
void SetEditorsHost(EditorsHost* host);

#pragma once
// What the editor windows ask of the main window and of the program's input
// box, which live above them. The main window fills this in when it is created
// and empties it when it goes; an entry left empty is skipped (a choice then
// counts as cancelled).
#include <QString>
#include <functional>

class QWidget;

struct EditorsHost
{
    std::function<void()> UpdateTitleBar;
    // A full redraw of the canvas.
    std::function<void()> RedrawSite;
    std::function<void(int node)> CalculateUsed;
    std::function<void()> CancelDrag;
    // The input box offering the ";"-separated items with entry preselected
    // (-1 none) and the message box's button set; returns the button code
    // (1 OK) and leaves the chosen 0-based entry (-1 none) in choice.
    std::function<int(QWidget* owner, const QString& prompt, int preselected, const QString& items, int buttons,
                      const QString& title, int& choice)>
        ChooseFromList;
};

EditorsHost& Editors();

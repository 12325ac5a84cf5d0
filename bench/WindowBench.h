#pragma once
// What the window figures share: the program's boxes answered by the bench
// (a box nobody expected fails the figure), windows shown and painted on the
// offscreen platform, and closed for good.
#include "Figure.h"

#include <QWidget>
#include <string>
#include <vector>

// While it lives, every message box of the program is answered "No" (or OK)
// and recorded instead of shown.
class AnsweredBoxes
{
public:
    AnsweredBoxes();
    ~AnsweredBoxes();
    AnsweredBoxes(const AnsweredBoxes&) = delete;
    AnsweredBoxes& operator=(const AnsweredBoxes&) = delete;
    // Throws when a box other than the expected ones was shown; forgets them.
    void Expect(const std::vector<std::string>& texts = {});

private:
    std::vector<std::string> shown_;
};

// Shows the window and runs the event loop until it is laid out and painted.
void ShowAndPaint(QWidget& window);

// Runs the deletes that closed windows left behind.
void DeleteClosedWindows();

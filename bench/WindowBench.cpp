#include "WindowBench.h"

#include "platform/ProgramMessage.h"

#include <QApplication>
#include <stdexcept>

AnsweredBoxes::AnsweredBoxes()
{
    const auto record = [this](QWidget*, const std::string& text, int32_t, const std::string&) {
        shown_.push_back(text);
        return 7; // No, where the box asks; OK otherwise
    };
    platform::SetProgramMessageHandler(record);
    platform::SetPlainMessageHandler(record);
}

AnsweredBoxes::~AnsweredBoxes()
{
    platform::SetProgramMessageHandler(nullptr);
    platform::SetPlainMessageHandler(nullptr);
}

void AnsweredBoxes::Expect(const std::vector<std::string>& texts)
{
    const std::vector<std::string> shown = std::move(shown_);
    shown_.clear();
    if (shown != texts)
        throw std::runtime_error("the window showed \"" + (shown.empty() ? std::string() : shown.front()) +
                                 "\" (" + std::to_string(shown.size()) + " boxes, " +
                                 std::to_string(texts.size()) + " expected)");
}

void ShowAndPaint(QWidget& window)
{
    window.show();
    QApplication::processEvents();
    window.repaint();
}

void DeleteClosedWindows()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

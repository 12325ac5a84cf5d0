#pragma once
// A modal window or box that no test answers would wait for a user who is
// not there until the test program's time-out. A test that answers windows
// names them here for as long as an object of its own (the answering timer,
// say) lives; the test entry fails the test at once on any other window the
// program waits on, and closes it.
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

namespace modalwatch {

using Answers = std::function<bool(const QWidget* window)>;

struct Answerer
{
    const QObject* owner;
    Answers answers;
};

inline std::vector<Answerer>& Answerers()
{
    static std::vector<Answerer> answerers;
    return answerers;
}

// The windows `answers` accepts count as answered while `owner` lives.
inline void AnswersWhile(const QObject* owner, Answers answers)
{
    Answerers().push_back({owner, std::move(answers)});
    QObject::connect(owner, &QObject::destroyed, [owner] {
        std::erase_if(Answerers(), [owner](const Answerer& a) { return a.owner == owner; });
    });
}

inline bool Answered(const QWidget* window)
{
    return std::any_of(Answerers().begin(), Answerers().end(),
                       [window](const Answerer& a) { return a.answers(window); });
}

// The program's own message and input boxes.
inline bool IsProgramBox(const QWidget* window)
{
    return window->inherits("BoxDialog");
}

} // namespace modalwatch

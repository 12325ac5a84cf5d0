#pragma once
// Win1252Validator: makes a QLineEdit refuse typed, pasted or dropped text that Windows-1252 cannot store,
// with the platform's beep.
#include <QPointer>
#include <QValidator>

class QLineEdit;

namespace platform {

// Refuses (Invalid) any text holding a character outside the code page of the
// program's files; otherwise gives the answer of the validator it wraps (the
// field's own rules), or Acceptable when it wraps none.
class Win1252Validator : public QValidator
{
    Q_OBJECT

public:
    explicit Win1252Validator(QObject* parent, QValidator* inner = nullptr);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    // True when the last text validated was refused for the code page; the
    // answer is given once.
    bool TakeCodePageRefusal();

private:
    QPointer<QValidator> inner_;
    mutable bool codePageRefused_ = false;
};

// Fits the field with a Win1252Validator around the validator it already has
// (once; a later call keeps the one in place). Call it again after the field
// is given a new validator of its own. Input the field refuses for the code
// page, typed or pasted, sounds the platform's beep; the field's own rules
// refuse silently.
void LimitToWin1252(QLineEdit* edit);

} // namespace platform

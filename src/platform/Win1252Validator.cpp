#include "platform/Win1252Validator.h"

#include "platform/Beep.h"
#include "platform/base/CodePage.h"

#include <QLineEdit>
#include <utility>

namespace platform {

Win1252Validator::Win1252Validator(QObject* parent, QValidator* inner) : QValidator(parent), inner_(inner) {}

QValidator::State Win1252Validator::validate(QString& input, int& pos) const
{
    // The field's own rules first: they may take characters out.
    const State state = inner_ ? inner_->validate(input, pos) : Acceptable;
    codePageRefused_ = state != Invalid && !IsWin1252Representable(input.toStdString());
    return codePageRefused_ ? Invalid : state;
}

void Win1252Validator::fixup(QString& input) const
{
    if (inner_)
        inner_->fixup(input);
}

bool Win1252Validator::TakeCodePageRefusal()
{
    return std::exchange(codePageRefused_, false);
}

void LimitToWin1252(QLineEdit* edit)
{
    const QValidator* current = edit->validator();
    if (qobject_cast<const Win1252Validator*>(current) != nullptr)
        return;
    auto* validator = new Win1252Validator(edit, const_cast<QValidator*>(current));
    edit->setValidator(validator);
    // A wrapper the field has since replaced stays quiet.
    QObject::connect(edit, &QLineEdit::inputRejected, validator, [edit, validator] {
        if (edit->validator() == validator && validator->TakeCodePageRefusal())
            Beep();
    });
}

} // namespace platform

#include "platform/Win1252Validator.h"

#include "platform/base/CodePage.h"

#include <QLineEdit>

namespace platform {

Win1252Validator::Win1252Validator(QObject* parent, QValidator* inner) : QValidator(parent), inner_(inner) {}

QValidator::State Win1252Validator::validate(QString& input, int& pos) const
{
    // The field's own rules first: they may take characters out.
    const State state = inner_ ? inner_->validate(input, pos) : Acceptable;
    if (state != Invalid && !IsWin1252Representable(input.toStdString()))
        return Invalid;
    return state;
}

void Win1252Validator::fixup(QString& input) const
{
    if (inner_)
        inner_->fixup(input);
}

void LimitToWin1252(QLineEdit* edit)
{
    const QValidator* current = edit->validator();
    if (qobject_cast<const Win1252Validator*>(current) != nullptr)
        return;
    edit->setValidator(new Win1252Validator(edit, const_cast<QValidator*>(current)));
}

} // namespace platform

#pragma once
// IdentValidator: what an ident field takes, typed or pasted: hexadecimal
// digits only, lower case turned upper; anything else is refused whole.
#include <QValidator>

namespace editors {

class IdentValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace editors

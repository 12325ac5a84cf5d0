#include "editors/IdentValidator.h"

#include "editors/core/NodeSettingsRules.h"

namespace editors {

QValidator::State IdentValidator::validate(QString& input, int&) const
{
    const std::optional<std::string> ident = IdentEntry(input.toStdString());
    if (!ident)
        return Invalid;
    input = QString::fromStdString(*ident);
    return Acceptable;
}

} // namespace editors

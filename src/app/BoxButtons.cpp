#include "app/BoxButtons.h"

#include "platform/base/MessageStyle.h"
#include "platform/base/Rounding.h"


namespace {

BoxButtonSet Set(std::array<QString, 3> captions, int defaultIndex)
{
    BoxButtonSet s;
    s.count = 0;
    for (const QString& c : captions)
        if (!c.isEmpty())
            ++s.count;
    s.captions = std::move(captions);
    s.defaultIndex = defaultIndex;
    return s;
}

QString StripAccessKeys(const QString& caption)
{
    QString out = caption;
    out.remove('&');
    return out;
}

} // namespace

BoxButtonSet MessageButtonSet(int32_t style)
{
    switch (style & MessageStyle::ButtonMask) {
    case MessageStyle::CancelOK:
        return Set({"&Cancel", "&OK", ""}, 1);
    case MessageStyle::AbortRetryIgnore:
        return Set({"&Abort", "&Retry", "&Ignore"}, 1);
    case MessageStyle::YesNoCancel:
        return Set({"&Yes", "&No", "&Cancel"}, 0);
    case MessageStyle::YesNo:
        return Set({"&Yes", "&No", ""}, 0);
    case MessageStyle::RetryCancel:
        return Set({"&Retry", "&Cancel", ""}, 0);
    case MessageStyle::ContinueAbort:
        return Set({"&Continue", "&Abort", ""}, 0);
    case MessageStyle::ProceedCancel:
        return Set({"&Proceed", "&Cancel", ""}, 0);
    default:
        return Set({"&OK", "", ""}, 0);
    }
}

BoxButtonSet ParameterButtonSet(int32_t buttons)
{
    const int32_t part = buttons & 7;
    if (part < 1 || part > 5)
        return Set({"OK", "", ""}, 0);
    BoxButtonSet s = MessageButtonSet(part);
    for (QString& c : s.captions)
        c = StripAccessKeys(c);
    return s;
}

int32_t ResultFromCaption(const QString& caption)
{
    static const std::array<std::pair<const char*, int32_t>, 9> table = {{
        {"&OK", MessageResult::OK},
        {"&Cancel", MessageResult::Cancel},
        {"&Abort", MessageResult::Abort},
        {"&Retry", MessageResult::Retry},
        {"&Ignore", MessageResult::Ignore},
        {"&Yes", MessageResult::Yes},
        {"&No", MessageResult::No},
        {"&Continue", MessageResult::Continue},
        {"&Proceed", MessageResult::Proceed},
    }};
    for (const auto& [text, code] : table) {
        const QString marked = QString::fromLatin1(text);
        if (caption == marked || caption == StripAccessKeys(marked))
            return code;
    }
    return MessageResult::Refused;
}

int32_t CancelLikeResult(const BoxButtonSet& set)
{
    for (int32_t wanted : {MessageResult::Cancel, MessageResult::No, MessageResult::Abort})
        for (const QString& c : set.captions)
            if (ResultFromCaption(c) == wanted)
                return wanted;
    return MessageResult::OK;
}

double ButtonCentre(int index, int count, double outerWidth)
{
    if (count <= 1)
        return outerWidth / 2;
    const double step = static_cast<double>(platform::RoundHalfEven(outerWidth / (count + 1)));
    return step * (index + 1);
}

double MinimumBoxWidth(int count)
{
    constexpr double kButtonWidth = 915;
    constexpr double kGap = 120;
    if (count <= 1)
        return kButtonWidth + 4 * kGap;
    return (count + 1) * (kButtonWidth + kGap);
}

#include "views/core/FeedbackMail.h"

#include "model/Convert.h"

namespace views {

namespace {

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string PercentEncoded(const std::string& text)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string encoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            encoded += "%0A";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (IsUnreserved(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

} // namespace

std::string FeedbackSubject(int major, int minor, int revision)
{
    std::string minorText = std::to_string(minor);
    model::PadWithLeadingZeros(minorText, 2);
    return "Feedback on Quorvel Config Tool Version " + std::to_string(major) + "." + minorText + "." +
           std::to_string(revision);
}

std::string FeedbackMailLink(const std::string& address, const std::string& subject, const std::string& body)
{
    std::string link = address;
    if (model::Upper(link.substr(0, 7)) != "MAILTO:")
        link = "mailto:" + link;
    if (!subject.empty())
        link += "?subject=" + PercentEncoded(subject);
    if (!body.empty())
        link += (subject.empty() ? "?body=" : "&body=") + PercentEncoded(body);
    return link;
}

} // namespace views

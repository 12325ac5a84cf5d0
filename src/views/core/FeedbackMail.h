#pragma once
// The feedback mail: a "mailto:" link to the support address with a subject
// that names the program's version and a body made of the user's text, for
// the desktop to hand to the user's mail program. The program sends nothing
// itself.
#include <string>

namespace views {

// The support address the feedback window shows and writes to.
inline constexpr const char* kSupportAddress = "support@quorvel.example";

// "Feedback on Quorvel Config Tool Version 2.05.7": the minor number with at
// least two digits.
std::string FeedbackSubject(int major, int minor, int revision);

// The link: "mailto:" put in front of an address that does not start with it
// (in any case), then "?subject=" and the subject when it is not empty, then
// "body=" and the body when it is not empty, after "&" or, without a subject,
// after "?". Subject and body are percent-encoded as UTF-8, so "&", "#", "%",
// "?" and blanks reach the mail program as typed; a line end (CR LF, CR or
// LF) becomes "%0A".
std::string FeedbackMailLink(const std::string& address, const std::string& subject, const std::string& body);

} // namespace views

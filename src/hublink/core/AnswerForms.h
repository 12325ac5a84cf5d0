#pragma once
// The whole form of each line the unit sends, beside its shape (the words it
// begins with or holds, which the reply dispatcher tests). The commonest
// fault of a serial line is one byte corrupted inside a line: a line with
// the shape of an answer but not its form was garbled on its way, and it is
// no answer. Trailing blanks never count against a form.
#include <cstdint>
#include <string_view>

namespace hublink::forms {

// Words of ASCII letters, digits and . : , = / - ( ), one blank apart.
bool IsPlainText(std::string_view line);

// "Unknown Command", alone or followed by a blank and plain text.
bool IsRefusal(std::string_view line);

// The command as the unit echoes it, alone or followed by a blank and plain
// text (a word of its own right after the command is another command).
bool IsEchoOf(std::string_view line, std::string_view command);

// "GET SWV" (its first word names the unit, which the dispatcher tests): a
// plain line whose first word is of capitals and digits; a version after
// " V" is digits and dots ("HUB V3.10", "RCC BUILD 7", "HUB V3.00.12 RADIO
// HUB").
bool IsVersionAnswer(std::string_view line);

// "IDENTREAD" and five hexadecimal characters.
bool IsIdentAnswer(std::string_view line);

// "QUERY LOOPCOUNT" and one digit; a count of 1 to 4 is one the program
// knows.
bool IsLoopCountAnswer(std::string_view line);
bool IsKnownLoopCount(std::string_view line);

// "LP" and words of letters and digits. The protocol it names, by the word
// after an "LP": 1 Apollo XP95 (XP95), 2 Ziton (ZP3 or ZP), 3 GE 2010
// (GE2010); 0 for none of them.
bool IsLoopProtocolAnswer(std::string_view line);
int32_t LoopProtocolNamed(std::string_view line);
bool IsKnownLoopProtocol(std::string_view line);

// An assignment result: "ASSIGN OK" or "ASSIGN FAIL", a blank and the
// unit's five hexadecimal characters, then nothing or a blank and plain text.
bool IsAssignmentResult(std::string_view line);

// The unit's plain talk of exchanges other than a download: a refusal, a
// status line, an assignment result, a radio scan's line.
bool IsOtherExchangesTalk(std::string_view line);

// A download: its header, its end, and its statements: node, device,
// relation and channel lines with fields of their kinds (an empty type word
// and an empty field before a device's slot as the hub may list them).
bool IsDownloadHeader(std::string_view line);
bool IsDownloadEnd(std::string_view line);
bool IsDownloadLine(std::string_view line);

} // namespace hublink::forms

#include "hublink/core/AnswerForms.h"

#include "hublink/core/LinkText.h"

#include <algorithm>
#include <vector>

namespace hublink::forms {

namespace {

using linktext::BeginsWith;

std::string_view Trimmed(std::string_view line)
{
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    return line;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || IsCapital(c) || (c >= 'a' && c <= 'z');
}

bool IsHex(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsPlainCharacter(char c)
{
    return IsLetterOrDigit(c) || std::string_view(".:,=/-()").find(c) != std::string_view::npos;
}

template <typename Test> bool All(std::string_view text, Test test)
{
    return std::all_of(text.begin(), text.end(), test);
}

// A field of `low` to `high` characters each passing the test.
template <typename Test> bool Field(std::string_view field, size_t low, size_t high, Test test)
{
    return field.size() >= low && field.size() <= high && All(field, test);
}

bool Number(std::string_view field, size_t digits = 3)
{
    return Field(field, 1, digits, IsDigit);
}

bool Ident(std::string_view field)
{
    return Field(field, 5, 5, IsHex);
}

// The fields between single blanks: two blanks give an empty field.
std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (size_t at = 0;;) {
        const size_t blank = line.find(' ', at);
        fields.push_back(
            line.substr(at, blank == std::string_view::npos ? std::string_view::npos : blank - at));
        if (blank == std::string_view::npos)
            return fields;
        at = blank + 1;
    }
}

// Words one blank apart, each passing the test.
template <typename Test> bool Words(std::string_view line, Test test)
{
    const std::vector<std::string_view> words = Fields(line);
    return std::all_of(words.begin(), words.end(),
                       [&test](std::string_view w) { return !w.empty() && All(w, test); });
}

// The line is `head`, alone or followed by a blank and plain text.
bool HeadThenPlain(std::string_view line, std::string_view head)
{
    line = Trimmed(line);
    if (!BeginsWith(line, head))
        return false;
    if (line.size() == head.size())
        return true;
    return line[head.size()] == ' ' && IsPlainText(line.substr(head.size() + 1));
}

bool NodeLine(const std::vector<std::string_view>& f)
{
    return (f.size() == 6 || (f.size() == 7 && Number(f[6]))) && Number(f[3]) && Number(f[4]) && Ident(f[5]);
}

bool DeviceLine(const std::vector<std::string_view>& f)
{
    const bool slot = f.size() == 6 || (f.size() == 7 && Number(f[6], 2)) ||
                      (f.size() == 8 && f[6].empty() && Number(f[7], 2));
    return slot && Field(f[2], 0, 32, IsCapital) && Number(f[3]) && Number(f[4]) && Ident(f[5]);
}

} // namespace

bool IsPlainText(std::string_view line)
{
    return Words(Trimmed(line), IsPlainCharacter);
}

bool IsRefusal(std::string_view line)
{
    return HeadThenPlain(line, "Unknown Command");
}

bool IsEchoOf(std::string_view line, std::string_view command)
{
    return !command.empty() && HeadThenPlain(line, command);
}

bool IsVersionAnswer(std::string_view line)
{
    line = Trimmed(line);
    if (!IsPlainText(line))
        return false;
    const std::string_view first = line.substr(0, line.find(' '));
    if (!All(first, [](char c) { return IsCapital(c) || IsDigit(c); }))
        return false;
    const size_t at = line.find(" V");
    if (at == std::string_view::npos)
        return true;
    const std::string_view version = line.substr(at + 2, line.find(' ', at + 1) - (at + 2));
    return !version.empty() && IsDigit(version.front()) &&
           All(version, [](char c) { return IsDigit(c) || c == '.'; });
}

bool IsIdentAnswer(std::string_view line)
{
    line = Trimmed(line);
    return BeginsWith(line, "IDENTREAD ") && Ident(line.substr(10));
}

bool IsLoopCountAnswer(std::string_view line)
{
    line = Trimmed(line);
    return BeginsWith(line, "QUERY LOOPCOUNT ") && Number(line.substr(16), 1);
}

bool IsKnownLoopCount(std::string_view line)
{
    line = Trimmed(line);
    return IsLoopCountAnswer(line) && line[16] >= '1' && line[16] <= '4';
}

bool IsLoopProtocolAnswer(std::string_view line)
{
    line = Trimmed(line);
    return BeginsWith(line, "LP ") && Words(line, IsLetterOrDigit);
}

int32_t LoopProtocolNamed(std::string_view line)
{
    const std::vector<std::string_view> w = Fields(Trimmed(line));
    const auto named = [&w](std::initializer_list<std::string_view> words) {
        for (size_t i = 0; i + 1 < w.size(); ++i)
            if (w[i] == "LP" && std::find(words.begin(), words.end(), w[i + 1]) != words.end())
                return true;
        return false;
    };
    if (named({"XP95"}))
        return 1;
    if (named({"ZP3", "ZP"}))
        return 2;
    if (named({"GE2010"}))
        return 3;
    return 0;
}

bool IsKnownLoopProtocol(std::string_view line)
{
    return IsLoopProtocolAnswer(line) && LoopProtocolNamed(line) != 0;
}

bool IsAssignmentResult(std::string_view line)
{
    line = Trimmed(line);
    for (const std::string_view head : {"ASSIGN OK ", "ASSIGN FAIL "}) {
        if (!BeginsWith(line, head) || !Ident(line.substr(head.size(), 5)))
            continue;
        const std::string_view rest = line.substr(head.size() + 5);
        return rest.empty() || (rest.front() == ' ' && IsPlainText(rest.substr(1)));
    }
    return false;
}

bool IsOtherExchangesTalk(std::string_view line)
{
    return IsRefusal(line) || (IsPlainText(line) && (BeginsWith(line, "DS ") || BeginsWith(line, "ASSIGN ") ||
                                                     BeginsWith(line, "SF ")));
}

bool IsDownloadHeader(std::string_view line)
{
    return Trimmed(line) == "EXPORT SYSCONFIG";
}

bool IsDownloadEnd(std::string_view line)
{
    return Trimmed(line) == "END OF DATA";
}

bool IsDownloadLine(std::string_view line)
{
    const std::vector<std::string_view> f = Fields(Trimmed(line));
    const std::string_view keyword = f.front();
    if (keyword == "POPULATE") {
        if (f.size() < 6 || f[1].size() != 5 || !BeginsWith(f[1], "LOOP") || !IsDigit(f[1][4]))
            return false;
        return f[2] == "NODE" ? NodeLine(f) : DeviceLine(f);
    }
    if (keyword == "RELATION")
        return f.size() == 5 && Field(f[1], 1, 32, IsCapital) && Number(f[2]) && Number(f[3]) && Number(f[4]);
    if (keyword == "YPROTRADIOCHANNELS")
        return f.size() == 3 && Number(f[1]) && Number(f[2]);
    if (keyword == "XPROTRADIOCHANNELS")
        return (f.size() == 3 || (f.size() == 4 && Number(f[3]))) && Number(f[1]) && Number(f[2]);
    return false;
}

} // namespace hublink::forms

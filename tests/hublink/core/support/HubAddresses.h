#pragma once
// The loop addresses a hub answers, read from the statements it holds as
// "GET SYSCONFIG" lists them: each node line's and device line's address,
// and a combination head's next address too. The programming tests and the
// comparison fuzzer check with it that a hub is never left with one address
// answered by two units.
#include "model/DeviceTypes.h"
#include "support/SimulatedUnit.h"

#include <charconv>
#include <map>
#include <string>
#include <vector>

// The statements answering each loop address (loop, address).
inline std::map<std::pair<int, int>, std::vector<std::string>>
AnsweredAddresses(const std::vector<std::string>& statements)
{
    std::map<std::pair<int, int>, std::vector<std::string>> answered;
    const auto number = [](const std::string& text) {
        int value = -1;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() ? value : -1;
    };
    for (const std::string& line : statements) {
        const std::vector<std::string> w = UnitWords(line);
        if (w.size() < 6 || w[0] != "POPULATE" || w[1].rfind("LOOP", 0) != 0)
            continue;
        const int loop = number(w[1].substr(4));
        const int address = number(w[3]);
        if (loop < 1 || address < 1)
            continue;
        answered[{loop, address}].push_back(line);
        if (w[2] != "NODE" && model::IsComboHeadType(model::DeviceTypeFromName(w[2])))
            answered[{loop, address + 1}].push_back(line);
    }
    return answered;
}

// One line per loop address that more than one statement answers, except
// the addresses of `excused` ("L1/50: <statement> | <statement>").
inline std::vector<std::string> AddressesAnsweredTwice(const std::vector<std::string>& statements,
                                                       const std::vector<std::string>& excused = {})
{
    const auto allowed = AnsweredAddresses(excused);
    std::vector<std::string> twice;
    for (const auto& [place, lines] : AnsweredAddresses(statements)) {
        const auto also = allowed.find(place);
        if (lines.size() < 2 || (also != allowed.end() && also->second.size() >= lines.size()))
            continue;
        std::string text = "L" + std::to_string(place.first) + "/" + std::to_string(place.second) + ":";
        for (size_t i = 0; i < lines.size(); ++i)
            text += (i == 0 ? " " : " | ") + lines[i];
        twice.push_back(text);
    }
    return twice;
}

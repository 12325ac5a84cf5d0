// The downloaded-configuration parser on arbitrary lines: each line of the
// input (a line feed ends it) is one collected reply line. It parses once as
// a read does and once as programming does, for each kind of connected unit.
#include "hublink/core/HubConfigParser.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"

#include <string>
#include <vector>

using namespace hublink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    for (const HubParseOptions options : {HubParseOptions{0, false}, HubParseOptions{5, true},
                                           HubParseOptions{-1, false}, HubParseOptions{-1, true}}) {
        const int16_t count = ParseHubConfiguration(lines, model::HubNodes, options);
        if (count != model::MessageCount() || static_cast<size_t>(count) > lines.size())
            __builtin_trap();
    }
    return 0;
}

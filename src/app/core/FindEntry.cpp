#include "app/core/FindEntry.h"

#include "model/Convert.h"
#include "model/DeviceTypes.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <cctype>

namespace app {
namespace {

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Skips non-digits until a digit, then collects digits up to the first
// non-digit; pos ends on the character that stopped the number. Returns -1
// when no digit was seen. Numbers are capped so that long runs cannot overflow.
int NextNumber(const std::string& text, std::size_t& pos)
{
    int value = -1;
    for (; pos < text.size(); ++pos) {
        if (IsDigit(text[pos])) {
            const int digit = text[pos] - '0';
            value = value < 0 ? digit : (value > 100000 ? value : value * 10 + digit);
        } else if (value >= 0) {
            break;
        }
    }
    return value;
}

std::string Describe(int node, int slot)
{
    if (slot != 0) {
        return model::DeviceTypeName(model::Nodes[static_cast<std::size_t>(node)].DeviceType(slot)) +
               " in slot " + std::to_string(slot) + " on RCC " + std::to_string(node);
    }
    return node == 0 ? "the Radio Hub" : "RCC " + std::to_string(node);
}

} // namespace

bool IsLoopAddressEntry(const std::string& text)
{
    return text.find_first_of(":. /L") != std::string::npos;
}

void ReadLoopAddress(const std::string& text, int& loop, int& address)
{
    loop = -1;
    address = 0;
    const std::size_t l = text.find('L');
    std::size_t pos = l == std::string::npos ? 0 : l + 1;
    // Positions counted from 1: nothing is read unless the start lies before
    // the last character.
    if (pos + 1 >= text.size()) {
        return;
    }
    const int first = NextNumber(text, pos);
    loop = first < 0 ? 0 : (first <= 4 ? first : -1);
    const int second = NextNumber(text, pos);
    address = second < 0 ? 0 : second;
}

FindResult FindDevice(const std::string& entered)
{
    FindResult result;
    std::string text = entered;
    int owner = -1;
    std::string lead;
    if (!IsLoopAddressEntry(text)) {
        if (text.size() < 5) {
            model::PadWithLeadingZeros(text, 5);
        }
        owner = model::FindNodeByIdent(text);
        if (owner >= 0) {
            lead = "Ident " + text + " is used by ";
        }
    }
    if (owner < 0) {
        int loop = -1;
        int address = 0;
        ReadLoopAddress(text, loop, address);
        // A loop that could not be read finds nothing rather than going on
        // with whatever search ran before.
        if (loop >= 0) {
            owner = model::FindByLoopAddress(loop, address);
        }
        if (owner >= 0) {
            lead = "Loop " + std::to_string(loop) + " Address " + std::to_string(address) + " is used by ";
        }
    }
    if (owner < 0) {
        if (!entered.empty()) {
            result.message = "No Match Found for [" + entered + "]";
        }
        return result;
    }
    result.found = true;
    result.node = owner / 100;
    result.slot = owner % 100;
    result.message = lead + Describe(result.node, result.slot) + "\r\n Go to Selected Device ?";
    return result;
}

} // namespace app

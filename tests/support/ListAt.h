#pragma once
// Reading an element of a list that the program under test filled (the boxes
// it showed, the commands it sent, the lines it built) without trusting the
// list's length: an element that is not there fails the test where it is
// read, with the list's length, and a default element stands in for it, so
// the test goes on to say what else differs instead of crashing the test
// program.
#include <cstddef>
#include <gtest/gtest.h>
#include <source_location>
#include <type_traits>

namespace testsupport {

template <typename List>
auto At(const List& list, std::size_t index, std::source_location where = std::source_location::current())
    -> std::remove_cvref_t<decltype(list[0])>
{
    if (index < static_cast<std::size_t>(list.size()))
        return list[index];
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "no element " << index << " in a list of " << list.size();
    return {};
}

template <typename List>
auto Last(const List& list, std::source_location where = std::source_location::current())
{
    return At(list, list.empty() ? 0 : static_cast<std::size_t>(list.size()) - 1, where);
}

} // namespace testsupport

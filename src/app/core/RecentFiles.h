#pragma once
// The recent-file list: ten entries, entry 1 the most recent, an empty text
// for an empty entry (index 0 of the array is not used).
#include <array>
#include <string>

namespace app {

// Puts path at entry 1. A path already in the list moves up from its place,
// the entries above it moving down one; a new path pushes every entry down
// and the tenth falls off. Paths are compared exactly, byte for byte; any
// name is kept (settings.ini keeps the bytes of one it cannot hold as text).
// With a folder, an entry kept relative (as earlier versions stored the name
// typed) is the path when, read against that folder, it names the path: the
// path takes its place.
void AddRecentFileEntry(std::array<std::string, 11>& entries, const std::string& path,
                        const std::string& folder = std::string());

} // namespace app

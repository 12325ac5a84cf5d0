#pragma once
// The version history file History.qvh in the program's folder: free text in
// which lines starting with "/" are internal notes, hidden in the normal view
// and shown, with that "/" turned into a blank, in the full view.
#include <cstddef>
#include <string>
#include <vector>

namespace views {

inline constexpr const char* kHistoryFileName = "History.qvh";

// The text shown when the file is missing; its first 19 characters ("Unable
// to find file") are the part shown in red.
std::string MissingHistoryText(const std::string& path);
inline constexpr std::size_t kMissingHistoryLead = 19;

// The lines of the file as the history window shows them. The file's bytes
// are Windows-1252 text; its lines end with CR LF, LF or CR. The normal view
// leaves out the notes; the full view shows every line.
std::vector<std::string> HistoryLines(const std::string& fileBytes, bool full);

} // namespace views

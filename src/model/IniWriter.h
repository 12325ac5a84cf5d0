#pragma once
// The text of an INI file as the program writes it, and a writer of a file
// written afresh in order: a section line, then its key lines, and so on.
// Names and values are kept in the Windows-1252 code page as they are added;
// a CR or LF inside one becomes a blank, so that the file reads back line for
// line. A character the code page cannot store is never turned into "?":
// the text is refused instead.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace model {

// Appends "[name]" and CR LF. False when a character has no byte in the code
// page.
bool AppendIniSection(std::string& bytes, std::string_view name);
// Appends "key=value" and CR LF, as AppendIniSection.
bool AppendIniKey(std::string& bytes, std::string_view key, std::string_view value);

// "Cannot write "<file>": " and why: the error of a failed save.
std::string IniSaveError(const std::string& fileName, std::string_view why);
// Why a save failed: a name or value cannot be stored, or the file would be
// larger than a model can read back.
inline constexpr std::string_view kNotInCodePage =
    "a name or value holds a character that the file's code page cannot store.";
inline constexpr std::string_view kTooManyEntries = "it would hold more than 32767 sections or keys.";

// A file written afresh: what clsIniFile writes for a new file whose
// sections and keys are stored once each, in the order written, without
// holding a model of it. A key is written under the last section begun; one
// before any section is not written, as clsIniFile does not store it.
class IniWriter
{
public:
    IniWriter();
    ~IniWriter();
    IniWriter(const IniWriter&) = delete;
    IniWriter& operator=(const IniWriter&) = delete;

    void Section(std::string_view name);
    void String(std::string_view key, std::string_view value);
    void Long(std::string_view key, int32_t value);
    void Integer(std::string_view key, int16_t value) { Long(key, value); }
    void Boolean(std::string_view key, bool value) { String(key, value ? "1" : "0"); }

    // Section and key lines so far: the number of lines Save writes.
    int LineCount() const { return lines_; }

    // Replaces the file with the lines, through the safe replace of every
    // save, telling progress the number of lines written so far (as
    // clsIniFile does). False, with the reason in error, when the file could
    // not be written, a text cannot be stored, or the lines are more than a
    // model holds.
    bool Save(const std::string& fileName, const std::function<void(int line)>& progress, std::string* error);

private:
    // Room for n more bytes at the end of the text.
    char* Room(std::size_t n);
    void KeyLine(std::string_view key, std::string_view value);

    std::string bytes_; // the text is its first used_ bytes
    std::size_t used_ = 0;
    int lines_ = 0;
    std::size_t sections_ = 0;
    bool exact_ = true;
};

} // namespace model

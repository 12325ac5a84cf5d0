#include "model/IniWriter.h"

#include "model/IniBytes.h"
#include "model/clsIniFile.h"
#include "platform/base/CodePage.h"
#include "platform/base/FileReplace.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace model {
namespace {

// Appends one name or value in the code page; a CR or LF in it becomes a
// blank, as it would split the line on the next read.
bool AppendField(std::string& bytes, std::string_view text)
{
    if (ini_bytes::Plain(text)) {
        bytes.append(text);
        return true;
    }
    const std::size_t start = bytes.size();
    const bool exact = platform::AppendAsWin1252(bytes, text);
    if (ini_bytes::HasAny(text, false))
        std::replace_if(
            bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end(),
            [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return exact;
}

// Per byte: 1 for a CR, an LF or a byte above 0x7F, which a line does not
// hold as it stands.
constexpr auto kNotPlain = [] {
    std::array<uint8_t, 256> table{};
    for (std::size_t b = 0x80; b < 256; ++b)
        table[b] = 1;
    table['\r'] = 1;
    table['\n'] = 1;
    return table;
}();

// Copies text to out (names and values are short: a byte at a time, checked
// as it goes); false when a byte is not plain.
bool CopyPlain(char*& out, std::string_view text)
{
    uint8_t notPlain = 0;
    for (const char c : text) {
        *out++ = c;
        notPlain |= kNotPlain[static_cast<unsigned char>(c)];
    }
    return notPlain == 0;
}

// The text buffer of the last writer released on this thread, for the next:
// a site is saved through a writer that lives for a moment, and memory
// already at hand is far cheaper than fresh pages. A buffer larger than
// kKeptBytes is let go.
constexpr std::size_t kKeptBytes = 4 << 20;

std::string& SpareBytes()
{
    thread_local std::string spare;
    return spare;
}

} // namespace

IniWriter::IniWriter()
{
    bytes_.swap(SpareBytes());
}

IniWriter::~IniWriter()
{
    if (bytes_.capacity() <= kKeptBytes && bytes_.capacity() > SpareBytes().capacity())
        bytes_.swap(SpareBytes());
}

std::string IniSaveError(const std::string& fileName, std::string_view why)
{
    return "Cannot write \"" + fileName + "\": " + std::string(why);
}

bool AppendIniSection(std::string& bytes, std::string_view name)
{
    bytes += '[';
    const bool exact = AppendField(bytes, name);
    bytes.append("]\r\n", 3);
    return exact;
}

bool AppendIniKey(std::string& bytes, std::string_view key, std::string_view value)
{
    if (ini_bytes::Plain(key) && ini_bytes::Plain(value)) {
        const std::size_t at = bytes.size();
        bytes.resize(at + key.size() + value.size() + 3);
        char* out = bytes.data() + at;
        std::memcpy(out, key.data(), key.size());
        out += key.size();
        *out++ = '=';
        std::memcpy(out, value.data(), value.size());
        out += value.size();
        out[0] = '\r';
        out[1] = '\n';
        return true;
    }
    bool exact = AppendField(bytes, key);
    bytes += '=';
    exact = AppendField(bytes, value) && exact;
    bytes.append("\r\n", 2);
    return exact;
}

char* IniWriter::Room(std::size_t n)
{
    if (used_ + n > bytes_.size())
        bytes_.resize(std::max(2 * bytes_.size(), used_ + n + 65536));
    return bytes_.data() + used_;
}

void IniWriter::Section(std::string_view name)
{
    std::string line;
    exact_ = AppendIniSection(line, name) && exact_;
    std::memcpy(Room(line.size()), line.data(), line.size());
    used_ += line.size();
    ++sections_;
    ++lines_;
}

void IniWriter::KeyLine(std::string_view key, std::string_view value)
{
    char* const start = Room(key.size() + value.size() + 3);
    char* out = start;
    bool plain = CopyPlain(out, key);
    *out++ = '=';
    plain = CopyPlain(out, value) && plain;
    if (!plain) {
        std::string line;
        exact_ = AppendIniKey(line, key, value) && exact_;
        std::memcpy(Room(line.size()), line.data(), line.size());
        used_ += line.size();
        return;
    }
    *out++ = '\r';
    *out++ = '\n';
    used_ += static_cast<std::size_t>(out - start);
}

void IniWriter::String(std::string_view key, std::string_view value)
{
    if (sections_ == 0)
        return;
    KeyLine(key, value);
    ++lines_;
}

void IniWriter::Long(std::string_view key, int32_t value)
{
    char digits[16];
    String(key, std::string_view(digits, static_cast<std::size_t>(
                                             std::to_chars(digits, digits + sizeof digits, value).ptr - digits)));
}

bool IniWriter::Save(const std::string& fileName, const std::function<void(int line)>& progress, std::string* error)
{
    const auto fail = [&](std::string_view why) {
        if (error != nullptr)
            *error = IniSaveError(fileName, why);
        return false;
    };
    const std::size_t keys = static_cast<std::size_t>(lines_) - sections_;
    if (keys > clsIniFile::kMaxEntries || sections_ > clsIniFile::kMaxEntries)
        return fail(kTooManyEntries);
    if (progress)
        for (int line = 1; line <= lines_; ++line)
            progress(line);
    if (!exact_)
        return fail(kNotInCodePage);
    return platform::ReplaceWholeFile(fileName, std::string_view(bytes_.data(), used_), error);
}

} // namespace model

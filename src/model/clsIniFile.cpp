#include "model/clsIniFile.h"

#include "platform/base/CodePage.h"
#include "platform/base/FileReplace.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

namespace model {
namespace {

std::size_t HashText(std::string_view text)
{
    return std::hash<std::string_view>{}(text);
}

std::size_t SlotHash(std::size_t sectionHash, std::string_view key)
{
    uint64_t mixed = (sectionHash * 0x9E3779B97F4A7C15ULL) ^ HashText(key);
    mixed = (mixed ^ (mixed >> 33)) * 0xFF51AFD7ED558CCDULL; // spreads into the low bits used
    return static_cast<std::size_t>(mixed ^ (mixed >> 33));
}

clsIniFile::BadLineQuestion g_badLineQuestion;
clsIniFile::LoadRefusal g_loadRefusal;

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Decimal text to a whole number: blanks around it, an optional sign, an
// optional fraction that rounds to the nearest whole number (a half to the
// even one). False for anything else or a number outside [lo, hi].
bool ParseWhole(const std::string& raw, int64_t lo, int64_t hi, int64_t& out)
{
    const std::string text = Trimmed(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::string intDigits = text.substr(intStart, i - intStart);
    std::string fracDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        fracDigits = text.substr(fracStart, i - fracStart);
    }
    if (i != text.size() || (intDigits.empty() && fracDigits.empty()))
        return false;
    const std::size_t significant = intDigits.find_first_not_of('0');
    if (significant != std::string::npos && intDigits.size() - significant > 15)
        return false;
    int64_t value = 0;
    for (char c : intDigits)
        value = value * 10 + (c - '0');
    if (!fracDigits.empty()) {
        const bool restZero = fracDigits.find_first_not_of('0', 1) == std::string::npos;
        const char first = fracDigits[0];
        if (first > '5' || (first == '5' && (!restZero || value % 2 == 1)))
            ++value;
    }
    if (negative)
        value = -value;
    if (value < lo || value > hi)
        return false;
    out = value;
    return true;
}

template <typename T> bool ParseReal(const std::string& raw, T& out)
{
    const std::string text = Trimmed(raw);
    const char* begin = text.data();
    if (!text.empty() && text[0] == '+')
        ++begin;
    const char* end = text.data() + text.size();
    T value{};
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end)
        return false;
    out = value;
    return true;
}

template <typename T> std::string RealText(T value)
{
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, ptr) : std::string("0");
}

} // namespace

std::string clsIniFile::BadLineText(const std::string& fileName, int lineNumber)
{
    return "Error Reading Configuration File\r\n" + fileName + "\r\nIn Line " + std::to_string(lineNumber) +
           " Continue ?";
}

void clsIniFile::SetBadLineQuestion(BadLineQuestion ask)
{
    g_badLineQuestion = std::move(ask);
}

std::string clsIniFile::TooManyEntriesText(const std::string& fileName)
{
    return "Error Reading Configuration File\r\n" + fileName + "\r\nIt holds more than " +
           std::to_string(clsIniFile::kMaxEntries) + " sections or keys and cannot be read.";
}

void clsIniFile::SetLoadRefusal(LoadRefusal report)
{
    g_loadRefusal = std::move(report);
}

clsIniFile::~clsIniFile()
{
    if (!clean_ && !saveFailed_)
        SaveFile();
}

std::string clsIniFile::GetSectionNames()
{
    if (!fileNamed_)
        return {};
    LoadFile();
    std::string names;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0)
            names += ',';
        names += sections_[i];
    }
    return names;
}

int16_t clsIniFile::GetWriteCount() const
{
    return static_cast<int16_t>(std::min<std::size_t>(keys_.size() + sections_.size(), 32767));
}

void clsIniFile::Progress(int maximum, ProgressReport report)
{
    progressMaximum_ = maximum;
    progress_ = std::move(report);
    progressBound_ = true;
}

void clsIniFile::sFileName(const std::string& name)
{
    fileName_ = name;
    fileNamed_ = !name.empty();
    loaded_ = false;
    clean_ = true;
    LoadFile();
}

void clsIniFile::NewFile(const std::string& name)
{
    fileName_ = name;
    fileNamed_ = !name.empty();
    loaded_ = false;
    clean_ = true;
    ClearModel();
}

void clsIniFile::ClearModel()
{
    sections_.clear();
    keys_.clear();
    values_.clear();
    keySection_.clear();
    sectionIndex_.clear();
    keySlots_.clear();
    sectionHash_.clear();
    currentSection_ = kNoSection;
}

void clsIniFile::sSectionName(const std::string& name)
{
    sectionName_ = name;
    sectionNamed_ = !name.empty();
    currentSectionHash_ = HashText(name);
    const auto found = sectionIndex_.find(name);
    currentSection_ = found == sectionIndex_.end() ? kNoSection : found->second;
}

void clsIniFile::AddSection(std::string name)
{
    sectionHash_.push_back(HashText(name));
    sections_.push_back(std::move(name));
    sectionIndex_.try_emplace(sections_.back(), sections_.size() - 1);
    if (currentSection_ == kNoSection && sections_.back() == sectionName_)
        currentSection_ = sections_.size() - 1;
}

std::size_t clsIniFile::Probe(std::size_t hash, const std::string& key, const std::string& section) const
{
    const std::size_t mask = keySlots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const uint32_t held = keySlots_[slot];
        if (held == 0)
            return slot;
        const std::size_t k = held - 1;
        if (keys_[k] == key && sections_[static_cast<std::size_t>(keySection_[k])] == section)
            return slot;
    }
}

void clsIniFile::IndexKey(std::size_t position, std::size_t hash)
{
    // Kept at most half full, so that probes stay short.
    if (keySlots_.size() < 2 * (position + 1)) {
        std::size_t size = 64;
        while (size < 4 * (position + 1))
            size *= 2;
        keySlots_.assign(size, 0);
        for (std::size_t k = 0; k < position; ++k)
            IndexKey(k, SlotHash(sectionHash_[static_cast<std::size_t>(keySection_[k])], keys_[k]));
    }
    const std::size_t slot =
        Probe(hash, keys_[position], sections_[static_cast<std::size_t>(keySection_[position])]);
    if (keySlots_[slot] == 0) // else an earlier key of the same name answers
        keySlots_[slot] = static_cast<uint32_t>(position + 1);
}

void clsIniFile::LoadFile()
{
    // Values stored since the file name was set are not replaced by the file.
    if (!fileNamed_ || loaded_ || !clean_)
        return;
    ClearModel();

    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName_, ec))
        return;
    std::string bytes;
    if (!platform::ReadWholeFile(fileName_, bytes))
        return;
    // Line ends, brackets and "=" are the same bytes in the code page as in
    // UTF-8: lines are split on the bytes read and only names and values are
    // converted.
    const std::string_view text = bytes;

    // A file larger than a model holds is refused whole: read in part, its
    // keys would land under the wrong sections and the next save would write
    // a truncated file.
    const auto refuse = [this] {
        ClearModel();
        if (g_loadRefusal)
            g_loadRefusal(TooManyEntriesText(fileName_));
    };
    const auto lineCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    const std::size_t keyGuess = std::min(lineCount + 1, clsIniFile::kMaxEntries);
    keys_.reserve(keyGuess);
    values_.reserve(keyGuess);
    keySection_.reserve(keyGuess);
    keySlots_.assign(64, 0);
    while (keySlots_.size() < 2 * keyGuess)
        keySlots_.resize(keySlots_.size() * 2);
    int lineNumber = 0;
    std::size_t pos = 0;
    // The next CR and the next LF, each found once.
    std::size_t nextCr = std::min(text.find('\r'), text.size());
    std::size_t nextLf = std::min(text.find('\n'), text.size());
    while (pos < text.size()) {
        if (nextCr < pos)
            nextCr = std::min(text.find('\r', pos), text.size());
        if (nextLf < pos)
            nextLf = std::min(text.find('\n', pos), text.size());
        const std::size_t end = std::min(nextCr, nextLf);
        std::string_view line;
        if (end == text.size()) {
            line = text.substr(pos);
            pos = text.size();
        } else {
            line = text.substr(pos, end - pos);
            pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        }
        ++lineNumber;

        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            if (sections_.size() >= clsIniFile::kMaxEntries)
                return refuse();
            AddSection(platform::Win1252ToUtf8(line.substr(1, line.size() - 2)));
            continue;
        }
        if (line.empty() || sections_.empty())
            continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            const BadLineAnswer answer =
                g_badLineQuestion ? g_badLineQuestion(fileName_, lineNumber) : BadLineAnswer::Ok;
            if (answer == BadLineAnswer::Cancel)
                return; // what was read stays, for the setters
            continue;
        }
        if (keys_.size() >= clsIniFile::kMaxEntries)
            return refuse();
        keys_.push_back(platform::Win1252ToUtf8(line.substr(0, eq)));
        values_.push_back(platform::Win1252ToUtf8(line.substr(eq + 1)));
        keySection_.push_back(static_cast<int16_t>(sections_.size() - 1));
        IndexKey(keys_.size() - 1, SlotHash(sectionHash_.back(), keys_.back()));
    }
    loaded_ = true;
}

int clsIniFile::FindKey(const std::string& key) const
{
    if (keySlots_.empty())
        return -1;
    return static_cast<int>(keySlots_[Probe(SlotHash(currentSectionHash_, key), key, sectionName_)]) - 1;
}

std::string clsIniFile::GetValue(const std::string& key) const
{
    const int i = FindKey(key);
    return i < 0 ? std::string() : values_[static_cast<std::size_t>(i)];
}

bool clsIniFile::SetValue(const std::string& key, const std::string& value)
{
    if (!fileNamed_ || !sectionNamed_)
        return false;
    const std::size_t hash = SlotHash(currentSectionHash_, key);
    const uint32_t held = keySlots_.empty() ? 0 : keySlots_[Probe(hash, key, sectionName_)];
    if (held == 0) {
        const bool newSection = currentSection_ == kNoSection;
        if (keys_.size() >= clsIniFile::kMaxEntries || (newSection && sections_.size() >= clsIniFile::kMaxEntries)) {
            storeRefused_ = true;
            return false;
        }
        if (newSection)
            AddSection(sectionName_);
        keys_.push_back(key);
        values_.push_back(value);
        keySection_.push_back(static_cast<int16_t>(currentSection_));
        IndexKey(keys_.size() - 1, hash);
    } else {
        values_[held - 1] = value;
    }
    clean_ = false;
    return true;
}

bool clsIniFile::SetString(const std::string& key, const std::string& value)
{
    return SetValue(key, value);
}

bool clsIniFile::SetLong(const std::string& key, int32_t value)
{
    return SetValue(key, std::to_string(value));
}

bool clsIniFile::SetSingle(const std::string& key, float value)
{
    return SetValue(key, RealText(value));
}

bool clsIniFile::SetDouble(const std::string& key, double value)
{
    return SetValue(key, RealText(value));
}

bool clsIniFile::SetInteger(const std::string& key, int16_t value)
{
    return SetValue(key, std::to_string(value));
}

bool clsIniFile::SetBoolean(const std::string& key, bool value)
{
    return SetValue(key, value ? "1" : "0");
}

std::string clsIniFile::GetString(const std::string& key, const std::string& defaultValue) const
{
    if (!fileNamed_ || !sectionNamed_ || !loaded_)
        return defaultValue;
    std::string value = GetValue(key);
    return value.empty() ? defaultValue : value;
}

int32_t clsIniFile::GetLong(const std::string& key, int32_t defaultValue) const
{
    int64_t value = 0;
    if (!ParseWhole(GetString(key, ""), std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max(), value))
        return defaultValue;
    return static_cast<int32_t>(value);
}

int16_t clsIniFile::GetInteger(const std::string& key, int16_t defaultValue) const
{
    int64_t value = 0;
    if (!ParseWhole(GetString(key, ""), std::numeric_limits<int16_t>::min(),
                    std::numeric_limits<int16_t>::max(), value))
        return defaultValue;
    return static_cast<int16_t>(value);
}

float clsIniFile::GetSingle(const std::string& key, float defaultValue) const
{
    float value = defaultValue;
    return ParseReal(GetString(key, ""), value) ? value : defaultValue;
}

double clsIniFile::GetDouble(const std::string& key, double defaultValue) const
{
    double value = defaultValue;
    return ParseReal(GetString(key, ""), value) ? value : defaultValue;
}

bool clsIniFile::GetBoolean(const std::string& key, bool defaultValue) const
{
    const std::string value = GetString(key, "");
    if (value.empty())
        return defaultValue;
    if (value[0] == '1')
        return true;
    if (value[0] == '0')
        return false;
    std::string lower = value;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    return defaultValue;
}

bool clsIniFile::SaveFile(std::string* error)
{
    if (!fileNamed_)
        return true;
    const auto fail = [&](const std::string& why) {
        saveFailed_ = true;
        if (error != nullptr)
            *error = "Cannot write \"" + fileName_ + "\": " + why;
        return false;
    };
    if (storeRefused_)
        return fail("it would hold more than " + std::to_string(clsIniFile::kMaxEntries) + " sections or keys.");

    // The keys of each section entry in key-list order, found in one pass.
    std::vector<std::size_t> start(sections_.size() + 1, 0);
    std::size_t size = 0;
    for (std::size_t k = 0; k < keys_.size(); ++k) {
        ++start[static_cast<std::size_t>(keySection_[k]) + 1];
        size += keys_[k].size() + values_[k].size() + 3;
    }
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        start[s + 1] += start[s];
        size += sections_[s].size() + 4;
    }
    std::vector<std::size_t> order(keys_.size());
    {
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t k = 0; k < keys_.size(); ++k)
            order[next[static_cast<std::size_t>(keySection_[k])]++] = k;
    }

    std::string bytes;
    bytes.reserve(size);
    bool exact = true;
    int lineCount = 0;
    const auto line = [&](std::string_view first, char middle, std::string_view second,
                          std::string_view last) {
        const std::size_t lineStart = bytes.size();
        exact = platform::AppendAsWin1252(bytes, first) && exact;
        bytes += middle;
        exact = platform::AppendAsWin1252(bytes, second) && exact;
        bytes += last;
        // A CR or LF would split the line on the next read.
        std::replace_if(
            bytes.begin() + static_cast<std::ptrdiff_t>(lineStart), bytes.end(),
            [](char c) { return c == '\r' || c == '\n'; }, ' ');
        bytes += "\r\n";
        ++lineCount;
        if (progressBound_ && progress_ && progressMaximum_ >= lineCount)
            progress_(lineCount);
    };
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        line("", '[', sections_[s], "]");
        for (std::size_t o = start[s]; o < start[s + 1]; ++o)
            line(keys_[order[o]], '=', values_[order[o]], "");
    }
    if (!exact)
        return fail("a name or value holds a character that the file's code page cannot store.");
    if (!platform::ReplaceWholeFile(fileName_, bytes, error)) {
        saveFailed_ = true;
        return false;
    }
    clean_ = true;
    saveFailed_ = false;
    return true;
}

} // namespace model

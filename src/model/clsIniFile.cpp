#include "model/clsIniFile.h"

#include "model/IniBytes.h"
#include "model/IniWriter.h"

#include "platform/base/CodePage.h"
#include "platform/base/FileReplace.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

namespace model {
namespace {

using ini_bytes::BytesEqual;
using ini_bytes::HasAny;
using ini_bytes::Plain;

// Names and keys are short: a word-at-a-time multiply hash is enough, and
// far cheaper than a general one.
std::size_t HashText(std::string_view text)
{
    const char* const p = text.data();
    const std::size_t n = text.size();
    uint64_t hash = 0x9E3779B97F4A7C15ULL ^ n;
    uint64_t word = 0;
    std::size_t i = 0;
    for (; i + 8 < n; i += 8) {
        std::memcpy(&word, p + i, 8);
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
        hash ^= hash >> 32;
    }
    // The last one to eight bytes: read whole, overlapping what came before.
    if (n >= 8) {
        std::memcpy(&word, p + n - 8, 8);
    } else if (n >= 4) {
        uint32_t head = 0;
        uint32_t tail = 0;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + n - 4, 4);
        word = (static_cast<uint64_t>(head) << 32) | tail;
    } else if (n > 0) {
        word = (static_cast<uint64_t>(static_cast<unsigned char>(p[0])) << 16) |
               (static_cast<uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8) |
               static_cast<unsigned char>(p[n - 1]);
    } else {
        word = 0;
    }
    hash = (hash ^ word) * 0xC4CEB9FE1A85EC53ULL;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

std::size_t SlotHash(std::size_t sectionHash, std::string_view key)
{
    uint64_t mixed = (sectionHash * 0x9E3779B97F4A7C15ULL) ^ HashText(key);
    mixed = (mixed ^ (mixed >> 33)) * 0xFF51AFD7ED558CCDULL; // spreads into the low bits used
    return static_cast<std::size_t>(mixed ^ (mixed >> 33));
}

// A slot of an index: the entry's position + 1 in the low half (0 for an
// empty slot; a model holds at most 32,767 entries of each kind), the top
// bits of its hash in the high half, so that most probes that do not match
// are told apart without comparing text.
uint32_t SlotEntry(std::size_t position, std::size_t hash)
{
    return (static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 48) << 16) | static_cast<uint32_t>(position + 1);
}

bool SameTag(uint32_t entry, std::size_t hash)
{
    return (entry >> 16) == static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 48);
}

std::size_t SlotPosition(uint32_t entry)
{
    return static_cast<std::size_t>(entry & 0xFFFFU) - 1;
}

bool HasHighByte(std::string_view text)
{
    const char* const data = text.data();
    std::size_t i = 0;
    for (; i + 32 <= text.size(); i += 32) {
        uint64_t words[4];
        std::memcpy(words, data + i, 32);
        if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) != 0)
            return true;
    }
    for (; i < text.size(); ++i)
        if ((data[i] & 0x80) != 0)
            return true;
    return false;
}

// The position of the first CR or LF from pos on (size when none), and in eq
// the offset from pos of the first "=" before it (npos when none); eight
// bytes at a time.
std::size_t LineEnd(const char* data, std::size_t size, std::size_t pos, std::size_t& eq)
{
    std::size_t i = pos;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, data + i, 8);
        const uint64_t ends = BytesEqual(word, '\r') | BytesEqual(word, '\n');
        const uint64_t equals = BytesEqual(word, '=');
        const int endAt = ends != 0 ? std::countr_zero(ends) : 64;
        if (eq == std::string_view::npos && equals != 0 && std::countr_zero(equals) < endAt)
            eq = i + static_cast<std::size_t>(std::countr_zero(equals) / 8) - pos;
        if (ends != 0)
            return i + static_cast<std::size_t>(endAt / 8);
    }
    for (; i < size; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n')
            return i;
        if (c == '=' && eq == std::string_view::npos)
            eq = i - pos;
    }
    return size;
}

clsIniFile::BadLineQuestion g_badLineQuestion;
clsIniFile::LoadRefusal g_loadRefusal;

std::string_view Trimmed(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t'))
        --last;
    return text.substr(first, last - first);
}

// Decimal text to a whole number: blanks around it, an optional sign, an
// optional fraction that rounds to the nearest whole number (a half to the
// even one). False for anything else or a number outside [lo, hi].
bool ParseWhole(std::string_view raw, int64_t lo, int64_t hi, int64_t& out)
{
    // Most values are a few digits, perhaps after a minus sign.
    if (const std::size_t sign = !raw.empty() && raw[0] == '-' ? 1 : 0; raw.size() > sign && raw.size() <= sign + 9) {
        int64_t value = 0;
        std::size_t i = sign;
        for (; i < raw.size() && raw[i] >= '0' && raw[i] <= '9'; ++i)
            value = value * 10 + (raw[i] - '0');
        if (i == raw.size()) {
            value = sign != 0 ? -value : value;
            if (value < lo || value > hi)
                return false;
            out = value;
            return true;
        }
    }
    const std::string_view text = Trimmed(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::string_view intDigits = text.substr(intStart, i - intStart);
    std::string_view fracDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        fracDigits = text.substr(fracStart, i - fracStart);
    }
    if (i != text.size() || (intDigits.empty() && fracDigits.empty()))
        return false;
    const std::size_t significant = intDigits.find_first_not_of('0');
    if (significant != std::string_view::npos && intDigits.size() - significant > 15)
        return false;
    int64_t value = 0;
    for (char c : intDigits)
        value = value * 10 + (c - '0');
    if (!fracDigits.empty()) {
        const bool restZero = fracDigits.find_first_not_of('0', 1) == std::string_view::npos;
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

template <typename T> bool ParseReal(std::string_view raw, T& out)
{
    const std::string_view text = Trimmed(raw);
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

// The shortest text of a number that reads back as the same number.
template <typename T> std::string_view NumberText(T value, char (&buf)[64])
{
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string_view(buf, static_cast<std::size_t>(ptr - buf)) : std::string_view("0");
}

// The slot of an open-addressed table (kept at most half full) that holds
// an entry matching by hash tag and same(position), or the empty slot where
// it would go.
template <typename Same>
std::size_t ProbeSlots(const std::vector<uint32_t>& slots, std::size_t hash, const Same& same)
{
    const std::size_t mask = slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const uint32_t held = slots[slot];
        if (held == 0 || (SameTag(held, hash) && same(SlotPosition(held))))
            return slot;
    }
}

// Makes room for one more entry than count: the table is rebuilt at least
// four times the entries when it would be more than half full; hashOf gives
// the hash of each entry kept (want(k) true).
template <typename Want, typename HashOf>
void GrowSlots(std::vector<uint32_t>& slots, std::size_t count, const Want& want, const HashOf& hashOf)
{
    if (slots.size() >= 2 * (count + 1))
        return;
    std::size_t size = 64;
    while (size < 4 * (count + 1))
        size *= 2;
    slots.assign(size, 0);
    for (std::size_t k = 0; k < count; ++k)
        if (want(k)) {
            const std::size_t h = hashOf(k);
            std::size_t slot = h & (size - 1);
            while (slots[slot] != 0)
                slot = (slot + 1) & (size - 1);
            slots[slot] = SlotEntry(k, h);
        }
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

// The buffers of the last model released on this thread, for the next one:
// a site is opened and saved through a model that lives for a moment, and
// memory already at hand is far cheaper than fresh pages. Buffers of a file
// larger than kKeptBytes are let go.
struct clsIniFile::Buffers
{
    std::string store;
    std::string text;
    std::vector<Span> sections;
    std::vector<Span> keys;
    std::vector<Span> values;
    std::vector<int16_t> keySection;
    std::vector<uint32_t> sectionSlots;
    std::vector<uint32_t> keySlots;
    std::vector<uint8_t> firstOfName;
    std::vector<std::size_t> sectionHash;
};

namespace {
constexpr std::size_t kKeptBytes = 4 << 20;
}

void clsIniFile::SwapBuffers(Buffers& other)
{
    store_.swap(other.store);
    saveText_.swap(other.text);
    sections_.swap(other.sections);
    keys_.swap(other.keys);
    values_.swap(other.values);
    keySection_.swap(other.keySection);
    sectionSlots_.swap(other.sectionSlots);
    keySlots_.swap(other.keySlots);
    firstOfName_.swap(other.firstOfName);
    sectionHash_.swap(other.sectionHash);
}

clsIniFile::Buffers& clsIniFile::Spare()
{
    thread_local Buffers spare;
    return spare;
}

clsIniFile::clsIniFile()
{
    SwapBuffers(Spare());
}

clsIniFile::~clsIniFile()
{
    if (!clean_ && !saveFailed_)
        SaveFile();
    ClearModel();
    saveText_.clear();
    if (store_.capacity() <= kKeptBytes && saveText_.capacity() <= kKeptBytes &&
        Spare().store.capacity() < store_.capacity())
        SwapBuffers(Spare());
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
        names += View(sections_[i]);
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
    // A file written afresh is most often as large as the last one: the key
    // index starts at the size it had, rather than growing step by step.
    if (keySlots_.capacity() > 64)
        keySlots_.assign(std::bit_floor(keySlots_.capacity()), 0);
}

void clsIniFile::ClearModel()
{
    store_.clear();
    storeIsText_ = true;
    deadBytes_ = 0;
    sectionSlots_.clear();
    sections_.clear();
    keys_.clear();
    values_.clear();
    keySection_.clear();
    firstOfName_.clear();
    keySlots_.clear();
    sectionHash_.clear();
    keysIndexed_ = true;
    currentSection_ = kNoSection;
    nextGuess_ = 0;
}

void clsIniFile::sSectionName(const std::string& name)
{
    sectionName_ = name;
    sectionNamed_ = !name.empty();
    currentSectionHash_ = HashText(name);
    currentSection_ = FindSection(currentSectionHash_, name);
}

clsIniFile::Span clsIniFile::Store(std::string_view text)
{
    const Span span{store_.size(), text.size()};
    store_.append(text);
    return span;
}

// Names and values stored by the setters are appended as the lines SaveFile
// writes: while every line goes to the end of the file, the store is the text.
clsIniFile::Span clsIniFile::StoreSectionLine(std::string_view name)
{
    storeIsText_ = storeIsText_ && Plain(name);
    const Span span{store_.size() + 1, name.size()};
    store_ += '[';
    store_.append(name);
    store_.append("]\r\n", 3);
    return span;
}

void clsIniFile::StoreKeyLine(std::string_view key, std::string_view value)
{
    storeIsText_ = storeIsText_ && Plain(key) && Plain(value);
    const std::size_t at = store_.size();
    keys_.push_back(Span{at, key.size()});
    values_.push_back(Span{at + key.size() + 1, value.size()});
    store_.resize(at + key.size() + value.size() + 3);
    char* out = store_.data() + at;
    key.copy(out, key.size());
    out += key.size();
    *out++ = '=';
    value.copy(out, value.size());
    out += value.size();
    out[0] = '\r';
    out[1] = '\n';
}

// Drops the text of replaced values once it outweighs what is kept, so that
// a model that lives on does not grow with every store.
void clsIniFile::Compact()
{
    if (deadBytes_ < 65536 || deadBytes_ < store_.size() / 2)
        return;
    std::string kept;
    kept.reserve(store_.size() - deadBytes_);
    const auto keep = [&](Span& span) {
        const std::size_t at = kept.size();
        kept.append(View(span));
        span.at = at;
    };
    for (Span& span : sections_)
        keep(span);
    for (std::size_t k = 0; k < keys_.size(); ++k) {
        keep(keys_[k]);
        keep(values_[k]);
    }
    store_ = std::move(kept);
    deadBytes_ = 0;
    storeIsText_ = false;
}

std::size_t clsIniFile::FindSection(std::size_t hash, std::string_view name) const
{
    if (sectionSlots_.empty())
        return kNoSection;
    const uint32_t held = sectionSlots_[ProbeSlots(sectionSlots_, hash, [&](std::size_t entry) {
        return View(sections_[entry]) == name;
    })];
    return held == 0 ? kNoSection : SlotPosition(held);
}

// Adds a section entry whose name is already in store_ at span.
void clsIniFile::AddSection(Span span)
{
    const std::string_view name = View(span);
    const std::size_t hash = HashText(name);
    const std::size_t position = sections_.size();
    sectionHash_.push_back(hash);
    sections_.push_back(span);
    // Rebuilt, the index holds again only the first entry of each name.
    GrowSlots(
        sectionSlots_, position,
        [&](std::size_t s) { return FindSection(sectionHash_[s], View(sections_[s])) == kNoSection; },
        [&](std::size_t s) { return sectionHash_[s]; });
    uint32_t& slot = sectionSlots_[ProbeSlots(sectionSlots_, hash, [&](std::size_t entry) {
        return entry != position && View(sections_[entry]) == name;
    })];
    if (slot == 0)
        slot = SlotEntry(position, hash);
    if (currentSection_ == kNoSection && hash == currentSectionHash_ && name == sectionName_)
        currentSection_ = position;
}

bool clsIniFile::IsCurrentSection(std::size_t entry) const
{
    return entry == currentSection_ ||
           (sectionHash_[entry] == currentSectionHash_ && View(sections_[entry]) == sectionName_);
}

std::size_t clsIniFile::Probe(std::size_t hash, std::string_view key, std::size_t sectionHash,
                              std::string_view section) const
{
    return ProbeSlots(keySlots_, hash, [&](std::size_t k) {
        const auto entry = static_cast<std::size_t>(keySection_[k]);
        return View(keys_[k]) == key && sectionHash_[entry] == sectionHash && View(sections_[entry]) == section;
    });
}

void clsIniFile::IndexKey(std::size_t position, std::size_t hash) const
{
    GrowSlots(
        keySlots_, position, [&](std::size_t k) { return firstOfName_[k] != 0; },
        [&](std::size_t k) {
            return SlotHash(sectionHash_[static_cast<std::size_t>(keySection_[k])], View(keys_[k]));
        });
    const auto entry = static_cast<std::size_t>(keySection_[position]);
    const std::size_t slot = Probe(hash, View(keys_[position]), sectionHash_[entry], View(sections_[entry]));
    // Else an earlier key of the same name answers for both.
    const bool first = keySlots_[slot] == 0;
    if (first)
        keySlots_[slot] = SlotEntry(position, hash);
    firstOfName_.push_back(first ? 1 : 0);
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
    // Line ends, brackets and "=" are the same bytes in the code page as in
    // UTF-8, and no other character turns into one of them: the text is
    // converted as it is read (only the blocks that hold a byte above 0x7F),
    // then split into lines, and every name and value is a span of it.
    bool converted = false;
    const bool read = platform::ReadFileBlocks(
        fileName_, [&](std::size_t size) { store_.reserve(size + size / 4); },
        [&](std::string_view block) {
            if (HasHighByte(block)) {
                platform::AppendAsUtf8(store_, block);
                converted = true;
            } else {
                store_.append(block);
            }
        });
    if (!read) {
        store_.clear();
        return;
    }
    storeIsText_ = !converted;

    // A file larger than a model holds is refused whole: read in part, its
    // keys would land under the wrong sections and the next save would write
    // a truncated file.
    const auto refuse = [this] {
        ClearModel();
        if (g_loadRefusal)
            g_loadRefusal(TooManyEntriesText(fileName_));
    };
    // Lines of a site or settings file average some sixteen bytes; the lists
    // grow past the guess when a file has more.
    const std::size_t keyGuess = std::min(store_.size() / 16 + 1, clsIniFile::kMaxEntries);
    keys_.reserve(keyGuess);
    values_.reserve(keyGuess);
    keySection_.reserve(keyGuess);
    int lineNumber = 0;
    const char* const data = store_.data();
    const std::size_t size = store_.size();
    std::size_t pos = 0;
    while (pos < size) {
        // One pass over the line: its end (CR, LF or CR LF) and its first "=".
        std::size_t eq = std::string_view::npos;
        const std::size_t end = LineEnd(data, size, pos, eq);
        const std::size_t start = pos;
        const std::size_t length = end - pos;
        const bool crLf = end + 1 < size && data[end] == '\r' && data[end + 1] == '\n';
        pos = end + (crLf ? 2 : 1);
        ++lineNumber;
        // The text is what SaveFile writes while every line is a section or
        // a key ended by CR LF.
        const bool section = length >= 2 && data[start] == '[' && data[end - 1] == ']';
        storeIsText_ = storeIsText_ && crLf && (section || (!sections_.empty() && eq != std::string_view::npos));

        if (section) {
            if (sections_.size() >= clsIniFile::kMaxEntries)
                return refuse();
            AddSection(Span{start + 1, length - 2});
            continue;
        }
        if (length == 0 || sections_.empty())
            continue;
        if (eq == std::string_view::npos) {
            const BadLineAnswer answer =
                g_badLineQuestion ? g_badLineQuestion(fileName_, lineNumber) : BadLineAnswer::Ok;
            if (answer == BadLineAnswer::Cancel) {
                // What was read stays, for the setters; the first store
                // indexes it. The object stays not loaded.
                keysIndexed_ = keys_.empty();
                return;
            }
            continue;
        }
        if (keys_.size() >= clsIniFile::kMaxEntries)
            return refuse();
        keys_.push_back(Span{start, eq});
        values_.push_back(Span{start + eq + 1, length - eq - 1});
        keySection_.push_back(static_cast<int16_t>(sections_.size() - 1));
    }
    // The key index is built by the first look-up: a model read in order
    // (KeyAt) never needs one.
    keysIndexed_ = keys_.empty();
    loaded_ = true;
}

void clsIniFile::IndexKeys() const
{
    if (keysIndexed_)
        return;
    keysIndexed_ = true;
    firstOfName_.clear();
    firstOfName_.reserve(keys_.size());
    keySlots_.assign(64, 0);
    while (keySlots_.size() < 2 * (keys_.size() + 1))
        keySlots_.resize(keySlots_.size() * 2);
    for (std::size_t k = 0; k < keys_.size(); ++k)
        IndexKey(k, SlotHash(sectionHash_[static_cast<std::size_t>(keySection_[k])], View(keys_[k])));
}

int clsIniFile::FindKey(std::string_view key) const
{
    IndexKeys();
    // No entry of the current name: no key either.
    if (keySlots_.empty() || currentSection_ == kNoSection)
        return -1;
    // Files are read in the order they are written: the key after the last
    // one found is tried first. It answers when it is the first key of its
    // name under an entry of the current name (the answer of the index).
    const std::size_t guess = nextGuess_;
    if (guess < keys_.size() && firstOfName_[guess] != 0 && View(keys_[guess]) == key &&
        IsCurrentSection(static_cast<std::size_t>(keySection_[guess]))) {
        nextGuess_ = guess + 1;
        return static_cast<int>(guess);
    }
    const uint32_t held =
        keySlots_[Probe(SlotHash(currentSectionHash_, key), key, currentSectionHash_, sectionName_)];
    if (held == 0)
        return -1;
    nextGuess_ = SlotPosition(held) + 1;
    return static_cast<int>(SlotPosition(held));
}

std::string_view clsIniFile::GetValue(const std::string& key) const
{
    if (!fileNamed_ || !sectionNamed_ || !loaded_)
        return {};
    const int i = FindKey(key);
    return i < 0 ? std::string_view() : View(values_[static_cast<std::size_t>(i)]);
}

bool clsIniFile::SetValue(const std::string& key, std::string_view value)
{
    if (!fileNamed_ || !sectionNamed_)
        return false;
    IndexKeys();
    const bool newSection = currentSection_ == kNoSection;
    // An entry of the current name exists: the key may be there already (a
    // new name holds no key at all).
    const std::size_t hash = SlotHash(currentSectionHash_, key);
    std::size_t slot = keySlots_.size();
    if (!newSection && !keySlots_.empty()) {
        const std::size_t guess = nextGuess_;
        int found = -1;
        if (guess < keys_.size() && firstOfName_[guess] != 0 && View(keys_[guess]) == key &&
            IsCurrentSection(static_cast<std::size_t>(keySection_[guess]))) {
            found = static_cast<int>(guess);
        } else {
            slot = Probe(hash, key, currentSectionHash_, sectionName_);
            found = keySlots_[slot] == 0 ? -1 : static_cast<int>(SlotPosition(keySlots_[slot]));
        }
        if (found >= 0) {
            deadBytes_ += values_[static_cast<std::size_t>(found)].size;
            values_[static_cast<std::size_t>(found)] = Store(value);
            storeIsText_ = false;
            Compact();
            nextGuess_ = static_cast<std::size_t>(found) + 1;
            clean_ = false;
            return true;
        }
    }
    if (keys_.size() >= clsIniFile::kMaxEntries || (newSection && sections_.size() >= clsIniFile::kMaxEntries)) {
        storeRefused_ = true;
        return false;
    }
    if (newSection)
        AddSection(StoreSectionLine(sectionName_));
    // A key added under an earlier entry is written before the later ones.
    storeIsText_ = storeIsText_ && currentSection_ + 1 == sections_.size();
    StoreKeyLine(key, value);
    keySection_.push_back(static_cast<int16_t>(currentSection_));
    const std::size_t position = keys_.size() - 1;
    if (slot < keySlots_.size() && keySlots_.size() >= 2 * (position + 1)) {
        // The probe above found the free slot, and the table needs no growth.
        keySlots_[slot] = SlotEntry(position, hash);
        firstOfName_.push_back(1);
    } else {
        IndexKey(position, hash);
    }
    nextGuess_ = keys_.size();
    clean_ = false;
    return true;
}

bool clsIniFile::SetString(const std::string& key, const std::string& value)
{
    return SetValue(key, value);
}

bool clsIniFile::SetLong(const std::string& key, int32_t value)
{
    char buf[64];
    return SetValue(key, NumberText(value, buf));
}

bool clsIniFile::SetSingle(const std::string& key, float value)
{
    char buf[64];
    return SetValue(key, NumberText(value, buf));
}

bool clsIniFile::SetDouble(const std::string& key, double value)
{
    char buf[64];
    return SetValue(key, NumberText(value, buf));
}

bool clsIniFile::SetInteger(const std::string& key, int16_t value)
{
    char buf[64];
    return SetValue(key, NumberText(value, buf));
}

bool clsIniFile::SetBoolean(const std::string& key, bool value)
{
    return SetValue(key, value ? "1" : "0");
}

std::string clsIniFile::GetString(const std::string& key, const std::string& defaultValue) const
{
    const std::string_view value = GetValue(key);
    return value.empty() ? defaultValue : std::string(value);
}

int32_t clsIniFile::GetLong(const std::string& key, int32_t defaultValue) const
{
    return ReadLong(GetValue(key), defaultValue);
}

int16_t clsIniFile::GetInteger(const std::string& key, int16_t defaultValue) const
{
    return ReadInteger(GetValue(key), defaultValue);
}

int32_t clsIniFile::ReadLong(std::string_view text, int32_t defaultValue)
{
    int64_t value = 0;
    if (text.empty() ||
        !ParseWhole(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), value))
        return defaultValue;
    return static_cast<int32_t>(value);
}

int16_t clsIniFile::ReadInteger(std::string_view text, int16_t defaultValue)
{
    int64_t value = 0;
    if (text.empty() ||
        !ParseWhole(text, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), value))
        return defaultValue;
    return static_cast<int16_t>(value);
}

float clsIniFile::GetSingle(const std::string& key, float defaultValue) const
{
    const std::string_view text = GetValue(key);
    float value = defaultValue;
    return !text.empty() && ParseReal(text, value) ? value : defaultValue;
}

double clsIniFile::GetDouble(const std::string& key, double defaultValue) const
{
    const std::string_view text = GetValue(key);
    double value = defaultValue;
    return !text.empty() && ParseReal(text, value) ? value : defaultValue;
}

bool clsIniFile::GetBoolean(const std::string& key, bool defaultValue) const
{
    return ReadBoolean(GetValue(key), defaultValue);
}

bool clsIniFile::ReadBoolean(std::string_view value, bool defaultValue)
{
    if (value.empty())
        return defaultValue;
    if (value[0] == '1')
        return true;
    if (value[0] == '0')
        return false;
    std::string lower(value);
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
    const auto fail = [&](std::string_view why) {
        saveFailed_ = true;
        if (error != nullptr)
            *error = IniSaveError(fileName_, why);
        return false;
    };
    if (storeRefused_)
        return fail(kTooManyEntries);

    if (storeIsText_) {
        for (int line = 1; line <= static_cast<int>(keys_.size() + sections_.size()); ++line)
            if (progressBound_ && progress_ && progressMaximum_ >= line)
                progress_(line);
        return Written(platform::ReplaceWholeFile(fileName_, store_, error));
    }

    // The keys of each section entry in key-list order, found in one pass;
    // when every key stands after the keys of earlier entries (a file read or
    // written in order), that is the key list itself.
    std::vector<std::size_t> start(sections_.size() + 1, 0);
    bool inOrder = true;
    for (std::size_t k = 0; k < keys_.size(); ++k) {
        ++start[static_cast<std::size_t>(keySection_[k]) + 1];
        inOrder = inOrder && (k == 0 || keySection_[k] >= keySection_[k - 1]);
    }
    for (std::size_t s = 0; s < sections_.size(); ++s)
        start[s + 1] += start[s];
    std::vector<std::size_t> order;
    if (!inOrder) {
        order.resize(keys_.size());
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t k = 0; k < keys_.size(); ++k)
            order[next[static_cast<std::size_t>(keySection_[k])]++] = k;
    }

    // Written a block at a time as the text is made, so that a large file is
    // not held a second time.
    constexpr std::size_t kBlock = 256 * 1024;
    platform::FileReplacement file(fileName_);
    std::string& bytes = saveText_;
    bytes.clear();
    bytes.reserve(kBlock + 4096);
    bool exact = true;
    int lineCount = 0;
    const auto lineWritten = [&] {
        ++lineCount;
        if (progressBound_ && progress_ && progressMaximum_ >= lineCount)
            progress_(lineCount);
        if (bytes.size() >= kBlock) {
            file.Write(bytes);
            bytes.clear();
        }
    };
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        exact = AppendIniSection(bytes, View(sections_[s])) && exact;
        lineWritten();
        for (std::size_t o = start[s]; o < start[s + 1]; ++o) {
            const std::size_t k = inOrder ? o : order[o];
            exact = AppendIniKey(bytes, View(keys_[k]), View(values_[k])) && exact;
            lineWritten();
        }
    }
    if (!exact)
        return fail(kNotInCodePage);
    file.Write(bytes);
    return Written(file.Commit(error));
}

bool clsIniFile::Written(bool written)
{
    saveFailed_ = !written;
    clean_ = clean_ || written;
    return written;
}

} // namespace model

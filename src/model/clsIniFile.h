#pragma once
// One INI text file held in memory: ordered section entries (a name that
// occurs twice is two entries), key=value lines each tied to the section
// entry it was read or added under, and typed access to the keys of one
// current section. Setting the file name loads the file; releasing an object
// that holds unsaved changes writes the whole file, unless an explicit
// SaveFile has failed (the user was told the file was not written). Keys are
// found through an index kept in step with the ordered lists.
//
// Files are Windows-1252 with CR LF line ends; nothing is trimmed or folded:
// what is read is kept character for character, and what is written is what
// the model holds.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace model {

class clsIniFile
{
public:
    // The answer to the question asked for a line that cannot be read.
    enum class BadLineAnswer
    {
        Ok,    // skip the line and read on
        Cancel // stop reading; the object stays not loaded
    };
    // Asked with the file name and the 1-based number of the bad line.
    using BadLineQuestion = std::function<BadLineAnswer(const std::string& fileName, int lineNumber)>;
    // Told the number of lines written so far.
    using ProgressReport = std::function<void(int value)>;

    static constexpr const char* kBadLineTitle = "Read Configuration File";
    // The question's text: "Error Reading Configuration File", the file name
    // and "In Line <n> Continue ?", on three lines.
    static std::string BadLineText(const std::string& fileName, int lineNumber);
    // Installs the question for every object. The window layer shows a plain
    // OK/Cancel box titled kBadLineTitle with BadLineText, holding the splash
    // window's timer while it waits. Without a question, bad lines are skipped.
    static void SetBadLineQuestion(BadLineQuestion ask);

    // A model holds at most this many section entries and as many keys.
    static constexpr std::size_t kMaxEntries = 32767;
    // Told the whole text of a refused file, titled kBadLineTitle.
    using LoadRefusal = std::function<void(const std::string& text)>;
    // "Error Reading Configuration File", the file name, and why the file is
    // too large to be read, on three lines.
    static std::string TooManyEntriesText(const std::string& fileName);
    // Installs the report of a file with more sections or keys than a model
    // holds: such a file is not read at all (the model stays empty and not
    // loaded, so every getter gives its default).
    static void SetLoadRefusal(LoadRefusal report);

    clsIniFile();
    ~clsIniFile();
    clsIniFile(const clsIniFile&) = delete;
    clsIniFile& operator=(const clsIniFile&) = delete;

    // The section names joined by ","; loads the file first when it is not
    // loaded and nothing has been stored since the file name was set.
    std::string GetSectionNames();
    // Keys plus section entries: the number of lines SaveFile writes.
    int16_t GetWriteCount() const;
    // Binds a progress indicator of the given maximum that SaveFile advances.
    void Progress(int maximum, ProgressReport report);

    void sFileName(const std::string& name);
    // Names the file without reading it: the model starts empty and, once
    // written, replaces whatever file was there (a file written afresh).
    void NewFile(const std::string& name);
    const std::string& sFileName() const { return fileName_; }
    void sSectionName(const std::string& name);
    const std::string& sSectionName() const { return sectionName_; }

    // Setters store into the current section; false (nothing stored) when the
    // file name or the section name is empty, or when a new section or key
    // would pass kMaxEntries. A refused store makes every later SaveFile fail,
    // so that a file missing some of its values is never written.
    bool SetString(const std::string& key, const std::string& value);
    bool SetLong(const std::string& key, int32_t value);
    bool SetSingle(const std::string& key, float value);
    bool SetDouble(const std::string& key, double value);
    bool SetInteger(const std::string& key, int16_t value);
    bool SetBoolean(const std::string& key, bool value);

    // Getters give the default when the object is not loaded, the key is
    // absent, its value is empty, or the value is not a number the type can
    // hold.
    int32_t GetLong(const std::string& key, int32_t defaultValue) const;
    bool GetBoolean(const std::string& key, bool defaultValue) const;
    float GetSingle(const std::string& key, float defaultValue) const;
    double GetDouble(const std::string& key, double defaultValue) const;
    int16_t GetInteger(const std::string& key, int16_t defaultValue) const;
    std::string GetString(const std::string& key, const std::string& defaultValue) const;

    // Writes the whole model to the file (through a temporary file, so a
    // failed write leaves the old file intact). A CR or LF inside a name or
    // value is written as a blank, so that the file reads back line for line.
    // False, with the reason in error, when the file could not be written,
    // when a store was refused, or when a text holds a character that the
    // code page cannot store (nothing is turned into "?"); the model then
    // stays unsaved and releasing it writes nothing.
    bool SaveFile(std::string* error = nullptr);

    // The model read in one pass, in file order, for a reader that takes the
    // whole file: the section entries, and the key lines each with the entry
    // it stands under. Empty when the object is not loaded, as the getters
    // then give their defaults. A getter's answer for a key is the first key
    // line of that name under an entry of the current section's name.
    struct KeyLine
    {
        std::size_t entry;
        std::string_view key;
        std::string_view value;
    };
    std::size_t SectionEntryCount() const { return loaded_ ? sections_.size() : 0; }
    std::string_view SectionEntry(std::size_t entry) const { return View(sections_[entry]); }
    std::size_t KeyCount() const { return loaded_ ? keys_.size() : 0; }
    KeyLine KeyAt(std::size_t i) const
    {
        return {static_cast<std::size_t>(keySection_[i]), View(keys_[i]), View(values_[i])};
    }
    // A stored value read as the getters read it: the default when the text
    // is empty or not a value the type can hold.
    static int32_t ReadLong(std::string_view text, int32_t defaultValue);
    static int16_t ReadInteger(std::string_view text, int16_t defaultValue);
    static bool ReadBoolean(std::string_view text, bool defaultValue);

    bool IsLoaded() const { return loaded_; }
    bool IsClean() const { return clean_; }

private:
    // A name or value: where it stands in store_.
    struct Span
    {
        std::size_t at = 0;
        std::size_t size = 0;
    };
    std::string_view View(Span span) const { return {store_.data() + span.at, span.size}; }
    Span Store(std::string_view text);
    Span StoreSectionLine(std::string_view name);
    void StoreKeyLine(std::string_view key, std::string_view value);
    bool Written(bool written);
    struct Buffers;
    static Buffers& Spare();
    void SwapBuffers(Buffers& other);
    void Compact();

    void LoadFile();
    void ClearModel();
    // The stored value of the key in the current section; empty when the
    // object is not loaded, the key is absent or its value is empty.
    std::string_view GetValue(const std::string& key) const;
    bool SetValue(const std::string& key, std::string_view value);
    int FindKey(std::string_view key) const;
    bool IsCurrentSection(std::size_t entry) const;
    std::size_t Probe(std::size_t hash, std::string_view key, std::size_t sectionHash,
                      std::string_view section) const;
    void IndexKey(std::size_t position, std::size_t hash) const;
    void IndexKeys() const;
    std::size_t FindSection(std::size_t hash, std::string_view name) const;
    void AddSection(Span name);

    std::string fileName_;
    bool fileNamed_ = false;
    std::string sectionName_;
    bool sectionNamed_ = false;
    bool loaded_ = false;
    bool clean_ = true;
    int progressMaximum_ = 0;
    ProgressReport progress_;
    bool progressBound_ = false;
    bool storeRefused_ = false;
    bool saveFailed_ = false;

    // The text of the file as read (names and values point into it), then
    // every name and value stored since, appended; a value replaced leaves
    // its old text behind until there is enough of it to compact.
    std::string store_;
    std::size_t deadBytes_ = 0;
    // True while store_ is exactly the text SaveFile writes (every section
    // and key line in order, CR LF after each, nothing to convert).
    bool storeIsText_ = true;
    std::string saveText_; // the text SaveFile writes
    std::vector<Span> sections_;
    std::vector<Span> keys_;
    std::vector<Span> values_;
    std::vector<int16_t> keySection_; // index into sections_

    // Section index: the first entry of each name, open-addressed like the
    // key index below.
    std::vector<uint32_t> sectionSlots_;
    // Key index: an open-addressed table of key positions + 1 (0 empty) with
    // a tag of their hash, hashed on section name and key, holding for each
    // pair the first key of that name under an entry of that name: the answer
    // of a scan from the start of the lists.
    // Built by the first look-up or store after a load (IndexKeys).
    mutable std::vector<uint32_t> keySlots_;
    mutable std::vector<uint8_t> firstOfName_; // per key: 1 when the index holds it
    mutable bool keysIndexed_ = true;
    std::vector<std::size_t> sectionHash_; // per section entry
    mutable std::size_t nextGuess_ = 0;    // the key after the last one found
    std::size_t currentSectionHash_ = 0;
    static constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);
    std::size_t currentSection_ = kNoSection; // the first entry of the current name
};

} // namespace model

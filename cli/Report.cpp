#include "cli/Report.h"

#include "cli/Words.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>
#include <map>

namespace cli {
namespace {

using Json = nlohmann::json;

constexpr std::int64_t Most = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Least = std::numeric_limits<std::int64_t>::min();

// A report nests a few levels and holds short names and numbers. Deeper input, or a
// longer string or number, is refused as soon as it shows, so that what the JSON reader
// keeps stays small whatever the input.
constexpr std::size_t MaxDepth = 16;
constexpr std::size_t MaxToken = std::size_t{1} << 16;

// cloc knows some 300 languages and scc as many, by short names. A report that names more,
// or longer ones, names files (cloc --diff --by-file does) and gives no breakdown.
constexpr std::size_t MaxLanguages = 1024;
constexpr std::size_t MaxLanguageName = 256;

constexpr std::string_view ToUtf8 = "; convert it to UTF-8, for example with iconv -f UTF-16";

// The bytes of a report, read one at a time as the JSON reader asks for them. Nothing of
// a string is needed but a few ASCII names, so every non-ASCII byte inside a string reads
// as '?': a file name that is not UTF-8, which cloc writes as the file system has it, is
// then no error. A NUL byte, which JSON text never holds and the JSON reader would take
// for the end, stops the reading, and so does a token too long.
class Bytes {
public:
    struct Iterator {
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char *;
        using reference = const char &;

        const char &operator*() const { return bytes->current_; }
        Iterator &operator++() {
            ++bytes->consumed_;
            bytes->Read();
            return *this;
        }
        bool operator==(const Iterator &other) const { return AtEnd() == other.AtEnd(); }
        bool AtEnd() const { return bytes == nullptr || bytes->atEnd_; }

        Bytes *bytes;
    };

    explicit Bytes(std::FILE *file)
        : file_(file) {
        Read();
    }

    Iterator begin() { return {this}; }
    static Iterator end() { return {nullptr}; }

    // The position, counted from 1, of the last byte handed on.
    std::size_t Position() const { return consumed_; }
    // Why the reading stopped before the end of the input; empty if it did not.
    const std::string &Stopped() const { return stopped_; }

private:
    static constexpr int None = EOF - 1;

    int Next() {
        const int c = pending_ == None ? std::getc(file_) : pending_;
        pending_ = None;
        return c;
    }

    void Stop(std::string why) {
        stopped_ = std::move(why);
        atEnd_ = true;
    }

    // UTF-16 shows in its byte order mark, or in a NUL byte beside the first character.
    bool Utf16(int byte, std::size_t position) {
        if (position == 1 && (byte == 0xff || byte == 0xfe || byte == 0)) {
            pending_ = Next();
            const bool mark = byte != 0 && pending_ == (byte ^ 1);
            if (mark || (byte == 0 && pending_ != 0 && pending_ != EOF)) {
                Stop(std::string("UTF-16 text (") + (byte == 0xff ? "little" : "big") +
                     "-endian, as " + (mark ? "its byte order mark" : "the NUL byte 1") +
                     " shows)" + std::string(ToUtf8) + (byte == 0xff ? "LE" : "BE") + " -t UTF-8");
                return true;
            }
        }
        if (position == 2 && byte == 0 && first_ != 0) {
            Stop("UTF-16 text (little-endian, as the NUL byte 2 shows)" + std::string(ToUtf8) +
                 "LE -t UTF-8");
            return true;
        }
        return false;
    }

    void Read() {
        const int c = Next();
        if (c == EOF) {
            atEnd_ = true;
            return;
        }
        auto byte = static_cast<unsigned char>(c);
        const std::size_t position = consumed_ + 1;
        first_ = position == 1 ? byte : first_;
        if (position <= 2 && Utf16(byte, position)) {
            return;
        }
        if (byte == 0) {
            Stop("a NUL byte at byte " + std::to_string(position) +
                 ", which JSON text never holds");
            return;
        }
        if (inString_) {
            if (escaped_) {
                escaped_ = false;
            } else if (byte == '\\') {
                escaped_ = true;
            } else if (byte == '"') {
                inString_ = false;
            }
            byte = byte >= 0x80 ? '?' : byte;
            ++token_;
        } else if (byte == '"') {
            inString_ = true;
            token_ = 1;
            tokenStart_ = position;
        } else if (std::string_view(" \t\n\r{}[],:").find(static_cast<char>(byte)) !=
                   std::string_view::npos) {
            token_ = 0;
        } else if (token_++ == 0) {
            tokenStart_ = position;
        }
        if (token_ > MaxToken) {
            Stop("a string or number of more than " + std::to_string(MaxToken) +
                 " bytes from byte " + std::to_string(tokenStart_) +
                 ", longer than any a report holds");
            return;
        }
        current_ = static_cast<char>(byte);
    }

    std::FILE *file_;
    int pending_ = None;
    char current_ = 0;
    unsigned char first_ = 0;
    bool atEnd_ = false;
    std::size_t consumed_ = 0;
    bool inString_ = false;
    bool escaped_ = false;
    std::size_t token_ = 0;
    std::size_t tokenStart_ = 0;
    std::string stopped_;
};

// A long excerpt of the input in a message: its end, where the reader stopped.
std::string Shortened(const std::string &text) {
    constexpr std::size_t most = 40;
    return text.size() <= most ? text : "..." + text.substr(text.size() - most);
}

// The parts of cloc --diff's counts, in the order of Change's fields.
constexpr std::array<std::string_view, 4> Parts{"added", "modified", "removed", "same"};

std::int64_t &PartOf(Change &change, std::size_t part) {
    std::array<std::int64_t *, 4> fields{&change.added, &change.modified, &change.removed,
                                         &change.same};
    return *fields[part];
}

std::optional<std::size_t> PartNamed(std::string_view name) {
    for (std::size_t part = 0; part < Parts.size(); ++part) {
        if (Parts[part] == name) {
            return part;
        }
    }
    return std::nullopt;
}

// The languages of one place in a report, each once, as the report names them.
class Breakdown {
public:
    void Add(const std::string &name, std::int64_t code, std::optional<std::size_t> part) {
        if (dropped_) {
            return;
        }
        auto [at, added] = index_.try_emplace(name, languages_.size());
        if (added) {
            if (languages_.size() == MaxLanguages || name.size() > MaxLanguageName) {
                *this = {};
                dropped_ = true;
                return;
            }
            languages_.push_back({name, 0, {}});
        }
        Language &language = languages_[at->second];
        if (part) {
            PartOf(language.change, *part) = AddCounts(PartOf(language.change, *part), code);
            language.lines = AddCounts(language.change.added, language.change.modified);
        } else {
            language.lines = AddCounts(language.lines, code);
        }
    }

    std::vector<Language> Languages() const { return languages_; }

private:
    std::vector<Language> languages_;
    std::map<std::string, std::size_t> index_;
    bool dropped_ = false;
};

// Follows the parse event by event and keeps only what decides the count: the role of
// each open container (cloc's top object, its by_lang and by_file groups, a SUM entry and
// its --diff parts, a language or file entry, a --diff part's languages, scc's list of
// languages, one language), each SUM's counts, the languages' total and the breakdowns.
class ReportReader {
public:
    explicit ReportReader(const Bytes &bytes)
        : bytes_(bytes) {}

    const std::string &Error() const { return error_; }

    Count Result() const {
        if (topIsList_) {
            return {total_, breakdowns_[Scc].Languages(), std::nullopt};
        }
        for (std::size_t slot = 0; slot < sums_.size(); ++slot) {
            if (sums_[slot].seen) {
                return Summed(slot);
            }
        }
        if (languagesSeen_) {
            return {total_, breakdowns_[Scc].Languages(), std::nullopt};
        }
        if (topKeys_ == 0) {
            return {};
        }
        throw BadReport("an object with neither cloc's SUM entry nor scc's languageSummary");
    }

    bool null() { return Scalar("null"); }
    bool boolean(bool) { return Scalar("a boolean"); }
    bool string(Json::string_t &text) {
        if (next_ == Role::EntryLanguage || next_ == Role::LanguageName) {
            (next_ == Role::EntryLanguage ? entryLanguage_ : languageName_) = text;
            return Next();
        }
        return Scalar("a string");
    }
    bool binary(Json::binary_t &) { return Scalar("binary data"); }
    bool number_integer(Json::number_integer_t count) { return Number(count); }
    bool number_unsigned(Json::number_unsigned_t count) {
        return Number(count > static_cast<std::uint64_t>(Most) ? Most
                                                               : static_cast<std::int64_t>(count));
    }
    bool number_float(Json::number_float_t count, const Json::string_t &text) {
        if (std::trunc(count) != count) {
            if (Counted(next_)) {
                return Fail(Name(next_) + " is " + Shortened(text) +
                            ", not a whole number of lines");
            }
            return Scalar("a number");
        }
        return Number(count >= 0x1p63   ? Most
                      : count < -0x1p63 ? Least
                                        : static_cast<std::int64_t>(count));
    }

    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }

    bool key(Json::string_t &name) {
        const Role container = open_[depth_ - 1];
        next_ = Role::Other;
        const std::optional<std::size_t> part = PartNamed(name);
        switch (container) {
        case Role::Top:
            ++topKeys_;
            if (name == "SUM") {
                next_ = Role::Sum;
                sum_ = 0;
            } else if (name == "by_lang" || name == "by_file") {
                next_ = Role::Group;
                group_ = name == "by_lang" ? 1 : 2;
            } else if (name == "languageSummary") {
                next_ = Role::Languages;
            } else if (part) {
                next_ = Role::Diff;
                part_ = *part;
            } else if (name != "header") {
                EnterEntry(Top, name);
            }
            break;
        case Role::Group:
            if (name == "SUM") {
                next_ = Role::Sum;
                sum_ = group_;
            } else {
                EnterEntry(group_, name);
            }
            break;
        case Role::Diff:
            EnterEntry(Changed, name);
            break;
        case Role::Sum:
            if (name == "code") {
                next_ = Role::Code;
            } else if (part) {
                next_ = Role::Part;
                part_ = *part;
            }
            break;
        case Role::Part:
            next_ = name == "code" ? Role::PartCode : Role::Other;
            break;
        case Role::Entry:
            next_ = name == "code"       ? Role::EntryCode
                    : name == "language" ? Role::EntryLanguage
                                         : Role::Other;
            break;
        case Role::Language:
            next_ = name == "Code"   ? Role::LanguageCode
                    : name == "Name" ? Role::LanguageName
                                     : Role::Other;
            break;
        default:
            break;
        }
        return true;
    }

    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t position, const std::string &last,
                     const nlohmann::detail::exception &error) {
        const std::string at = " at byte " + std::to_string(position);
        if (!bytes_.Stopped().empty()) {
            return Fail(bytes_.Stopped());
        }
        if (complete_) {
            return Fail("more after the end of the report," + at +
                        "; give each report a --lines-from of its own");
        }
        // Valid JSON, but a number no double holds.
        constexpr int numberOverflow = 406;
        if (error.id == numberOverflow) {
            return Fail(Counted(next_)
                            ? Name(next_) + " is " + Shortened(last) + ", beyond any size"
                            : "a number beyond the range of a double" + at + " (" +
                                  Shortened(last) + ")");
        }
        // The reader's own words, without its exception's name and the line and column.
        std::string detail = error.what();
        detail.erase(0, detail.find("] ") + 2);
        if (detail.starts_with("parse error")) {
            detail.erase(0, detail.find(": ") + 2);
        }
        const std::size_t excerpt = detail.find("'" + last + "'");
        if (excerpt != std::string::npos) {
            detail.replace(excerpt + 1, last.size(), Shortened(last));
        }
        return Fail("not JSON" + at + " (" + Shown(detail, true) + ")");
    }

private:
    enum class Role : std::uint8_t {
        Other,
        Top,
        Group,
        Sum,
        Code,
        Part,
        PartCode,
        Diff,
        Entry,
        EntryCode,
        EntryLanguage,
        Languages,
        Language,
        LanguageCode,
        LanguageName,
    };

    // Where languages are listed: cloc's entries at the top, under by_lang and under
    // by_file (the SUM slots, in their precedence), in the parts of --diff, and scc's.
    static constexpr std::size_t Top = 0;
    static constexpr std::size_t Changed = 3;
    static constexpr std::size_t Scc = 4;

    struct Sum {
        bool seen = false;
        std::optional<std::int64_t> code;
        std::array<bool, 4> partSeen{};
        std::array<std::optional<std::int64_t>, 4> parts{};
    };

    static std::string SumName(std::size_t slot) {
        static constexpr std::array<const char *, 3> names{"SUM", "the SUM of by_lang",
                                                           "the SUM of by_file"};
        return names[slot];
    }

    static bool Counted(Role role) {
        return role == Role::Code || role == Role::PartCode || role == Role::LanguageCode;
    }

    std::string Name(Role role) const {
        switch (role) {
        case Role::Group:
            return group_ == 1 ? "by_lang" : "by_file";
        case Role::Sum:
            return SumName(sum_);
        case Role::Code:
            return "the code of " + SumName(sum_);
        case Role::Part:
            return "the " + std::string(Parts[part_]) + " of " + SumName(sum_);
        case Role::PartCode:
            return "the " + std::string(Parts[part_]) + " code of " + SumName(sum_);
        case Role::Languages:
            return "languageSummary";
        case Role::Language:
            return "language " + std::to_string(index_ + 1);
        case Role::LanguageCode:
            return "the Code of language " + std::to_string(index_);
        default:
            break;
        }
        return "the report";
    }

    // What a value in the role must be; nullptr: anything.
    static const char *Expected(Role role) {
        switch (role) {
        case Role::Top:
            return "an object or an array";
        case Role::Group:
        case Role::Sum:
        case Role::Part:
        case Role::Language:
            return "an object";
        case Role::Languages:
            return "an array";
        case Role::Code:
        case Role::PartCode:
        case Role::LanguageCode:
            return "a number of lines";
        default:
            break;
        }
        return nullptr;
    }

    Count Summed(std::size_t slot) const {
        const Sum &sum = sums_[slot];
        if (sum.code) {
            return {*sum.code, breakdowns_[slot].Languages(), std::nullopt};
        }
        if (std::find(sum.partSeen.begin(), sum.partSeen.end(), true) == sum.partSeen.end()) {
            throw BadReport(SumName(slot) + " has no code");
        }
        Change change;
        for (std::size_t part = 0; part < Parts.size(); ++part) {
            if (!sum.parts[part]) {
                throw BadReport(SumName(slot) + " has no " + std::string(Parts[part]) + " code");
            }
            PartOf(change, part) = *sum.parts[part];
        }
        return {AddCounts(change.added, change.modified), breakdowns_[Changed].Languages(), change};
    }

    void EnterEntry(std::size_t slot, const std::string &name) {
        next_ = Role::Entry;
        entrySlot_ = slot;
        entryKey_ = name;
    }

    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    // A value has ended: the next one is an element or a key's value of the container.
    bool Next() {
        complete_ = depth_ == 0;
        next_ = depth_ > 0 && open_[depth_ - 1] == Role::Languages ? Role::Language : Role::Other;
        return true;
    }

    bool Scalar(const char *kind) {
        if (const char *expected = Expected(next_)) {
            return Fail(Name(next_) + " is " + kind + ", not " + expected);
        }
        return Next();
    }

    bool Number(std::int64_t count) {
        switch (next_) {
        case Role::Code:
            sums_[sum_].code = count;
            break;
        case Role::PartCode:
            sums_[sum_].parts[part_] = count;
            break;
        case Role::LanguageCode:
            languageCode_ = count;
            break;
        case Role::EntryCode:
            entryCode_ = count;
            break;
        default:
            return Scalar("a number");
        }
        return Next();
    }

    bool Open(bool object) {
        if (depth_ == MaxDepth) {
            return Fail("nested deeper than " + std::to_string(MaxDepth) + " levels at byte " +
                        std::to_string(bytes_.Position()));
        }
        const char *kind = object ? "an object" : "an array";
        const char *expected = Expected(next_);
        if (next_ != Role::Top && expected != nullptr && std::string_view(expected) != kind) {
            return Fail(Name(next_) + " is " + kind + ", not " + expected);
        }
        Role role = next_;
        if (role == Role::Top && !object) {
            role = Role::Languages;
            topIsList_ = true;
        }
        switch (role) {
        case Role::Sum:
            // A later SUM replaces an earlier one, as it would in a parsed document.
            sums_[sum_] = {true, std::nullopt, {}, {}};
            break;
        case Role::Part:
            sums_[sum_].partSeen[part_] = true;
            sums_[sum_].parts[part_].reset();
            break;
        case Role::Languages:
            languagesSeen_ = true;
            total_ = 0;
            index_ = 0;
            breakdowns_[Scc] = {};
            break;
        case Role::Language:
            ++index_;
            languageCode_.reset();
            languageName_.reset();
            break;
        case Role::Entry:
            entryCode_.reset();
            entryLanguage_.reset();
            break;
        default:
            break;
        }
        open_[depth_++] = role;
        next_ = role == Role::Languages ? Role::Language : Role::Other;
        return true;
    }

    bool Close() {
        const Role closing = open_[--depth_];
        if (closing == Role::Language) {
            if (!languageCode_) {
                return Fail("language " + std::to_string(index_) + " has no Code");
            }
            total_ = AddCounts(total_, *languageCode_);
            if (languageName_) {
                breakdowns_[Scc].Add(*languageName_, *languageCode_, std::nullopt);
            }
        } else if (closing == Role::Entry && entryCode_) {
            const bool changed = entrySlot_ == Changed;
            breakdowns_[entrySlot_].Add(changed || !entryLanguage_ ? entryKey_ : *entryLanguage_,
                                        *entryCode_,
                                        changed ? std::optional<std::size_t>(part_) : std::nullopt);
        }
        return Next();
    }

    const Bytes &bytes_;
    std::string error_;
    std::array<Role, MaxDepth> open_{};
    std::size_t depth_ = 0;
    Role next_ = Role::Top;
    bool complete_ = false;
    bool topIsList_ = false;
    std::size_t topKeys_ = 0;
    // cloc's SUM entries: at the top, under by_lang, under by_file, in that precedence.
    std::array<Sum, 3> sums_{};
    std::size_t sum_ = 0;
    std::size_t group_ = 1;
    std::size_t part_ = 0; // of the --diff part open
    bool languagesSeen_ = false;
    std::size_t index_ = 0; // of the language open or last closed, counted from 1
    std::optional<std::int64_t> languageCode_;
    std::optional<std::string> languageName_;
    std::int64_t total_ = 0;
    // The entry open: where it is listed, its key, its code and its language.
    std::size_t entrySlot_ = Top;
    std::string entryKey_;
    std::optional<std::int64_t> entryCode_;
    std::optional<std::string> entryLanguage_;
    std::array<Breakdown, 5> breakdowns_{};
};

} // namespace

Count ReadReport(std::FILE *file) {
    Bytes bytes(file);
    ReportReader reader(bytes);
    if (!Json::sax_parse(bytes.begin(), Bytes::end(), &reader)) {
        throw BadReport(reader.Error());
    }
    // The reader takes the end of what was read for the end of the input.
    if (!bytes.Stopped().empty()) {
        throw BadReport(bytes.Stopped());
    }
    return reader.Result();
}

std::int64_t AddCounts(std::int64_t total, std::int64_t count) {
    if (total < 0) {
        return total;
    }
    if (count < 0) {
        return count;
    }
    return count > Most - total ? Most : total + count;
}

} // namespace cli

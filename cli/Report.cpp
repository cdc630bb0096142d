#include "cli/Report.h"

#include "cli/Arguments.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

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

// The bytes of a report, read one at a time as the JSON reader asks for them. Nothing of
// a string is needed but a few ASCII names, so every non-ASCII byte inside a string reads
// as '?': a file name that is not UTF-8, which cloc writes as the file system has it, is
// then no error.
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
    // Where the string or number began that was cut off for its length; 0 if none was.
    std::size_t LongTokenStart() const { return tooLong_ ? tokenStart_ : 0; }

private:
    void Read() {
        const int c = std::getc(file_);
        if (c == EOF) {
            atEnd_ = true;
            return;
        }
        auto byte = static_cast<unsigned char>(c);
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
            tokenStart_ = consumed_ + 1;
        } else if (std::string_view(" \t\n\r{}[],:").find(static_cast<char>(byte)) !=
                   std::string_view::npos) {
            token_ = 0;
        } else if (token_++ == 0) {
            tokenStart_ = consumed_ + 1;
        }
        if (token_ > MaxToken) {
            tooLong_ = true;
            atEnd_ = true;
            return;
        }
        current_ = static_cast<char>(byte);
    }

    std::FILE *file_;
    char current_ = 0;
    bool atEnd_ = false;
    std::size_t consumed_ = 0;
    bool inString_ = false;
    bool escaped_ = false;
    std::size_t token_ = 0;
    std::size_t tokenStart_ = 0;
    bool tooLong_ = false;
};

// A long excerpt of the input in a message: its end, where the reader stopped.
std::string Shortened(const std::string &text) {
    constexpr std::size_t most = 40;
    return text.size() <= most ? text : "..." + text.substr(text.size() - most);
}

// Follows the parse event by event and keeps only what decides the count: the role of
// each open container (cloc's top object, its by_lang and by_file groups, a SUM entry,
// scc's list of languages, one language), each SUM's code and the languages' total.
class ReportReader {
public:
    explicit ReportReader(const Bytes &bytes)
        : bytes_(bytes) {}

    const std::string &Error() const { return error_; }

    std::int64_t Result() const {
        if (topIsList_) {
            return total_;
        }
        for (std::size_t slot = 0; slot < sums_.size(); ++slot) {
            if (sums_[slot].seen && !sums_[slot].code) {
                throw BadReport(SumName(slot) + " has no code");
            }
            if (sums_[slot].seen) {
                return *sums_[slot].code;
            }
        }
        if (languagesSeen_) {
            return total_;
        }
        if (topKeys_ == 0) {
            return 0;
        }
        throw BadReport("an object with neither cloc's SUM entry nor scc's languageSummary");
    }

    bool null() { return Scalar("null"); }
    bool boolean(bool) { return Scalar("a boolean"); }
    bool string(Json::string_t &) { return Scalar("a string"); }
    bool binary(Json::binary_t &) { return Scalar("binary data"); }
    bool number_integer(Json::number_integer_t count) { return Count(count); }
    bool number_unsigned(Json::number_unsigned_t count) {
        return Count(count > static_cast<std::uint64_t>(Most) ? Most
                                                              : static_cast<std::int64_t>(count));
    }
    bool number_float(Json::number_float_t count, const Json::string_t &text) {
        if ((next_ == Role::Code || next_ == Role::LanguageCode) && std::trunc(count) != count) {
            return Fail(Name(next_) + " is " + Shortened(text) + ", not a whole number of lines");
        }
        return Count(count >= 0x1p63   ? Most
                     : count < -0x1p63 ? Least
                                       : static_cast<std::int64_t>(count));
    }

    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }

    bool key(Json::string_t &name) {
        const Role container = open_[depth_ - 1];
        next_ = Role::Other;
        if (container == Role::Top) {
            ++topKeys_;
            if (name == "SUM") {
                next_ = Role::Sum;
                sum_ = 0;
            } else if (name == "by_lang" || name == "by_file") {
                next_ = Role::Group;
                group_ = name == "by_lang" ? 1 : 2;
            } else if (name == "languageSummary") {
                next_ = Role::Languages;
            }
        } else if (container == Role::Group && name == "SUM") {
            next_ = Role::Sum;
            sum_ = group_;
        } else if (container == Role::Sum && name == "code") {
            next_ = Role::Code;
        } else if (container == Role::Language && name == "Code") {
            next_ = Role::LanguageCode;
        }
        return true;
    }

    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t position, const std::string &last,
                     const nlohmann::detail::exception &error) {
        const std::string at = " at byte " + std::to_string(position);
        if (bytes_.LongTokenStart() != 0) {
            return Fail("a string or number of more than " + std::to_string(MaxToken) +
                        " bytes from byte " + std::to_string(bytes_.LongTokenStart()) +
                        ", longer than any a report holds");
        }
        if (complete_) {
            return Fail("more after the end of the report," + at +
                        "; give each report a --lines-from of its own");
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
        Languages,
        Language,
        LanguageCode
    };

    struct Sum {
        bool seen = false;
        std::optional<std::int64_t> code;
    };

    static std::string SumName(std::size_t slot) {
        static constexpr std::array<const char *, 3> names{"SUM", "the SUM of by_lang",
                                                           "the SUM of by_file"};
        return names[slot];
    }

    std::string Name(Role role) const {
        switch (role) {
        case Role::Group:
            return group_ == 1 ? "by_lang" : "by_file";
        case Role::Sum:
            return SumName(sum_);
        case Role::Code:
            return "the code of " + SumName(sum_);
        case Role::Languages:
            return "languageSummary";
        case Role::Language:
            return "language " + std::to_string(index_ + 1);
        case Role::LanguageCode:
            return "the Code of language " + std::to_string(index_);
        case Role::Top:
        case Role::Other:
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
        case Role::Language:
            return "an object";
        case Role::Languages:
            return "an array";
        case Role::Code:
        case Role::LanguageCode:
            return "a number of lines";
        case Role::Other:
            break;
        }
        return nullptr;
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

    bool Count(std::int64_t count) {
        if (next_ == Role::Code) {
            sums_[sum_].code = count;
        } else if (next_ == Role::LanguageCode) {
            languageCode_ = count;
        } else {
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
        if (role == Role::Sum) {
            // A later SUM replaces an earlier one, as it would in a parsed document.
            sums_[sum_] = {true, std::nullopt};
        } else if (role == Role::Languages) {
            languagesSeen_ = true;
            total_ = 0;
            index_ = 0;
        } else if (role == Role::Language) {
            ++index_;
            languageCode_.reset();
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
    bool languagesSeen_ = false;
    std::size_t index_ = 0; // of the language open or last closed, counted from 1
    std::optional<std::int64_t> languageCode_;
    std::int64_t total_ = 0;
};

} // namespace

std::int64_t CodeLines(std::FILE *file) {
    Bytes bytes(file);
    ReportReader reader(bytes);
    if (!Json::sax_parse(bytes.begin(), Bytes::end(), &reader)) {
        throw BadReport(reader.Error());
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

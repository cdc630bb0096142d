#include "cli/Report.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <string>

namespace cli {
namespace {

using Json = nlohmann::json;

// Follows the parse event by event and keeps only the counts that matter: which kind of
// report the top level is, the SUM entry's code (cloc), and each language's Code (scc).
// A report nests no deeper than a few levels, so deeper input is refused at once.
class ReportReader {
public:
    static constexpr std::size_t MaxDepth = 16;

    std::optional<std::uint64_t> Result() const {
        if (top_ == Top::Cloc && sumCode_) {
            return sumCode_;
        }
        if (top_ == Top::Scc) {
            return sccTotal_;
        }
        return std::nullopt;
    }

    bool null() { return Value(); }
    bool boolean(bool) { return Value(); }
    bool number_integer(Json::number_integer_t) { return Value(); }
    bool number_float(Json::number_float_t, const Json::string_t &) { return Value(); }
    bool string(Json::string_t &) { return Value(); }
    bool binary(Json::binary_t &) { return Value(); }

    bool number_unsigned(Json::number_unsigned_t count) {
        if (depth_ == 2 && (key_ == Key::SumCode || key_ == Key::LanguageCode)) {
            (key_ == Key::SumCode ? sumCode_ : languageCode_) = count;
            key_ = Key::Other;
            return true;
        }
        return Value();
    }

    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }

    bool key(Json::string_t &name) {
        if (depth_ == 1 && top_ == Top::Cloc) {
            key_ = name == "SUM" ? Key::Sum : Key::Other;
        } else if (depth_ == 2 && top_ == Top::Cloc && inSum_) {
            key_ = name == "code" ? Key::SumCode : Key::Other;
        } else if (depth_ == 2 && top_ == Top::Scc) {
            key_ = name == "Code" ? Key::LanguageCode : Key::Other;
        } else {
            key_ = Key::Other;
        }
        return true;
    }

    bool end_object() {
        if (depth_ == 2 && top_ == Top::Scc) {
            if (!languageCode_) {
                return false;
            }
            sccTotal_ = *languageCode_ > std::numeric_limits<std::uint64_t>::max() - sccTotal_
                            ? std::numeric_limits<std::uint64_t>::max()
                            : sccTotal_ + *languageCode_;
        }
        return Close();
    }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) {
        return false;
    }

private:
    enum class Top : std::uint8_t { None, Cloc, Scc };
    enum class Key : std::uint8_t { Other, Sum, SumCode, LanguageCode };

    // A scalar: at the top level no report; as an scc language no language; under a key
    // that wants a count, the count is gone (a later key of the same name may bring it back).
    bool Value() {
        if (depth_ == 0 || (depth_ == 1 && top_ == Top::Scc)) {
            return false;
        }
        if (depth_ == 1 && key_ == Key::Sum) {
            inSum_ = false;
            sumCode_.reset();
        }
        if (depth_ == 2 && key_ == Key::SumCode) {
            sumCode_.reset();
        }
        if (depth_ == 2 && key_ == Key::LanguageCode) {
            languageCode_.reset();
        }
        key_ = Key::Other;
        return true;
    }

    bool Open(bool object) {
        if (depth_ == MaxDepth) {
            return false;
        }
        if (depth_ == 0) {
            top_ = object ? Top::Cloc : Top::Scc;
        } else if (depth_ == 1 && top_ == Top::Scc) {
            if (!object) {
                return false;
            }
            languageCode_.reset();
        } else if (depth_ == 1 && key_ == Key::Sum) {
            // A later SUM replaces an earlier one, as it would in a parsed document.
            inSum_ = object;
            sumCode_.reset();
        } else if (depth_ == 2) {
            Value();
        }
        ++depth_;
        key_ = Key::Other;
        return true;
    }

    bool Close() {
        --depth_;
        if (depth_ == 1) {
            inSum_ = false;
        }
        key_ = Key::Other;
        return true;
    }

    std::size_t depth_ = 0;
    Top top_ = Top::None;
    Key key_ = Key::Other;
    bool inSum_ = false;
    std::optional<std::uint64_t> sumCode_;
    std::optional<std::uint64_t> languageCode_;
    std::uint64_t sccTotal_ = 0;
};

template <class Input> std::optional<std::uint64_t> Read(Input &&input) {
    ReportReader reader;
    if (!Json::sax_parse(std::forward<Input>(input), &reader)) {
        return std::nullopt;
    }
    return reader.Result();
}

} // namespace

std::optional<std::uint64_t> CodeLines(std::string_view report) {
    return Read(report);
}

std::optional<std::uint64_t> CodeLines(std::FILE *file) {
    return Read(file);
}

} // namespace cli

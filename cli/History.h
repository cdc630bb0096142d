#pragma once

#include "engine/History.h"

#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace cli {

// A history table that cannot be read; what() is the whole one-line message, beginning with
// the name given.
class BadHistory : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a table of finished projects from the file; name is how messages name it ("'path'"
// quoted with cli::Quoted, or "standard input").
//
// The table is CSV with a header row, or ARFF: the first line that is neither blank nor a %
// comment tells which, ARFF where it is @relation or @attribute. Columns are found by name,
// in any case: the mode (dev_mode or mode), the size in thousands of lines (kloc, kdsi, loc
// or equivphyskloc), the actual effort in staff-months (actual, act_effort or effort), and
// the fifteen cost drivers by their short names, each a multiplier taken as it is or a rating
// the driver defines; a driver without a column counts 1. Other columns are ignored. Values
// may be quoted (CSV with ", doubled inside; ARFF with ' or ", escaped with \) and have
// blanks around them; blank lines, CRLF line ends and a UTF-8 byte order mark are taken.
// The file is read row by row: nothing but the projects is kept, and a line longer than
// 64 KiB is refused. Throws BadHistory; after a read error, whose message is "cannot read "
// and the name, std::ferror(file) is set.
std::vector<engine::history::Project> ReadHistory(std::FILE *file, std::string_view name);

} // namespace cli

#pragma once

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>

namespace addrix {

// A positions file that cannot be read or holds a line that is no position.
class PositionsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The positions `path` lists for `--only`: one a line, or the first column of
// `addrix list`'s output with its header. Blank lines are passed over; a
// field may be quoted and end at a comma, semicolon or TAB. Throws
// PositionsFileError naming the file (and the line) when it cannot be read or
// a line is no position.
std::set<std::int64_t> ReadPositionsFile(const std::string& path);

} // namespace addrix

#pragma once

#include <string>

namespace addrix {

// Blanks around names and values of the text files the program reads; a stray
// CR counts as one.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// `text` without the blanks at either end.
inline std::string TrimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace addrix

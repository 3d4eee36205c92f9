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

// `c` in lower case when it is an ASCII letter A to Z.
inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `c` in upper case when it is an ASCII letter a to z.
inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// `text` with the ASCII letters A to Z in lower case; other bytes unchanged.
inline std::string AsciiLower(std::string text) {
    for (char& c : text)
        c = AsciiLower(c);
    return text;
}

// `text` with the ASCII letters a to z in upper case; other bytes unchanged.
inline std::string AsciiUpper(std::string text) {
    for (char& c : text)
        c = AsciiUpper(c);
    return text;
}

// `text` without the spaces at either end (tabs and CRs stay).
inline std::string TrimSpaces(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

} // namespace addrix

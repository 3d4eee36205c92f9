#pragma once

#include <string>
#include <string_view>

namespace addrix {

// The blanks the program knows, each where it counts.

// Around a contact's number.
inline bool IsSpace(char c) {
    return c == ' ';
}

// Around a number in a field of a backup line.
inline bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

// Around names and values of the text files the program reads; a stray CR
// counts as one.
inline bool IsBlank(char c) {
    return IsSpaceOrTab(c) || c == '\r';
}

// In a contact's field: the space and the bytes the clean-up makes spaces of.
inline bool IsFieldBlank(char c) {
    return IsBlank(c) || c == '\n';
}

// `text` without the bytes at its start for which `blank` holds.
template <typename Blank> std::string_view TrimStart(std::string_view text, Blank blank) {
    std::size_t begin = 0;
    while (begin < text.size() && blank(text[begin]))
        ++begin;
    return text.substr(begin);
}

// `text` without the bytes at its end for which `blank` holds.
template <typename Blank> std::string_view TrimEnd(std::string_view text, Blank blank) {
    std::size_t end = text.size();
    while (end > 0 && blank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

// `text` without the bytes at either end for which `blank` holds.
template <typename Blank> std::string_view Trim(std::string_view text, Blank blank) {
    return TrimEnd(TrimStart(text, blank), blank);
}

// `text` without the blanks at either end.
inline std::string TrimBlanks(const std::string& text) {
    return std::string(Trim(text, IsBlank));
}

// `text` without the spaces at either end (tabs and CRs stay).
inline std::string TrimSpaces(const std::string& text) {
    return std::string(Trim(text, IsSpace));
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

} // namespace addrix

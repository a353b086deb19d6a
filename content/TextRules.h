#pragma once
// Character rules shared by the parsers of the content store (connection strings, statements,
// filters): ASCII only, whatever the locale.

#include <string_view>

namespace content_detail {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// True when `text` starts with `word` at `at`, compared case-insensitively.
inline bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    return at <= text.size() && text.size() - at >= word.size() &&
           EqualsNoCase(text.substr(at, word.size()), word);
}

} // namespace content_detail

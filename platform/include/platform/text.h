// Texts of the suite are byte strings in the system code page (GBK).
// Lengths and positions count bytes; the helpers here never split a
// double-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

using Text = std::string;

// A GBK lead byte starts a two-byte character (0x81..0xFE).
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Offsets at which characters start; the last entry is the text's length.
inline std::vector<size_t> CharacterStarts(const Text& t) {
    std::vector<size_t> starts;
    size_t i = 0;
    while (i < t.size()) {
        starts.push_back(i);
        i += (IsLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size()) ? 2 : 1;
    }
    starts.push_back(t.size());
    return starts;
}

// Removes ASCII spaces and ideographic spaces (A1 A1) at both ends.
inline Text TrimBlanks(const Text& t) {
    std::vector<size_t> s = CharacterStarts(t);
    size_t first = 0, last = s.size() - 1;  // character indexes [first, last)
    auto isBlank = [&](size_t ci) {
        size_t a = s[ci], len = s[ci + 1] - a;
        if (len == 1) return t[a] == ' ';
        return len == 2 && static_cast<unsigned char>(t[a]) == 0xA1 &&
               static_cast<unsigned char>(t[a + 1]) == 0xA1;
    };
    while (first < last && isBlank(first)) ++first;
    while (last > first && isBlank(last - 1)) --last;
    return t.substr(s[first], s[last] - s[first]);
}

// Splits at every single-byte separator that is a character of its own
// (a GBK trail byte may equal '\\' and is never taken for one).
inline std::vector<Text> SplitCharacters(const Text& t, char sep) {
    std::vector<Text> parts(1);
    std::vector<size_t> s = CharacterStarts(t);
    for (size_t ci = 0; ci + 1 < s.size(); ++ci) {
        size_t a = s[ci], len = s[ci + 1] - a;
        if (len == 1 && t[a] == sep)
            parts.emplace_back();
        else
            parts.back().append(t, a, len);
    }
    return parts;
}

// Byte offset of the last character equal to sep, or npos.
inline size_t FindLastCharacter(const Text& t, char sep) {
    std::vector<size_t> s = CharacterStarts(t);
    size_t found = Text::npos;
    for (size_t ci = 0; ci + 1 < s.size(); ++ci)
        if (s[ci + 1] - s[ci] == 1 && t[s[ci]] == sep) found = s[ci];
    return found;
}

// Byte offset of the first character equal to sep, or npos.
inline size_t FindFirstCharacter(const Text& t, char sep) {
    std::vector<size_t> s = CharacterStarts(t);
    for (size_t ci = 0; ci + 1 < s.size(); ++ci)
        if (s[ci + 1] - s[ci] == 1 && t[s[ci]] == sep) return s[ci];
    return Text::npos;
}

inline bool EndsWithCharacter(const Text& t, char c) {
    return !t.empty() && FindLastCharacter(t, c) == t.size() - 1;
}

// A path that names its place on its own: a drive and its root ("D:\...")
// or a share ("\\server\..."). Any other path is looked up against the
// current directory (or, for a library, the search path).
inline bool IsFullyQualified(const Text& path) {
    auto slash = [](char c) { return c == '\\' || c == '/'; };
    bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (letter && path.size() >= 3 && path[1] == ':' && slash(path[2])) return true;
    return path.size() >= 3 && slash(path[0]) && slash(path[1]) && !slash(path[2]);
}

// ASCII letters in lower case; double-byte characters stay as they are.
inline Text LowerAscii(const Text& t) {
    Text out = t;
    std::vector<size_t> s = CharacterStarts(t);
    for (size_t ci = 0; ci + 1 < s.size(); ++ci)
        if (s[ci + 1] - s[ci] == 1 && out[s[ci]] >= 'A' && out[s[ci]] <= 'Z')
            out[s[ci]] = static_cast<char>(out[s[ci]] - 'A' + 'a');
    return out;
}

}  // namespace platform

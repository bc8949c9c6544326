#include "manifest_values.h"

#include <cctype>

namespace pkgbuild {

namespace {

bool Lead(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x81 && u <= 0xFE;
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
    return s.substr(a, b - a);
}

std::string Lower(const std::string& s) {
    std::string out = s;
    for (size_t i = 0; i < out.size(); ++i) {
        if (Lead(out[i]) && i + 1 < out.size()) {
            ++i;
            continue;
        }
        out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[i])));
    }
    return out;
}

std::vector<std::string> SplitFields(const std::string& value) {
    std::vector<std::string> raw(1);
    bool quoted = false;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (Lead(c) && i + 1 < value.size()) {
            raw.back() += value.substr(i, 2);
            ++i;
        } else if (quoted && c == '\\' && i + 1 < value.size()) {
            raw.back() += value.substr(i, 2);
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            raw.back() += c;
        } else if (c == '|' && !quoted) {
            raw.emplace_back();
        } else {
            raw.back() += c;
        }
    }
    if (quoted) throw ValueError{"a quoted text is not closed"};
    std::vector<std::string> fields;
    for (const std::string& r : raw) fields.push_back(Unquote(r));
    return fields;
}

std::string Unquote(const std::string& field) {
    std::string t = Trim(field);
    if (t.size() < 2 || t.front() != '"' || t.back() != '"') {
        if (!t.empty() && t.front() == '"') throw ValueError{"a quoted text is not closed, or text follows its closing quote"};
        return t;
    }
    std::string out;
    for (size_t i = 1; i + 1 < t.size(); ++i) {
        char c = t[i];
        if (Lead(c) && i + 2 < t.size()) {
            out += t.substr(i, 2);
            ++i;
            continue;
        }
        if (c != '\\') {
            if (c == '"') throw ValueError{"a quote inside a quoted text needs a backslash: \\\""};
            out += c;
            continue;
        }
        if (i + 2 >= t.size()) throw ValueError{"a backslash ends the quoted text"};
        char e = t[++i];
        switch (e) {
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'x': {
                int h1 = i + 1 < t.size() - 1 ? Hex(t[i + 1]) : -1;
                int h2 = i + 2 < t.size() - 1 ? Hex(t[i + 2]) : -1;
                if (h1 < 0 || h2 < 0) throw ValueError{"\\x needs two hex digits"};
                out += static_cast<char>(h1 * 16 + h2);
                i += 2;
                break;
            }
            default:
                throw ValueError{std::string("unknown escape \\") + e +
                                 " (known: \\\\ \\\" \\n \\r \\t \\xHH)"};
        }
    }
    return out;
}

int32_t ReadInt(const std::string& field) {
    std::string t = Trim(field);
    bool negative = false;
    size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    int base = 10;
    if (t.size() - i > 2 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) throw ValueError{"expected a number, found \"" + t + "\""};
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        int d = base == 16 ? Hex(t[i]) : (t[i] >= '0' && t[i] <= '9' ? t[i] - '0' : -1);
        if (d < 0) throw ValueError{"expected a number, found \"" + t + "\""};
        v = v * base + d;
        if (v > 0xFFFFFFFFLL) throw ValueError{"the number " + t + " does not fit in 32 bits"};
    }
    if (negative) v = -v;
    if (base == 16 && !negative && v > 0x7FFFFFFF) v -= 0x100000000LL;  // hex gives the bit pattern
    if (v < INT32_MIN || v > INT32_MAX) throw ValueError{"the number " + t + " does not fit in 32 bits"};
    return static_cast<int32_t>(v);
}

bool ReadSwitch(const std::string& field) {
    std::string t = Lower(Trim(field));
    if (t == "1" || t == "yes" || t == "true" || t == "on") return true;
    if (t == "0" || t == "no" || t == "false" || t == "off") return false;
    throw ValueError{"expected a switch (1/0, yes/no, true/false, on/off), found \"" + Trim(field) + "\""};
}

int32_t ReadColor(const std::string& field) {
    std::string t = Trim(field);
    if (!t.empty() && t[0] == '#') {
        if (t.size() != 7) throw ValueError{"a colour is #RRGGBB, found \"" + t + "\""};
        int32_t rgb = 0;
        for (size_t i = 1; i < 7; ++i) {
            int d = Hex(t[i]);
            if (d < 0) throw ValueError{"a colour is #RRGGBB, found \"" + t + "\""};
            rgb = rgb * 16 + d;
        }
        int32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        return r | (g << 8) | (b << 16);  // red in the lowest byte
    }
    return ReadInt(t);
}

std::vector<std::string> PackagePathParts(const std::string& path) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (Lead(c) && i + 1 < path.size()) {
            parts.back() += path.substr(i, 2);
            ++i;
        } else if (c == '\\' || c == '/') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    for (const std::string& p : parts) {
        if (p.empty()) throw ValueError{"the path \"" + path + "\" has an empty part"};
        if (p == "." || p == "..") throw ValueError{"the path \"" + path + "\" may not hold . or .."};
    }
    if (parts[0].size() >= 2 && parts[0][1] == ':')
        throw ValueError{"the path \"" + path + "\" must be relative"};
    return parts;
}

std::string JoinPackagePath(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : "\\") + p;
    return out;
}

}  // namespace pkgbuild

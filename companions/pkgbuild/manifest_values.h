// Reading the values of manifest lines: fields split at "|", quoted texts,
// numbers, switches, colours, and package paths. Manifests are GBK text, so
// every split steps over double-byte characters whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pkgbuild {

// A value that could not be read: the message says what was expected.
struct ValueError {
    std::string message;
};

// The fields of a value separated by "|" (outside quotes), each trimmed of
// blanks and unquoted. Throws ValueError on an unfinished quote or escape.
std::vector<std::string> SplitFields(const std::string& value);

// One field: trimmed, and when quoted the text inside with its escapes
// (\\ \" \n \r \t \xHH) resolved.
std::string Unquote(const std::string& field);

std::string Trim(const std::string& s);
std::string Lower(const std::string& s);

int32_t ReadInt(const std::string& field);      // decimal with sign, or 0x hex
bool ReadSwitch(const std::string& field);      // 1 0 yes no true false on off
int32_t ReadColor(const std::string& field);    // #RRGGBB, or a number as stored

// A package path: "/" and "\" both separate; the result uses "\". Empty
// parts, "." and ".." are refused.
std::vector<std::string> PackagePathParts(const std::string& path);
std::string JoinPackagePath(const std::vector<std::string>& parts);

}  // namespace pkgbuild

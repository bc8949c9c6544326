// The readable listing of a package: every field, the payload records, and
// where a package stops being readable.
#pragma once

#include <string>

#include "package_reader.h"

namespace pkgbuild {

std::string DumpPackage(const ReadOutcome& r, size_t fileSize);

// Picture format named by the leading bytes, as the installer's picture
// decoder recognises it ("bitmap", "JPEG", ...), or "unknown".
std::string PictureFormat(const std::string& bytes);

}  // namespace pkgbuild

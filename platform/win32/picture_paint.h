// Pictures decoded once for painting: the system's decoder for bitmaps,
// JPEG, GIF, icons and cursors, our own for PCX.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace win32 {

class Picture {
public:
    virtual ~Picture() = default;
    // The picture's own size in pixels.
    int width = 0, height = 0;
    // Paints the picture stretched into r.
    virtual void paint(HDC dc, const RECT& r) const = 0;
};

// nullptr when the bytes are not a picture that can be decoded.
std::unique_ptr<Picture> DecodePicture(const std::string& bytes);

}  // namespace win32

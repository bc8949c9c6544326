#include "picture_paint.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "../common/pcx.h"
#include "../common/picture.h"

namespace win32 {

using platform::PictureFormat;

namespace {

// A picture in a 32-bit DIB section.
class DibPicture : public Picture {
public:
    ~DibPicture() override {
        if (bitmap_) DeleteObject(bitmap_);
    }
    static std::unique_ptr<Picture> From(const platform::DecodedPicture& d) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = d.width;
        bi.bmiHeader.biHeight = -d.height;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bmp || !bits) return nullptr;
        // 0x00RRGGBB is the DIB's own order of blue, green, red bytes.
        std::memcpy(bits, d.pixels.data(), d.pixels.size() * sizeof(uint32_t));
        GdiFlush();
        auto p = std::make_unique<DibPicture>();
        p->bitmap_ = bmp;
        p->width = d.width;
        p->height = d.height;
        return p;
    }
    void paint(HDC dc, const RECT& r) const override {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, bitmap_);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, width, height, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }

private:
    HBITMAP bitmap_ = nullptr;
};

// A picture the system decoded (OLE picture object).
class SystemPicture : public Picture {
public:
    ~SystemPicture() override {
        if (picture_) picture_->Release();
    }
    static std::unique_ptr<Picture> From(const std::string& bytes, int w, int h) {
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!mem) return nullptr;
        void* at = GlobalLock(mem);
        if (!at) {
            GlobalFree(mem);
            return nullptr;
        }
        std::memcpy(at, bytes.data(), bytes.size());
        GlobalUnlock(mem);
        IStream* stream = nullptr;
        if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) {
            GlobalFree(mem);
            return nullptr;
        }
        IPicture* pic = nullptr;
        HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&pic));
        stream->Release();  // frees the memory too
        if (FAILED(hr) || !pic) return nullptr;
        auto p = std::make_unique<SystemPicture>();
        p->picture_ = pic;
        pic->get_Width(&p->hmWidth_);
        pic->get_Height(&p->hmHeight_);
        p->width = w;
        p->height = h;
        return p;
    }
    void paint(HDC dc, const RECT& r) const override {
        // The source rectangle runs bottom-up in HIMETRIC.
        picture_->Render(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, hmHeight_, hmWidth_,
                         -hmHeight_, nullptr);
    }

private:
    IPicture* picture_ = nullptr;
    OLE_XSIZE_HIMETRIC hmWidth_ = 0;
    OLE_YSIZE_HIMETRIC hmHeight_ = 0;
};

// The picture object reads icons only; a cursor file is an icon file with
// a hot spot in place of the planes and bit count of each image.
std::string CursorAsIcon(std::string bytes) {
    bytes[2] = 1;
    size_t count = static_cast<unsigned char>(bytes[4]) | (static_cast<unsigned char>(bytes[5]) << 8);
    for (size_t i = 0; i < count && 6 + 16 * (i + 1) <= bytes.size(); ++i) {
        size_t e = 6 + 16 * i;
        bytes[e + 4] = 1, bytes[e + 5] = 0;  // one plane
        bytes[e + 6] = 0, bytes[e + 7] = 0;  // bit count from the image itself
    }
    return bytes;
}

}  // namespace

std::unique_ptr<Picture> DecodePicture(const std::string& bytes) {
    auto info = platform::InspectPicture(bytes);
    if (!info || info->width <= 0 || info->height <= 0) return nullptr;
    switch (info->format) {
        case PictureFormat::Pcx: {
            auto d = platform::DecodePcx(bytes);
            return d ? DibPicture::From(*d) : nullptr;
        }
        case PictureFormat::Cursor:
            return SystemPicture::From(CursorAsIcon(bytes), info->width, info->height);
        case PictureFormat::Bitmap:
        case PictureFormat::Jpeg:
        case PictureFormat::Gif:
        case PictureFormat::Icon:
            return SystemPicture::From(bytes, info->width, info->height);
    }
    return nullptr;
}

}  // namespace win32

#include "ui/win32/pictures.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/bitmap_file.h"
#include "ui/win32/fitted_picture.h"
#include "ui/win32/late_library.h"
#include "ui/win32/metrics.h"
#include "ui/win32/paint.h"

namespace bv::ui::win32 {

namespace {

constexpr std::size_t kMaxPictureBytes = 256u << 20;

const char kInvalidPicture[] = "Invalid picture";

struct Ole {
    decltype(&CreateStreamOnHGlobal) createStream = nullptr;
    decltype(&OleLoadPicture) loadPicture = nullptr;
    decltype(&OleUninitialize) uninitialize = nullptr;
    bool started = false;
};
Ole gOle;

int himetricToPixels(long himetric, int dpi) {
    return MulDiv(static_cast<int>(himetric), dpi, 2540);
}

// The decoder reads from a stream over a movable memory block; the stream
// owns the block from here on.
PicturePtr decodeGlobal(HGLOBAL block, std::size_t size) {
    try {
        startOle();
    } catch (...) {
        GlobalFree(block);
        throw;
    }
    IStream* stream = nullptr;
    if (FAILED(gOle.createStream(block, TRUE, &stream)) || !stream) {
        GlobalFree(block);
        throw Failure("Out of memory");
    }
    IPicture* picture = nullptr;
    const HRESULT hr = gOle.loadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture)
        throw Failure(kInvalidPicture);
    return std::make_shared<const LoadedPicture>(picture);
}

HGLOBAL allocate(std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        throw Failure("Out of memory");
    return block;
}

// An uncompressed bitmap file made into a DIB section by GDI alone:
// previewing ordinary .bmp files then never loads OLE. Null for other
// formats and headers, which go to the platform's decoder as before.
// Throws Failure("Invalid picture") for a broken one: the decoder would show
// rows past the file's end from whatever memory follows.
PicturePtr decodePlainBitmap(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kFileHeader = 14, kInfoHeader = 40;
    const BitmapFile file = readBitmapFile(data, size);
    if (file.verdict == BitmapFile::Verdict::NotPlain)
        return nullptr;
    if (file.verdict == BitmapFile::Verdict::Broken)
        throw Failure(kInvalidPicture);
    const unsigned char* info = data + kFileHeader;
    const std::uint32_t used = file.colors;

    // The header as GDI takes it, aligned, plain size, with its palette.
    std::vector<std::uint32_t> header((kInfoHeader + std::size_t{used} * 4) / 4);
    std::memcpy(header.data(), info, kInfoHeader);
    std::memcpy(header.data() + kInfoHeader / 4, info + file.infoSize, std::size_t{used} * 4);
    auto* bitmapInfo = reinterpret_cast<BITMAPINFO*>(header.data());
    bitmapInfo->bmiHeader.biSize = kInfoHeader;
    bitmapInfo->bmiHeader.biSizeImage = 0;
    bitmapInfo->bmiHeader.biClrUsed = used;
    void* pixels = nullptr;
    HBITMAP bitmap = makeSection(*bitmapInfo, pixels);
    std::memcpy(pixels, data + file.pixelsAt, file.stride * file.rows);
    return std::make_shared<const LoadedPicture>(bitmap);
}

std::string resourceMissing(int id) {
    return "Resource with identifier '" + std::to_string(id) + "' not found";
}

}  // namespace

HBITMAP makeSection(const BITMAPINFO& info, void*& pixels) {
    pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap)
            DeleteObject(bitmap);
        throw Failure("Out of memory");
    }
    return bitmap;
}

void startOle() {
    if (gOle.loadPicture)
        return;
    Ole ole;
    ole.createStream =
        lateFunction<decltype(ole.createStream)>("ole32.dll", "CreateStreamOnHGlobal");
    ole.uninitialize = lateFunction<decltype(ole.uninitialize)>("ole32.dll", "OleUninitialize");
    const auto initialize = lateFunction<decltype(&OleInitialize)>("ole32.dll", "OleInitialize");
    ole.loadPicture = lateFunction<decltype(ole.loadPicture)>("oleaut32.dll", "OleLoadPicture");
    ole.started = SUCCEEDED(initialize(nullptr));
    gOle = ole;
}

void endOle() {
    if (gOle.started)
        gOle.uninitialize();
    gOle = Ole{};
}

LoadedPicture::LoadedPicture(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP info{};
    if (GetObjectW(bitmap_, sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

// The mask is made once, and the key's pixels turned black, so that drawing
// is an AND with the mask and an OR with the bitmap.
LoadedPicture::LoadedPicture(HBITMAP bitmap, COLORREF key) : LoadedPicture(bitmap) {
    mask_ = CreateBitmap(width_, height_, 1, 1, nullptr);
    HDC image = CreateCompatibleDC(nullptr);
    HDC mask = CreateCompatibleDC(nullptr);
    if (!mask_ || !image || !mask) {
        if (image)
            DeleteDC(image);
        if (mask)
            DeleteDC(mask);
        throw Failure("Out of memory");
    }
    HGDIOBJ oldImage = SelectObject(image, bitmap_);
    HGDIOBJ oldMask = SelectObject(mask, mask_);
    SetBkColor(image, key);
    BitBlt(mask, 0, 0, width_, height_, image, 0, 0, SRCCOPY);
    SetBkColor(image, RGB(0, 0, 0));
    SetTextColor(image, RGB(255, 255, 255));
    BitBlt(image, 0, 0, width_, height_, mask, 0, 0, SRCAND);
    SelectObject(image, oldImage);
    SelectObject(mask, oldMask);
    DeleteDC(image);
    DeleteDC(mask);
}

LoadedPicture::LoadedPicture(HBITMAP bitmap, HBITMAP mask) : LoadedPicture(bitmap) {
    mask_ = mask;
}

bool LoadedPicture::transparent() const {
    DWORD attributes = 0;
    return mask_ || (ole_ && SUCCEEDED(ole_->get_Attributes(&attributes)) &&
                     (attributes & PICTURE_TRANSPARENT));
}

LoadedPicture::LoadedPicture(IPicture* picture) : ole_(picture) {
    short type = PICTYPE_NONE;
    ole_->get_Type(&type);
    if (type == PICTYPE_BITMAP) {
        OLE_HANDLE handle = 0;
        BITMAP info{};
        if (SUCCEEDED(ole_->get_Handle(&handle)) &&
            GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof info,
                       &info)) {
            width_ = info.bmWidth;
            height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
            return;
        }
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    ole_->get_Width(&w);
    ole_->get_Height(&h);
    width_ = himetricToPixels(w, screenDpi().x);
    height_ = himetricToPixels(h, screenDpi().y);
}

LoadedPicture::~LoadedPicture() {
    if (bitmap_)
        DeleteObject(bitmap_);
    if (mask_)
        DeleteObject(mask_);
    if (ole_)
        ole_->Release();
}

void LoadedPicture::draw(HDC dc, const RECT& dest) const {
    const int w = dest.right - dest.left;
    const int h = dest.bottom - dest.top;
    if (w <= 0 || h <= 0 || width_ <= 0 || height_ <= 0)
        return;
    const bool stretched = w != width_ || h != height_;
    // Whole multiples (twice 96 dots per inch) keep every pixel sharp, and so
    // do see-through edges, which a smoothed mask would fringe; other sizes
    // are smoothed.
    const bool whole = w % width_ == 0 && h % height_ == 0 && w / width_ == h / height_;
    const bool smoothed = stretched && !whole && !mask_;
    RECT visible{};
    if (smoothed && bitmap_ && GetClipBox(dc, &visible) != ERROR &&
        (visible.left > dest.left || visible.top > dest.top || visible.right < dest.right ||
         visible.bottom < dest.bottom)) {
        // Wine smooths only the part that the target shows, sampled anew, so
        // that a picture cut by its window's edge or met by a partial repaint
        // came out shifted there: the whole is smoothed off screen first.
        paintOffScreen(dc, dest, [&](HDC buffer) { drawOn(buffer, dest, stretched, smoothed); });
        return;
    }
    drawOn(dc, dest, stretched, smoothed);
}

void LoadedPicture::drawOn(HDC dc, const RECT& dest, bool stretched, bool smoothed) const {
    const int w = dest.right - dest.left;
    const int h = dest.bottom - dest.top;
    int oldMode = 0;
    POINT oldOrigin{};
    if (stretched) {
        oldMode = SetStretchBltMode(dc, smoothed ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    }
    if (bitmap_) {
        if (HDC source = CreateCompatibleDC(dc)) {
            auto copy = [&](HBITMAP from, DWORD rop) {
                HGDIOBJ old = SelectObject(source, from);
                if (stretched)
                    StretchBlt(dc, dest.left, dest.top, w, h, source, 0, 0, width_, height_, rop);
                else
                    BitBlt(dc, dest.left, dest.top, w, h, source, 0, 0, rop);
                SelectObject(source, old);
            };
            if (mask_) {
                // The mask's 1s keep the background (white), its 0s clear it.
                const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
                const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
                copy(mask_, SRCAND);
                SetBkColor(dc, oldBack);
                SetTextColor(dc, oldText);
                copy(bitmap_, SRCPAINT);
            } else {
                copy(bitmap_, SRCCOPY);
            }
            DeleteDC(source);
        }
    } else if (ole_) {
        OLE_XSIZE_HIMETRIC hmW = 0;
        OLE_YSIZE_HIMETRIC hmH = 0;
        ole_->get_Width(&hmW);
        ole_->get_Height(&hmH);
        // Source rectangles of IPicture run bottom-up in HIMETRIC.
        ole_->Render(dc, dest.left, dest.top, w, h, 0, hmH, hmW, -hmH, nullptr);
    }
    if (stretched) {
        SetStretchBltMode(dc, oldMode);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    }
}

PicturePtr decodePicture(const void* data, std::size_t size) {
    if (!data || size == 0)
        throw Failure(kInvalidPicture);
    if (size > kMaxPictureBytes)
        throw Failure("Out of memory");
    if (PicturePtr plain = decodePlainBitmap(static_cast<const unsigned char*>(data), size))
        return plain;
    HGLOBAL block = allocate(size);
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        throw Failure("Out of memory");
    }
    std::memcpy(bytes, data, size);
    GlobalUnlock(block);
    return decodeGlobal(block, size);
}

PicturePtr loadPictureFile(const std::string& path) {
    const std::string bytes = fs::readFile(path);
    return decodePicture(bytes.data(), bytes.size());
}

PicturePtr PictureCache::resource(const PictureRef& ref, SIZE size) {
    PicturePtr whole = resource(ref);
    if (!whole || size.cx <= 0 || size.cy <= 0 ||
        (size.cx == whole->width() && size.cy == whole->height()))
        return whole;
    PicturePtr& fitted = cache_[std::make_tuple(ref.type, ref.resource, size.cx, size.cy)];
    if (!fitted)
        fitted = fitPicture(*whole, size);
    return fitted;
}

PicturePtr PictureCache::resource(const PictureRef& ref) {
    const auto key = std::make_tuple(ref.type, ref.resource, LONG{0}, LONG{0});
    if (auto it = cache_.find(key); it != cache_.end())
        return it->second;

    PicturePtr picture;
    if (ref.type == PictureType::Bitmap || ref.type == PictureType::GifAsBitmap) {
        HANDLE bitmap = LoadImageW(module_, MAKEINTRESOURCEW(ref.resource), IMAGE_BITMAP, 0, 0,
                                   LR_CREATEDIBSECTION);
        if (!bitmap)
            throw Failure(resourceMissing(ref.resource));
        const auto handle = static_cast<HBITMAP>(bitmap);
        if (ref.type == PictureType::Bitmap)
            picture = std::make_shared<const LoadedPicture>(handle);
        else
            picture = std::make_shared<const LoadedPicture>(handle, RGB(255, 0, 255));
    } else if (ref.type == PictureType::Jpeg || ref.type == PictureType::Gif) {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(ref.resource), RT_RCDATA);
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data)
            throw Failure(resourceMissing(ref.resource));
        picture = decodePicture(data, SizeofResource(module_, found));
    } else {
        return nullptr;
    }
    cache_.emplace(key, picture);
    return picture;
}

}  // namespace bv::ui::win32

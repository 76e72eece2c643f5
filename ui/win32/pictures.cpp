#include "ui/win32/pictures.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/win32/late_library.h"
#include "ui/win32/metrics.h"

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

std::string resourceMissing(int id) {
    return "Resource with identifier '" + std::to_string(id) + "' not found";
}

}  // namespace

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
    if (ole_)
        ole_->Release();
}

void LoadedPicture::draw(HDC dc, const RECT& dest) const {
    const int w = dest.right - dest.left;
    const int h = dest.bottom - dest.top;
    if (w <= 0 || h <= 0 || width_ <= 0 || height_ <= 0)
        return;
    const bool stretched = w != width_ || h != height_;
    int oldMode = 0;
    POINT oldOrigin{};
    if (stretched) {
        oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    }
    if (bitmap_) {
        if (HDC source = CreateCompatibleDC(dc)) {
            HGDIOBJ old = SelectObject(source, bitmap_);
            if (stretched)
                StretchBlt(dc, dest.left, dest.top, w, h, source, 0, 0, width_, height_, SRCCOPY);
            else
                BitBlt(dc, dest.left, dest.top, w, h, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
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

PicturePtr PictureCache::resource(const PictureRef& ref) {
    const auto key = std::make_pair(ref.type, ref.resource);
    if (auto it = cache_.find(key); it != cache_.end())
        return it->second;

    PicturePtr picture;
    if (ref.type == PictureType::Bitmap) {
        HANDLE bitmap = LoadImageW(module_, MAKEINTRESOURCEW(ref.resource), IMAGE_BITMAP, 0, 0,
                                   LR_CREATEDIBSECTION);
        if (!bitmap)
            throw Failure(resourceMissing(ref.resource));
        picture = std::make_shared<const LoadedPicture>(static_cast<HBITMAP>(bitmap));
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

#pragma once
// Pictures for image controls: the program's bitmap resources, JPEG and GIF
// data kept as raw resources, and picture files chosen at run time. JPEG, GIF
// and files go through the platform's own decoder (OLE pictures), except
// plain uncompressed bitmap files, which GDI alone takes.
#include <windows.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "ui/layout.h"

struct IPicture;

namespace bv::ui::win32 {

class LoadedPicture {
  public:
    // All take ownership. With a key, pixels of that colour are see-through.
    explicit LoadedPicture(HBITMAP bitmap);
    LoadedPicture(HBITMAP bitmap, COLORREF key);
    // `mask`: a monochrome bitmap, 1 where see-through, where `bitmap` is black.
    LoadedPicture(HBITMAP bitmap, HBITMAP mask);
    explicit LoadedPicture(IPicture* picture);
    ~LoadedPicture();
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;

    // Size in pixels.
    int width() const { return width_; }
    int height() const { return height_; }
    // Some parts leave the background as it is.
    bool transparent() const;

    // Draws the whole picture into `dest`, stretched when the sizes differ.
    // Transparent parts of a GIF leave the background as it is.
    void draw(HDC dc, const RECT& dest) const;

  private:
    // Straight onto `dc`, in the stretch mode given.
    void drawOn(HDC dc, const RECT& dest, bool stretched, bool smoothed) const;

    HBITMAP bitmap_ = nullptr;
    HBITMAP mask_ = nullptr;  // keyed bitmaps: 1 where see-through
    IPicture* ole_ = nullptr;
    int width_ = 0, height_ = 0;
};

using PicturePtr = std::shared_ptr<const LoadedPicture>;

// OLE is loaded and started on this thread at the first picture that needs
// the platform's decoder, or the first file dialog, never at start: a window
// of bitmaps alone does without it. endOle undoes startOle at the end.
void startOle();
void endOle();

// A DIB section as `info` describes it, its pixels at `pixels`. Throws
// Failure("Out of memory").
HBITMAP makeSection(const BITMAPINFO& info, void*& pixels);

// Throws Failure("Invalid picture") for data the decoder refuses.
PicturePtr decodePicture(const void* data, std::size_t size);

// Reads the file anew on every call: its content on disk may have changed.
// Throws the data store's Failure for a file that cannot be read, or
// Failure("Invalid picture").
PicturePtr loadPictureFile(const std::string& path);

// The program's own picture resources, each decoded once: the agent swaps
// its button bitmaps twice a second.
class PictureCache {
  public:
    explicit PictureCache(HINSTANCE module) : module_(module) {}
    // Throws Failure when the resource is missing or cannot be decoded.
    PicturePtr resource(const PictureRef& ref);
    // The same made `size` pixels large, once: a stretched image that shows
    // it paints a plain copy.
    PicturePtr resource(const PictureRef& ref, SIZE size);
    void clear() { cache_.clear(); }

  private:
    HINSTANCE module_;
    // By type, resource, width and height; 0 x 0 for the picture as it is.
    std::map<std::tuple<PictureType, int, LONG, LONG>, PicturePtr> cache_;
};

}  // namespace bv::ui::win32

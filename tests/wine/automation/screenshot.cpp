#include "automation/screenshot.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "automation/pixels.h"

namespace bv::automation {

namespace {

// A 24-bit bottom-up bitmap file, the form every viewer reads.
std::vector<char> bitmapFile(const Pixels& pixels) {
    const DWORD stride = (static_cast<DWORD>(pixels.width) * 3 + 3) & ~3u;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = pixels.width;
    info.biHeight = pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = stride * static_cast<DWORD>(pixels.height);
    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + info.biSizeImage;

    std::vector<char> bytes(head.bfSize);
    std::memcpy(bytes.data(), &head, sizeof head);
    std::memcpy(bytes.data() + sizeof head, &info, sizeof info);
    for (LONG y = 0; y < pixels.height; ++y) {
        char* row =
            bytes.data() + head.bfOffBits + stride * static_cast<DWORD>(pixels.height - 1 - y);
        for (LONG x = 0; x < pixels.width; ++x) {
            const std::uint32_t pixel = pixels.at(x, y);
            row[3 * x] = static_cast<char>(pixel & 0xFF);
            row[3 * x + 1] = static_cast<char>((pixel >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<char>((pixel >> 16) & 0xFF);
        }
    }
    return bytes;
}

void writeFile(const std::wstring& path, const std::vector<char>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create screenshot file");
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) {
        DeleteFileW(path.c_str());
        throw std::runtime_error("cannot write screenshot file");
    }
}

}  // namespace

std::wstring screenshotFolder() {
    wchar_t buffer[MAX_PATH] = {};
    std::wstring folder;
    const DWORD length = GetEnvironmentVariableW(L"BV_SCREENSHOT_DIR", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        folder = buffer;
    } else {
        GetCurrentDirectoryW(MAX_PATH, buffer);
        folder = std::wstring(buffer) + L"\\screenshots";
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring saveScreenshot(HWND window, const std::wstring& name) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window != nullptr && !GetWindowRect(window, &area))
        throw std::runtime_error("no such window");
    const std::wstring path = screenshotFolder() + L"\\" + name + L".bmp";
    writeFile(path, bitmapFile(captureScreen(area)));
    return path;
}

}  // namespace bv::automation

// File operations of the Windows build: the wide-character functions that
// Windows XP offers, on the paths exactly as given.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "datastore/text.h"
#include "datastore/wide.h"
#include "datastore/win32_error.h"

namespace bv::fs {

namespace {

std::wstring wide(const std::string& utf8) {
    return text::widen(utf8);
}

[[noreturn]] void fail(const char* what, const std::string& path) {
    throw Failure(std::string(what) + ": " + path);
}

[[noreturn]] void failError(DWORD error, const std::string& path) {
    throw win32Failure(error, path);
}

[[noreturn]] void failLast(const std::string& path) {
    failError(GetLastError(), path);
}

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    Handle() = default;
    explicit Handle(HANDLE handle) : h(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    bool close() {
        if (h == INVALID_HANDLE_VALUE)
            return true;
        HANDLE old = h;
        h = INVALID_HANDLE_VALUE;
        return CloseHandle(old) != FALSE;
    }
};

// The directory entry of an ordinary file at exactly this path, if there is one.
bool findOrdinaryFile(const std::string& path, WIN32_FIND_DATAW& found) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos)
        return false;  // a pattern would match other names
    HANDLE search = FindFirstFileW(wide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    const DWORD hiddenKinds =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (found.dwFileAttributes & hiddenKinds) == 0;
}

std::wstring folderOf(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return L".";
    return path.substr(0, slash + 1);
}

// Moves the filled file over the destination. Another program may hold the
// destination open for a moment without sharing its deletion (a picture
// loader, a note reader), and Windows refuses the replace meanwhile; it is
// tried again for about a second before the refusal is reported.
bool moveOver(const wchar_t* from, const std::wstring& to) {
    constexpr int kRetries = 200;
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from, to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
            attempt == kRetries) {
            SetLastError(error);
            return false;
        }
        Sleep(attempt < 5 ? 0 : 5);
    }
}

// Fills a new file beside the destination and then moves it over the
// destination in one step: a running agent that hands a bitmap's path to the
// system never sees a half-written file, and a failure leaves the old file.
template <typename Fill>
void replaceFile(const std::string& path, Fill fill) {
    std::wstring target = wide(path);
    // Checked first because a replace by rename would slip past a read-only
    // flag where file permissions are not enforced (Wine as root).
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        fail("Permission denied", path);
    wchar_t temp[MAX_PATH + 1] = {};
    if (GetTempFileNameW(folderOf(target).c_str(), L"bvt", 0, temp) == 0) {
        DWORD error = GetLastError();
        failError(error == ERROR_DIRECTORY ? ERROR_PATH_NOT_FOUND : error, path);
    }
    try {
        fill(temp);
        if (!moveOver(temp, target))
            failLast(path);
    } catch (...) {
        SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temp);
        throw;
    }
}

}  // namespace

bool fileExists(const std::string& path) noexcept {
    try {
        WIN32_FIND_DATAW found;
        return findOrdinaryFile(path, found);
    } catch (...) {
        return false;
    }
}

std::string bareName(const std::string& path) noexcept {
    try {
        WIN32_FIND_DATAW found;
        return findOrdinaryFile(path, found) ? text::narrow(found.cFileName) : std::string();
    } catch (...) {
        return {};
    }
}

// Asked every time the mouse moves over a slot: one attribute query is far
// cheaper than a directory search, and tells the same ordinary files apart.
std::optional<FileStamp> fileStamp(const std::string& path) noexcept {
    try {
        if (path.empty() || path.find_first_of("*?") != std::string::npos)
            return std::nullopt;
        WIN32_FILE_ATTRIBUTE_DATA found;
        if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &found))
            return std::nullopt;
        const DWORD hiddenKinds =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (found.dwFileAttributes & hiddenKinds)
            return std::nullopt;
        FileStamp stamp;
        stamp.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
        auto ticks = [](const FILETIME& t) {
            return static_cast<std::int64_t>((std::uint64_t{t.dwHighDateTime} << 32) |
                                             t.dwLowDateTime);
        };
        stamp.written = ticks(found.ftLastWriteTime);
        stamp.created = ticks(found.ftCreationTime);
        return stamp;
    } catch (...) {
        return std::nullopt;
    }
}

void makeDirectory(const std::string& path) {
    if (!CreateDirectoryW(wide(path).c_str(), nullptr))
        failLast(path);
}

void copyFile(const std::string& from, const std::string& to) {
    std::wstring source = wide(from);
    DWORD attributes = GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        failLast(from);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        fail("Permission denied", from);
    replaceFile(to, [&](const wchar_t* temp) {
        if (!CopyFileW(source.c_str(), temp, FALSE)) {
            DWORD error = GetLastError();
            // Blame the side that failed: the source vanished or is locked,
            // or the destination folder cannot take the copy.
            failError(error,
                      GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES ? from : to);
        }
        // CopyFile carries the source's attributes over; a hidden or read-only
        // copy would later count as missing or refuse the next copy.
        SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL);
    });
}

void deleteFile(const std::string& path) {
    std::wstring target = wide(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        fail("File not found", path);  // only ordinary files are deleted by name
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        fail("Permission denied", path);
    if (!DeleteFileW(target.c_str()))
        failLast(path);
}

FileReader::FileReader(const std::string& path) : path_(path) {
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        failLast(path);
    handle_ = reinterpret_cast<std::intptr_t>(file);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        failError(error, path);
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

FileReader::~FileReader() {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t FileReader::read(void* to, std::size_t n) {
    auto* at = static_cast<char*>(to);
    std::size_t done = 0;
    while (done < n) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 30));
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), at + done, want, &got, nullptr))
            failLast(path_);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void FileReader::seek(std::uint64_t offset) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), at, nullptr, FILE_BEGIN))
        failLast(path_);
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    replaceFile(
        path,
        [&](const wchar_t* temp) {
            Handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file.h == INVALID_HANDLE_VALUE)
                failLast(path);
            std::string_view left = bytes;
            while (!left.empty()) {
                DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left.size(), 1 << 20));
                DWORD written = 0;
                if (!WriteFile(file.h, left.data(), chunk, &written, nullptr) || written == 0)
                    failLast(path);
                left.remove_prefix(written);
            }
            if (!file.close())
                failLast(path);
        });
}

}  // namespace bv::fs

// File operations of the native build: drive C: is a host folder, looked up
// without regard to case the way Windows does, so the portable code and its
// tests see the same paths as the Windows programs.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "datastore/failure.h"
#include "datastore/fileops.h"

namespace bv::fs {

namespace {

std::string& driveRoot() {
    static std::string root;
    return root;
}

[[noreturn]] void fail(const char* what, const std::string& path) {
    throw Failure(std::string(what) + ": " + path);
}

bool isDirectory(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& host) {
    std::size_t slash = host.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : host.substr(0, slash);
}

// Names an errno the way a Windows user reads it: a missing file in an
// existing folder is "File not found", a missing folder "Path not found".
[[noreturn]] void failErrno(int error, const std::string& path, const std::string& host) {
    switch (error) {
        case ENOENT:
            fail(isDirectory(parentOf(host)) ? "File not found" : "Path not found", path);
        case ENOTDIR:
            fail("Path not found", path);
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
        case EISDIR:
        case EBUSY:
            fail("Permission denied", path);
        case ENOSPC:
        case EDQUOT:
            fail("Disk full", path);
        case ENAMETOOLONG:
            fail("Bad file name or number", path);
        case EIO:
            fail("Device I/O error", path);
        default:
            fail("Path/File access error", path);
    }
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

// The entry of `folder` that Windows would take for `name`: the exact name
// when it exists, else one that differs only in case, else the name itself.
std::string entryName(const std::string& folder, const std::string& name) {
    struct stat st {};
    if (::lstat((folder + '/' + name).c_str(), &st) == 0)
        return name;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return name;
    std::string found = name;
    while (const dirent* entry = ::readdir(dir)) {
        if (sameIgnoringCase(entry->d_name, name)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::string resolve(const std::string& path) {
    if (path.empty() || path.find_first_of(std::string_view("*?\0", 3)) != std::string::npos)
        fail("Bad file name or number", path);
    std::string rest;
    std::string host;
    bool absolute = true;
    if (path.size() >= 2 && path[1] == ':') {
        if (lowerAscii(path[0]) != 'c')
            fail("Device unavailable", path);
        rest = path.substr(2);
    } else if (path.starts_with("\\\\") || path.starts_with("//")) {
        fail("Path not found", path);  // no network shares here
    } else if (path[0] == '\\' || path[0] == '/') {
        rest = path;
    } else {
        // Relative paths, like setup's package sources, start at the current directory.
        absolute = false;
        rest = path;
        host = ".";
    }
    if (absolute) {
        if (driveRoot().empty())
            fail("Device unavailable", path);  // never the host's own root
        host = driveRoot();
    }
    // "." and ".." are taken apart by name first, as Windows does, so that
    // no path leads out of the folder that stands for the drive.
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = rest.size();
        std::string part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    bool lookUp = true;
    for (const std::string& part : parts) {
        std::string name = lookUp ? entryName(host, part) : part;
        host += '/';
        host += name;
        lookUp = lookUp && isDirectory(host);
    }
    if (!parts.empty() && (rest.back() == '\\' || rest.back() == '/'))
        host += '/';  // "file\" names no file, as on Windows
    return host;
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool regularFile(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Without attributes on the host, a file with no write permission for
// anybody plays the part of a read-only file.
bool readOnly(const struct stat& st) {
    return (st.st_mode & 0222) == 0;
}

void writeAll(int fd, std::string_view bytes, const std::string& path, const std::string& host) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failErrno(errno, path, host);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Fills a new file beside the destination and renames it over the
// destination, so that a failure at any point leaves the old file as it was.
void replaceFile(const std::string& path,
                 const std::function<void(int, const std::string&)>& fill) {
    std::string host = resolve(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || readOnly(st)))
        fail("Permission denied", path);
    std::string temp = parentOf(host) + "/.bv-XXXXXX";
    Descriptor out{::mkstemp(temp.data())};
    if (out.fd < 0)
        failErrno(errno, path, host);
    try {
        fill(out.fd, host);
        if (::fchmod(out.fd, 0644) != 0)
            failErrno(errno, path, host);
        int fd = out.fd;
        out.fd = -1;
        if (::close(fd) != 0)
            failErrno(errno, path, host);
        if (::rename(temp.c_str(), host.c_str()) != 0)
            failErrno(errno, path, host);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

}  // namespace

void setDriveRoot(const std::string& hostFolder) {
    std::string root = hostFolder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    driveRoot() = root;
}

std::string hostPath(const std::string& windowsPath) {
    return resolve(windowsPath);
}

bool fileExists(const std::string& path) noexcept {
    try {
        return regularFile(resolve(path));
    } catch (...) {
        return false;
    }
}

std::string bareName(const std::string& path) noexcept {
    try {
        std::string host = resolve(path);
        if (!regularFile(host))
            return {};
        return host.substr(host.rfind('/') + 1);
    } catch (...) {
        return {};
    }
}

std::optional<FileStamp> fileStamp(const std::string& path) noexcept {
    try {
        struct stat st {};
        if (::stat(resolve(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        FileStamp stamp;
        stamp.size = static_cast<std::uint64_t>(st.st_size);
        stamp.written =
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        stamp.created =
            static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        return stamp;
    } catch (...) {
        return std::nullopt;
    }
}

void makeDirectory(const std::string& path) {
    std::string host = resolve(path);
    if (::mkdir(host.c_str(), 0777) != 0)
        failErrno(errno, path, host);
}

void copyFile(const std::string& from, const std::string& to) {
    std::string source = resolve(from);
    Descriptor in{::open(source.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        failErrno(errno, from, source);
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
        fail("Permission denied", from);
    replaceFile(to, [&](int out, const std::string& host) {
        std::vector<char> buffer(1 << 16);
        for (;;) {
            ssize_t got = ::read(in.fd, buffer.data(), buffer.size());
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                failErrno(errno, from, source);
            }
            if (got == 0)
                break;
            writeAll(out, std::string_view(buffer.data(), static_cast<std::size_t>(got)), to, host);
        }
    });
}

void deleteFile(const std::string& path) {
    std::string host = resolve(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0)
        failErrno(errno, path, host);
    if (!S_ISREG(st.st_mode))
        fail("File not found", path);  // only ordinary files are deleted by name
    if (readOnly(st))
        fail("Permission denied", path);
    if (::unlink(host.c_str()) != 0)
        failErrno(errno, path, host);
}

FileReader::FileReader(const std::string& path) : path_(path) {
    const std::string host = resolve(path);
    Descriptor in{::open(host.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        failErrno(errno, path, host);
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
        fail("Permission denied", path);
    size_ = static_cast<std::uint64_t>(st.st_size);
    handle_ = in.fd;
    in.fd = -1;
}

FileReader::~FileReader() {
    ::close(static_cast<int>(handle_));
}

std::size_t FileReader::read(void* to, std::size_t n) {
    auto* at = static_cast<char*>(to);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::read(static_cast<int>(handle_), at + done, n - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failErrno(errno, path_, resolve(path_));
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void FileReader::seek(std::uint64_t offset) {
    if (::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) < 0)
        failErrno(errno, path_, resolve(path_));
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    replaceFile(
        path, [&](int out, const std::string& host) { writeAll(out, bytes, path, host); });
}

}  // namespace bv::fs

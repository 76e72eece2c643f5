#pragma once
// File operations of the data store. Paths are Windows paths in UTF-8.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bv::fs {

// True only for an ordinary file at exactly this path: hidden and system
// files, directories, a missing folder on the way and a failed lookup are absent.
bool fileExists(const std::string& path) noexcept;

// The bare name of the ordinary file at this path, as the file system lists
// it, or "" when there is none (the same rules as fileExists).
std::string bareName(const std::string& path) noexcept;

// Tells one content of a file from another without reading it: a rewrite
// changes the size or the last-write time. A copy carries its source's
// last-write time over; POSIX's status-change time still tells it, Windows'
// creation time only where the file system does not carry the replaced
// file's over (tunnelling). There, a file of the same size put in with the
// same last-write time, to the file system's tick, goes unseen.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t written = 0;  // last write, in the platform's own units
    std::int64_t created = 0;  // creation (Windows), status change (POSIX)
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the ordinary file at this path, or nullopt when there is none
// (the same rules as fileExists).
std::optional<FileStamp> fileStamp(const std::string& path) noexcept;

// One directory level. Throws Failure if it exists already or cannot be made.
void makeDirectory(const std::string& path);

// Byte-for-byte copy that replaces the destination atomically. Throws Failure;
// on failure the destination stays as it was.
void copyFile(const std::string& from, const std::string& to);

// Deletes one named file. Throws Failure if it is missing or refused.
void deleteFile(const std::string& path);

// One file open for reading a part at a time. Another program may replace
// or delete it meanwhile: this reads on from the content it opened. Throws
// Failure with the names readFile gives.
class FileReader {
  public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The size when it was opened.
    std::uint64_t size() const { return size_; }
    // Up to `n` bytes from where reading stands: fewer only at the file's end.
    std::size_t read(void* to, std::size_t n);
    // Reading goes on from `offset` bytes after the start.
    void seek(std::uint64_t offset);
    // The whole file from its start, as readFile gives it.
    std::string readAll(std::size_t limit = std::string::npos);

  private:
    std::string path_;
    std::intptr_t handle_;  // the platform's handle or descriptor
    std::uint64_t size_ = 0;
};

// The whole file's bytes. Throws Failure if it is missing, unreadable or
// longer than `limit` bytes (then nothing of it is read).
std::string readFile(const std::string& path, std::size_t limit = std::string::npos);

// Writes the bytes through a temporary file in the same folder, then replaces
// the destination. Throws Failure; on failure the old file stays as it was.
void writeFileAtomically(const std::string& path, std::string_view bytes);

#ifndef _WIN32
// Native build only: the host folder that stands for drive C:.
void setDriveRoot(const std::string& hostFolder);
std::string hostPath(const std::string& windowsPath);
#endif

}  // namespace bv::fs

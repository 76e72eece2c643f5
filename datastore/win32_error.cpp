#include "datastore/win32_error.h"

#include <windows.h>

namespace bv {

namespace {
constexpr char kFileNotFound[] = "File not found";
constexpr char kPathNotFound[] = "Path not found";
constexpr char kDeviceUnavailable[] = "Device unavailable";
constexpr char kBadFileName[] = "Bad file name or number";
}  // namespace

const char* win32FailureName(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return kFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_BAD_PATHNAME:
            return kPathNotFound;
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
            return kDeviceUnavailable;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return "Permission denied";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "Disk full";
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return kBadFileName;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
            return "Device I/O error";
        default:
            return "Path/File access error";
    }
}

Failure win32Failure(unsigned long error, const std::string& path, const char* otherwise) {
    const std::string name = win32FailureName(error);
    if (!otherwise)
        return Failure(name + ": " + path);
    const bool missing = name == kFileNotFound || name == kPathNotFound ||
                         name == kDeviceUnavailable || name == kBadFileName;
    return Failure((missing ? kFileNotFound : otherwise) + (": " + path));
}

}  // namespace bv

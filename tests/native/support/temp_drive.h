#pragma once
// A fresh host folder that stands for drive C: while a test runs.
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "datastore/fileops.h"

namespace bv::testing {

class TempDrive {
  public:
    TempDrive() {
        std::random_device rd;
        root_ = std::filesystem::temp_directory_path() /
                ("bv-drive-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(root_);
        fs::setDriveRoot(root_.string());
    }
    ~TempDrive() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    // Empties the drive, for a test that starts over.
    void clear() const {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }

    // Creates every folder of a Windows path on the drive.
    void makeFolders(const std::string& windowsPath) const {
        std::filesystem::create_directories(fs::hostPath(windowsPath));
    }
    void put(const std::string& windowsPath, std::string_view bytes) const {
        makeFolders(windowsPath.substr(0, windowsPath.rfind('\\')));
        fs::writeFileAtomically(windowsPath, bytes);
    }

    std::string get(const std::string& windowsPath) const { return fs::readFile(windowsPath); }

  private:
    std::filesystem::path root_;
};

}  // namespace bv::testing

#pragma once
// setup and uninstall on the simulated desktop over a temporary drive C:,
// with a package folder C:\pkg as setup's current directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "datastore/fileops.h"
#include "datastore/paths.h"
#include "tests/native/support/message_boxes.h"
#include "tests/native/support/temp_drive.h"
#include "ui/sim/sim_platform.h"

namespace bv::testing {

class InstallerTest : public ::testing::Test {
  protected:
    InstallerTest() {
        drive.makeFolders(paths::startupFolder());
        drive.makeFolders(paths::systemDir());
        drive.makeFolders("C:\\pkg\\Data");
        std::filesystem::current_path(fs::hostPath("C:\\pkg"));
    }
    ~InstallerTest() override { std::filesystem::current_path(home_); }

    // The package's file of that name, its content naming it.
    void putPackageFile(const std::string& name) const {
        drive.put("C:\\pkg\\Data\\" + name, "package " + name);
    }
    void putFullPackage() const {
        for (const char* name : {"brenlo_kel_vo_config.exe", "brenlo_kel_vo.exe", "uninstall.exe",
                                 "readme.zip", "comdlg32.ocx", "RICHTX32.OCX", "MSCOMCTL.OCX"})
            putPackageFile(name);
    }
    static std::string content(const std::string& path) {
        return fs::fileExists(path) ? fs::readFile(path) : "(absent)";
    }

    TempDrive drive;
    ui::sim::SimPlatform sim;

  private:
    std::filesystem::path home_ = std::filesystem::current_path();
};

}  // namespace bv::testing

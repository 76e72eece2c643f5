#pragma once
// Which of the four files that setup places are there.
#include <string>

#include "datastore/fileops.h"
#include "datastore/paths.h"

namespace bv::testing {

// One digit per file, in uninstall's deletion order: "1" present, "0" gone.
inline std::string installedFiles() {
    std::string present;
    for (const std::string& file : {paths::configToolExe(), paths::agentStartupExe(),
                                    paths::readmeTxt(), paths::uninstallExe()})
        present += fs::fileExists(file) ? "1" : "0";
    return present;
}

}  // namespace bv::testing

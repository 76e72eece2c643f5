#include "datastore/paths.h"

#include "datastore/failure.h"

namespace bv::paths {

namespace {

// The only literal roots; everything else is derived from them.
constexpr const char* kWindowsDir = R"(C:\WINDOWS)";
constexpr const char* kSystemDir = R"(C:\WINDOWS\system32)";
constexpr const char* kProgramsDir = R"(C:\Documents and Settings\All Users\Start Menu\Programs)";

std::string join(const std::string& folder, const std::string& name) {
    return folder + '\\' + name;
}

std::string slotNumber(int slot) {
    if (slot < 1 || slot > 10)
        throw Failure("Subscript out of range");
    return std::to_string(slot);
}

}  // namespace

std::string windowsDir() {
    return kWindowsDir;
}
std::string systemDir() {
    return kSystemDir;
}
std::string programsDir() {
    return kProgramsDir;
}

std::string dataDir() {
    return join(windowsDir(), "b_kelvo");
}
std::string wallpapersDir() {
    return join(dataDir(), "wallpapers");
}
std::string scriptDir() {
    return join(dataDir(), "script");
}
std::string agentDir() {
    return join(dataDir(), "agent");
}

std::string okNote() {
    return join(dataDir(), "ok.note");
}
std::string speedNote() {
    return join(dataDir(), "speed.note");
}
std::string topNote() {
    return join(agentDir(), "top.note");
}
std::string leftNote() {
    return join(agentDir(), "left.note");
}

std::string wallpaper(int slot) {
    return join(wallpapersDir(), slotNumber(slot) + ".bmp");
}
std::string captionNote(int slot) {
    return join(scriptDir(), "wall" + slotNumber(slot) + ".note");
}

std::string startMenuFolder() {
    return join(programsDir(), "Brenlo_kelvo");
}
std::string startupFolder() {
    return join(programsDir(), "Startup");
}
std::string configToolExe() {
    return join(startMenuFolder(), "brenlo_kel_vo_config.exe");
}
std::string uninstallExe() {
    return join(startMenuFolder(), "uninstall.exe");
}
std::string readmeTxt() {
    return join(startMenuFolder(), "readme.txt");
}
std::string agentStartupExe() {
    return join(startupFolder(), "brenlo_kel_vo.exe");
}
std::string systemLibrary(const std::string& fileName) {
    return join(systemDir(), fileName);
}

}  // namespace bv::paths

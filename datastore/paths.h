#pragma once
// Every fixed path of the installed system, as Windows literals. The file
// operations map drive C: onto a host folder in the native build; the Windows
// build uses the literals unchanged.
#include <string>

namespace bv::paths {

// The three roots; every other path below derives from one of them.
std::string windowsDir();   // "C:\WINDOWS"
std::string systemDir();    // "C:\WINDOWS\system32"
std::string programsDir();  // "C:\Documents and Settings\All Users\Start Menu\Programs"

std::string dataDir();        // C:\WINDOWS\b_kelvo
std::string wallpapersDir();  // ...\wallpapers
std::string scriptDir();      // ...\script
std::string agentDir();       // ...\agent

std::string okNote();     // first-run marker
std::string speedNote();  // ...\speed.note
std::string topNote();    // ...\agent\top.note
std::string leftNote();   // ...\agent\left.note

std::string wallpaper(int slot);    // ...\wallpapers\N.bmp, N = 1..10
std::string captionNote(int slot);  // ...\script\wallN.note, N = 1..10

std::string startMenuFolder();  // ...\Programs\Brenlo_kelvo
std::string startupFolder();    // ...\Programs\Startup
std::string configToolExe();    // Start Menu folder\brenlo_kel_vo_config.exe
std::string uninstallExe();     // Start Menu folder\uninstall.exe
std::string readmeTxt();        // Start Menu folder\readme.txt
std::string agentStartupExe();  // Startup folder\brenlo_kel_vo.exe
std::string systemLibrary(const std::string& fileName);  // C:\WINDOWS\system32\<name>

}  // namespace bv::paths

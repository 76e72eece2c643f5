// The other process of the race test: reads one file as fast as it can, the
// way a picture or note loader does (sharing reads only, so a replace may be
// refused while it holds the file), and sorts every read.
//
//   race_reader.exe bytes|note FILE FIRST SECOND READY STOP RESULT
//
// bytes: each read must be FIRST's or SECOND's bytes; note: its plain text
// must be the text of the note FIRST or SECOND. Runs until STOP exists,
// having made READY after its first read, then writes to RESULT the line
// "reads first second refused mixed"; the first mixed read goes to RESULT.mixed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "datastore/note.h"

namespace {

std::wstring wide(const char* s) {
    return std::wstring(s, s + std::strlen(s));
}

// nullopt when the open is refused or the read fails.
std::optional<std::string> readShared(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[1 << 14];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: race_reader bytes|note FILE FIRST SECOND READY STOP RESULT\n");
        return 2;
    }
    const bool note = std::string(argv[1]) == "note";
    const std::wstring file = wide(argv[2]), ready = wide(argv[5]), stop = wide(argv[6]);
    const std::wstring result = wide(argv[7]);
    // A note is judged by its text, as the programs read it.
    auto meaning = [&](const std::string& bytes) -> std::optional<std::string> {
        return note ? bv::note::plainText(bytes) : bytes;
    };
    const auto first = meaning(readShared(wide(argv[3])).value_or(""));
    const auto second = meaning(readShared(wide(argv[4])).value_or(""));

    long reads = 0, firsts = 0, seconds = 0, refused = 0, mixed = 0;
    while (!exists(stop)) {
        std::optional<std::string> bytes = readShared(file);
        ++reads;
        if (!bytes)
            ++refused;
        else if (const auto seen = meaning(*bytes); seen == first)
            ++firsts;
        else if (seen == second)
            ++seconds;
        else if (mixed++ == 0)
            writeFile(result + L".mixed", *bytes);
        if (reads == 1)
            writeFile(ready, "");
    }
    char line[128];
    std::snprintf(line, sizeof line, "%ld %ld %ld %ld %ld\n", reads, firsts, seconds, refused,
                  mixed);
    writeFile(result, line);
    return 0;
}

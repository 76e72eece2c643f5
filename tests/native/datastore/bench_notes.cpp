// Prints how long the note store takes for many notes; not a test.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/numbers.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    std::string root = (std::filesystem::temp_directory_path() / "bv-bench-XXXXXX").string();
    if (::mkdtemp(root.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    bv::fs::setDriveRoot(root);
    bv::fs::makeDirectory("C:\\notes");
    // Saves go to the ten caption notes over and over, as repeated Saves do;
    // a folder of thousands of names would time the case-blind lookup instead.
    constexpr int kNotes = 10000;
    const auto notePath = [](int i) {
        return "C:\\notes\\wall" + std::to_string(i % 10 + 1) + ".note";
    };

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kNotes; ++i) {
        bv::note::writeNote(notePath(i),
                            "Selected Image # picture " + bv::num::decimal(i) + ".bmp");
    }
    std::printf("write %d notes: %.3f s\n", kNotes, secondsSince(start));

    start = std::chrono::steady_clock::now();
    std::size_t characters = 0;
    for (int i = 0; i < kNotes; ++i)
        characters += bv::note::readNote(notePath(i)).size();
    std::printf("read %d notes: %.3f s (%zu characters)\n", kNotes, secondsSince(start),
                characters);

    std::string big = "{\\rtf1 ";
    while (big.size() < 10'000'000)
        big += "{\\b text}\\'e9\\u26085?\\par ";
    big += "}";
    start = std::chrono::steady_clock::now();
    std::size_t length = bv::note::plainText(big)->size();
    std::printf("read a %zu-byte document: %.3f s (%zu bytes of text)\n", big.size(),
                secondsSince(start), length);

    bv::fs::setDriveRoot("");
    std::filesystem::remove_all(root);
    return 0;
}

#include "datastore/note.h"

#include "datastore/failure.h"
#include "datastore/fileops.h"

namespace bv::note {

namespace {

// A note holds one short value; a file far beyond that is not read at all,
// so a hostile one costs no memory.
constexpr std::size_t kMaxNoteBytes = 1 << 20;

}  // namespace

std::string readNote(const std::string& path) {
    std::optional<std::string> text = plainText(fs::readFile(path, kMaxNoteBytes));
    if (!text)
        throw Failure("Invalid file format: " + path);
    return std::move(*text);
}

void writeNote(const std::string& path, std::string_view text) {
    // Never creates the folder: writers rely on the directories made at start.
    fs::writeFileAtomically(path, toRtf(text));
}

}  // namespace bv::note

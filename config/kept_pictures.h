#pragma once
// The preview's kept pictures: each slot's picture as the preview made it,
// with the stamp of the file it came from, so that a move back to an
// unchanged file reads nothing. Only pictures that could be shown are kept.
#include <array>
#include <cstddef>
#include <optional>
#include <utility>

#include "datastore/fileops.h"
#include "ui/controls/image.h"

namespace bv::config {

class KeptPictures {
  public:
    // Slot `slot`'s picture if it came from a file of this stamp; a picture
    // of another file, or of none, is let go.
    ui::KeptPicture find(int slot, const std::optional<fs::FileStamp>& stamp) {
        Slot& kept = at(slot);
        if (kept.picture && (!stamp || kept.stamp != *stamp))
            kept = Slot{};
        return kept.picture;
    }
    void put(int slot, const fs::FileStamp& stamp, ui::KeptPicture picture) {
        if (picture)
            at(slot) = Slot{stamp, std::move(picture)};
    }
    void forget(int slot) { at(slot) = Slot{}; }

  private:
    struct Slot {
        fs::FileStamp stamp;
        ui::KeptPicture picture;
    };
    Slot& at(int slot) { return slots_[static_cast<std::size_t>(slot - 1)]; }
    std::array<Slot, 10> slots_;
};

}  // namespace bv::config

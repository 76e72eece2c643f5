#include "ui/controls/note_box.h"

#include "datastore/note.h"

namespace bv::ui {

void NoteBox::loadFile(const std::string& path) {
    text_ = note::readNote(path);
}

void NoteBox::saveFile(const std::string& path) const {
    note::writeNote(path, text_);
}

}  // namespace bv::ui

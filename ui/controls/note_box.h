#pragma once
// A hidden rich text box that only reads and writes note files.
#include <string>

#include "ui/control.h"

namespace bv::ui {

class NoteBox : public Control {
  public:
    NoteBox(Form& form, const ControlSpec& spec) : Control(form, spec), text_(spec.text) {}
    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    // Replaces the text by the note's; on a Failure the text stays.
    void loadFile(const std::string& path);
    // Throws Failure; the old file then stays as it was.
    void saveFile(const std::string& path) const;

  private:
    void makePeer(PeerHost& host) override;
    std::string text_;
};

namespace Kind {
inline constexpr KindInfo NoteBox{uses::Text | uses::Tab, false, &makeControl<ui::NoteBox>};
}

}  // namespace bv::ui

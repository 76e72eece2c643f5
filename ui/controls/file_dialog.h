#pragma once
// The file-open dialog: shown modally by a handler, never laid out on screen.
#include <optional>
#include <string>

#include "ui/control.h"

namespace bv::ui {

struct FileDialogPeer : Control::Peer {
    // Modal. The chosen full path, or nothing on a cancel. Throws Failure
    // when the dialog cannot be shown.
    virtual std::optional<std::string> showOpen() = 0;
};

class FileDialog : public ControlWith<FileDialogPeer> {
  public:
    using Peer = FileDialogPeer;
    using ControlWith::ControlWith;
    std::string title;
    std::string fileName;
    // Modal. A choice puts its full path in fileName and returns true; a
    // cancel leaves fileName as it was and returns false.
    bool showOpen();

  private:
    void makePeer(PeerHost& host) override;
};

namespace Kind {
inline constexpr KindInfo FileDialog{0, false, &makeControl<ui::FileDialog>};
}

}  // namespace bv::ui

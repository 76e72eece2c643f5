// The file-open dialog on the simulated desktop: the test's script chooses.
#include "ui/controls/file_dialog.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {
class SimFileDialog : public Quiet<FileDialogPeer> {
  public:
    SimFileDialog(SimPlatform& platform, FileDialog& dialog)
        : platform_(platform), dialog_(dialog) {}
    std::optional<std::string> showOpen() override {
        if (!platform_.chooseFile)
            return std::nullopt;
        return platform_.chooseFile(dialog_);
    }

  private:
    SimPlatform& platform_;
    FileDialog& dialog_;
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::FileDialog::makePeer(PeerHost& host) {
    host.add<sim::SimFileDialog>(*this, host.platform(), *this);
}

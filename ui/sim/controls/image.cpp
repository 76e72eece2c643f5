// Images on the simulated desktop: a file that holds no picture is refused,
// as the platform would.
#include "ui/controls/image.h"

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "ui/sim/sim_form.h"

namespace bv::ui::sim {
namespace {

class SimImage : public Quiet<ImagePeer> {
  public:
    explicit SimImage(Image& image) : image_(image) {}
    void pictureChanged() override {
        const Picture& p = image_.picture();
        // Read first: a picture that fails changes nothing.
        KeptPicture shown = p.kept;
        if (!shown && !p.file.empty()) {
            if (!isPicture(fs::readFile(p.file)))
                throw Failure("Invalid picture");
            // Each file read is a picture of its own.
            shown = KeptPicture(std::make_shared<const std::string>(p.file));
        }
        shown_ = std::move(shown);
    }
    KeptPicture kept() const override { return shown_; }

  private:
    Image& image_;
    KeptPicture shown_;
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::Image::makePeer(PeerHost& host) {
    host.add<sim::SimImage>(*this, *this);
}

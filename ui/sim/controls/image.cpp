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
        if (!p.file.empty() && !isPicture(fs::readFile(p.file)))
            throw Failure("Invalid picture");
    }

  private:
    Image& image_;
};
}  // namespace
}  // namespace bv::ui::sim

void bv::ui::Image::makePeer(PeerHost& host) {
    host.add<sim::SimImage>(*this, *this);
}

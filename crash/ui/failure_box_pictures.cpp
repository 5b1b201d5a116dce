// \brief The pictures by resource name.
#include "crash/ui/failure_box_pictures.h"

#include <array>

// Q_INIT_RESOURCE needs the global namespace.
static void LoadFailureBoxPictures() {
    Q_INIT_RESOURCE(failure_box_pictures);
}

namespace kestrix {
namespace {

QIcon Picture(const char* name) {
    static const bool loaded = (LoadFailureBoxPictures(), true);
    (void)loaded;
    return QIcon(QString(":/kestrix/%1.svg").arg(name));
}

}  // namespace

QIcon ButtonPicture(TKXButton button, bool canContinue) {
    static constexpr std::array<const char*, ButtonCount> Names = {
        "KXISEND", "KXISAVE", "KXIPRINT", "KXISHOW", "KXICONTINUE", "KXIRESTART", "KXICLOSE"};
    if (button == bContinueApplication && !canContinue) {
        return Picture("KXICANTCONTINUE");
    }
    return Picture(Names[button]);
}

QIcon LargePicture() {
    return Picture("KXIBIG");
}

}  // namespace kestrix

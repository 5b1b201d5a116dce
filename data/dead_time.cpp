// \brief Dead-time correction; see dead_time.h.
#include "data/dead_time.h"

#include "base/float_faults.h"

namespace gatool {

float CorrectDeadTime(const GaHeader& header, float dark, float raw) {
    const float n0 = ToSingle(Divide(
        Extended{raw} - dark, static_cast<Extended>(header.Cy) * header.IntegrationTime * 0.5L));
    float n = n0;
    for (int iteration = 0; iteration < 8; ++iteration) {
        // exp takes a double argument, as the C library's does.
        const auto exponent = static_cast<double>(Extended{n} * header.DeadTime);
        n = ToSingle(Extended{n0} * CheckedExp(exponent));
    }
    return n;
}

}  // namespace gatool

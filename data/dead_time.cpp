// \brief Dead-time correction; see dead_time.h.
#include "data/dead_time.h"

#include "base/float_faults.h"

namespace gatool {

float CorrectDeadTime(const GaHeader& header, float dark, float raw) {
    const float n0 = ToSingle(Divide(
        Extended{raw} - dark, static_cast<Extended>(header.Cy) * header.IntegrationTime * 0.5L));
    float n = n0;
    for (int iteration = 0; iteration < 8; ++iteration) {
        // Double precision, as the C library's exp takes it; extended precision would add x87
        // round trips to a loop that runs for every count of a file.
        const double exponent = double{n} * header.DeadTime;
        const float next = ToSingle(double{n0} * CheckedExp(exponent));
        // Each iterate depends on the one before only: once one repeats, so do all the rest.
        if (next == n) {
            break;
        }
        n = next;
    }
    return n;
}

}  // namespace gatool

// \brief The emergency reserve: four regions of 4 MB of reserved address space and four of 512 KB
// of committed memory, all without access rights, held while the program runs and given back while
// a failure is handled, so that a failure caused by exhausted memory can still be reported.
#pragma once

namespace kestrix {

// Takes the reserve unless it is held; a region the system refuses is left out.
void TakeEmergencyReserve() noexcept;
// Gives every held region back. Async-signal-safe (munmap only).
void ReleaseEmergencyReserve() noexcept;
// How many of the eight regions are held.
int EmergencyReserveRegions() noexcept;

}  // namespace kestrix

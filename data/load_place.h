// \brief Where a load is: what it is doing and at which scan, slit, step and line. The readers and
// the load flows keep it up to date as they go, so that a failure can be placed in the file.
#pragma once

namespace gatool {

enum class LoadStage {
    None,  // no load under way
    Header,
    ScanBlock,
    DeadTimeCorrection,
    PeakLocation,
    SlopeFit,
    CiSimulation,
    DcfFile,
};

struct LoadPlace {
    LoadStage Stage = LoadStage::None;
    int Scan = -1;  // -1 where no scan, slit or step applies
    int Slit = -1;
    int Step = -1;
    long Line = 0;  // line of the file being read, 0 when the stage reads no file
};

}  // namespace gatool

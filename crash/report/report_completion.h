// \brief Building a failure's report: the header at once, the sections with their placeholders,
// then their completion in a fixed order (the crashed or first thread's call stack, "cpu
// registers", "stack dump", "disassembling", the plug-ins, the remaining threads), each part under
// its own guard. The last section filled sets "callstack crc" to the three checksums and marks the
// report complete; a failure in the post-processing phase then enters epCompleteReport.
#pragma once

#include <functional>
#include <memory>

#include "crash/report/report_state.h"

namespace kestrix {

class IKXException;

TTraceOptions TraceOptionsOf(const IKXException& exception);

// Fills the header and creates the sections. The other threads' registers are captured here, so
// that their placeholders show where each thread stood.
void CreateReport(const std::shared_ptr<IKXException>& exception, TReportState& state);

// Fills every section unless the abort flag stops it first; afterSection runs after each one.
// Ends by setting the state's CompletionEnded.
void CompleteReport(const std::shared_ptr<IKXException>& exception,
                    TReportState& state,
                    const std::function<void()>& afterSection = {});

// Enters epCompleteReport and calls its handlers, once, when the report is complete and the
// failure is in epPostProcessing. Called by the completion when it ends and by failure handling
// when it reaches the post-processing phase, so that neither order misses it.
void EnterCompleteReportPhase(IKXException& exception, TReportState& state);

}  // namespace kestrix

// \brief The report state's change notifications.
#include "crash/report/report_state.h"

namespace kestrix {

TReportState::TReportState() {
    Header->SetChangeNotification([this] { TextCache.MarkModified(); });
    Sections->SetChangeNotification([this] { TextCache.MarkModified(); });
}

// A list handed out may outlive the state: its changes no longer reach it.
TReportState::~TReportState() {
    Header->SetChangeNotification({});
    Sections->SetChangeNotification({});
}

}  // namespace kestrix

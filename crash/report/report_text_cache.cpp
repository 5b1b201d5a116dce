// \brief The stored report text and the modification counter.
#include "crash/report/report_text_cache.h"

#include "crash/report/report_rendering.h"

namespace kestrix {

void TReportTextCache::MarkModified() {
    const std::lock_guard lock(m_guard);
    ++m_modifications;
    m_text.reset();
}

std::uint64_t TReportTextCache::ModificationCount() const {
    const std::lock_guard lock(m_guard);
    return m_modifications;
}

std::string TReportTextCache::Text(const IKXFields& header,
                                   const IKXFields& sections,
                                   bool renderAnew) {
    std::uint64_t before = 0;
    {
        const std::lock_guard lock(m_guard);
        if (m_text && !renderAnew)
            return *m_text;
        before = m_modifications;
    }
    // Rendered without the lock: a change notification that comes meanwhile must not wait.
    std::string text = RenderBugReport(header, sections);
    const std::lock_guard lock(m_guard);
    if (m_modifications == before)
        m_text = text;
    return text;
}

}  // namespace kestrix

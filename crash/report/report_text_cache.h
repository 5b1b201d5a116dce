// \brief The rendered text of one report, kept until a field changes: a text is stored only when
// no change happened while it was rendered, so a text that misses a change is never kept.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "crash/settings/ikx_fields.h"

namespace kestrix {

class TReportTextCache {
  public:
    // Counts a change of the header or the sections; their change notifications call it.
    void MarkModified();
    std::uint64_t ModificationCount() const;

    // The stored text, or, when there is none or renderAnew is set (a caller that needs the
    // complete report before it is complete), the text rendered from the lists.
    std::string Text(const IKXFields& header, const IKXFields& sections, bool renderAnew = false);

  private:
    mutable std::mutex m_guard;
    std::uint64_t m_modifications = 0;
    std::optional<std::string> m_text;
};

}  // namespace kestrix

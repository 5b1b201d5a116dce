// \brief Test helper: sets the number marks for the life of a fixture or a block and puts back the
// previous ones afterwards, so that no test's marks leak into the next.
#pragma once

#include <string>

#include "numtext/number_marks.h"

namespace gatool {

class ScopedNumberMarks {
  public:
    ScopedNumberMarks(std::string decimal, std::string group)
        : m_savedDecimal(DecimalMark()), m_savedGroup(GroupMark()) {
        SetNumberMarks(std::move(decimal), std::move(group));
    }
    ~ScopedNumberMarks() { SetNumberMarks(m_savedDecimal, m_savedGroup); }

    ScopedNumberMarks(const ScopedNumberMarks&) = delete;
    ScopedNumberMarks& operator=(const ScopedNumberMarks&) = delete;

  private:
    std::string m_savedDecimal;
    std::string m_savedGroup;
};

}  // namespace gatool

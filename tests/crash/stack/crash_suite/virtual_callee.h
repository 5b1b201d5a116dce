// \brief A virtual function whose implementation lives in another file, so that the call stays
// an indirect call through the virtual table.
#pragma once

namespace crash_suite {

class VirtualCallee {
  public:
    virtual ~VirtualCallee() = default;
    virtual void Run() const = 0;
};

const VirtualCallee& MakeVirtualCallee();

}  // namespace crash_suite

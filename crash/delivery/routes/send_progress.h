// \brief The stages of a send, as the progress window shows them, and the sink that the routes
// report them to.
#pragma once

#include <cstdint>

namespace kestrix {

enum TSendStage : std::int32_t {
    ssPrepareAttachments,  // `PrepAttMsg`
    ssMxLookup,            // `MxLookMsg`, direct mail only
    ssConnect,             // `ConnMsg`
    ssAuthenticate,        // `AuthMsg`, mail only
    ssSendMail,            // `SendMailMsg`
    ssSetFields,           // `FieldMsg`, upload only
    ssSendAttachments,     // `SendAttMsg`, when there are attachments
    ssFinalize,            // `SendFinalMsg`
};

class ISendProgress {
  public:
    virtual ~ISendProgress() = default;
    virtual void Stage(TSendStage stage) = 0;
};

// For routes called on their own.
class NoSendProgress final : public ISendProgress {
  public:
    void Stage(TSendStage) override {}
};

}  // namespace kestrix

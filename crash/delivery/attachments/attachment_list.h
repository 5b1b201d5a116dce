// \brief The attachments of one send: the report file with the current report, the screenshot,
// the `AddAttachs` entries, and entries that share a zip name packed into one archive.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "crash/delivery/attachments/rgb_image.h"
#include "crash/settings/ikx_settings.h"

namespace kestrix {

struct Attachment {
    std::filesystem::path File;
    std::string SendAsName;
    // The name of an upload's form field.
    std::string FieldName;
    // Empty: sent as it is.
    std::string ZipName;

    friend bool operator==(const Attachment&, const Attachment&) = default;
};

using IKXAttachments = std::vector<Attachment>;

struct AttachmentSources {
    std::string Report;
    std::optional<RgbImage> Screenshot;
    // The saved report file whose earlier reports travel along, when there is one.
    std::optional<std::filesystem::path> SavedReportFile;
    // The saved file holds the current report already: it is not added again.
    bool ReportInSavedFile = false;
};

struct PreparedAttachments {
    IKXAttachments Files;
    // Set when the saved report file was copied and `DelBugRepFile` asks for its deletion once
    // the report has been sent.
    std::optional<std::filesystem::path> DeleteAfterSend;
};

// The attachments written into the temporary folder. A part that cannot be made (an unreadable
// extra file, a picture that cannot be encoded) is left out; the report is never left out.
PreparedAttachments PrepareAttachments(const AttachmentSources& sources,
                                       const IKXSettings& settings,
                                       const std::filesystem::path& temporaryFolder);

// Replaces the entries of each zip name by one archive of that name in the folder, where the
// first of them stood.
IKXAttachments PackZipGroups(const IKXAttachments& attachments,
                             const std::filesystem::path& temporaryFolder);

}  // namespace kestrix

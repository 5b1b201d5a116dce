// \brief Making the attachment files.
#include "crash/delivery/attachments/attachment_list.h"

#include <fstream>
#include <map>
#include <stdexcept>
#include <system_error>

#include "crash/delivery/attachments/screenshot_png.h"
#include "crash/delivery/attachments/zip_archive.h"
#include "crash/delivery/file/report_file_saving.h"
#include "crash/delivery/file/report_file_writer.h"

namespace kestrix {
namespace {

constexpr const char* ScreenshotFileName = "screenShot.png";

// The report attachment: a copy of the saved report file when asked for, with the current report
// added by the report file's own rules.
std::optional<Attachment> ReportAttachment(const AttachmentSources& sources,
                                           const IKXSettings& settings,
                                           const std::filesystem::path& folder,
                                           PreparedAttachments& prepared) {
    const std::filesystem::path name = std::filesystem::path(settings.ReportFileName()).filename();
    const std::filesystem::path file = folder / (name.empty() ? "bugreport.txt" : name);
    std::error_code error;
    std::filesystem::remove(file, error);
    bool copied = false;
    if (settings.AttachBugRepFile() && sources.SavedReportFile) {
        copied = std::filesystem::copy_file(*sources.SavedReportFile, file, error);
        if (copied && settings.DelBugRepFile()) {
            prepared.DeleteAfterSend = sources.SavedReportFile;
        }
    }
    if (!(copied && sources.ReportInSavedFile) &&
        WriteReportFile(file, sources.Report, ReportFileRulesOf(settings)) != 0) {
        return std::nullopt;
    }
    return Attachment{file, settings.BugRepSendAs(), "BugReport", settings.BugRepZip()};
}

std::optional<Attachment> ScreenshotAttachment(const RgbImage& screenshot,
                                               const IKXSettings& settings,
                                               const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / ScreenshotFileName;
    try {
        const std::string png = ScreenshotPng(screenshot, settings.ScrShotDepth());
        std::ofstream stream(file, std::ios::binary | std::ios::trunc);
        stream.write(png.data(), static_cast<std::streamsize>(png.size()));
        stream.close();
        if (!stream) {
            return std::nullopt;
        }
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return Attachment{file, settings.ScrShotSendAs(), "ScreenShot", settings.ScrShotZip()};
}

}  // namespace

PreparedAttachments PrepareAttachments(const AttachmentSources& sources,
                                       const IKXSettings& settings,
                                       const std::filesystem::path& temporaryFolder) {
    PreparedAttachments prepared;
    IKXAttachments files;
    if (settings.AttachBugRep()) {
        if (auto report = ReportAttachment(sources, settings, temporaryFolder, prepared)) {
            files.push_back(std::move(*report));
        }
    }
    if (sources.Screenshot && settings.ScrShotDepth() > 0) {
        if (auto screenshot =
                ScreenshotAttachment(*sources.Screenshot, settings, temporaryFolder)) {
            files.push_back(std::move(*screenshot));
        }
    }
    for (const AdditionalAttachment& extra : settings.AddAttachs()) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(extra.FilePath, error)) {
            continue;
        }
        const std::string sendAs = extra.SendAsName.empty()
                                       ? std::filesystem::path(extra.FilePath).filename().string()
                                       : extra.SendAsName;
        files.push_back({extra.FilePath, sendAs, extra.FieldName, extra.ZipName});
    }
    prepared.Files = PackZipGroups(files, temporaryFolder);
    return prepared;
}

IKXAttachments PackZipGroups(const IKXAttachments& attachments,
                             const std::filesystem::path& temporaryFolder) {
    std::map<std::string, std::vector<ZipEntry>> groups;
    for (const Attachment& attachment : attachments) {
        if (!attachment.ZipName.empty()) {
            groups[attachment.ZipName].push_back({attachment.File, attachment.SendAsName});
        }
    }
    IKXAttachments packed;
    for (const Attachment& attachment : attachments) {
        if (attachment.ZipName.empty()) {
            packed.push_back(attachment);
            continue;
        }
        const auto group = groups.find(attachment.ZipName);
        if (group == groups.end()) {
            continue;  // packed with the first entry of its name
        }
        const std::filesystem::path archive = temporaryFolder / attachment.ZipName;
        try {
            WriteZipArchive(archive, group->second);
            packed.push_back({archive, attachment.ZipName, attachment.FieldName, ""});
        } catch (const std::runtime_error&) {
            // Without the archive its files still travel on their own.
            for (const Attachment& member : attachments) {
                if (member.ZipName == attachment.ZipName) {
                    packed.push_back({member.File, member.SendAsName, member.FieldName, ""});
                }
            }
        }
        groups.erase(group);
    }
    return packed;
}

}  // namespace kestrix

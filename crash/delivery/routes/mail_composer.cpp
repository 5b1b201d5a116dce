// \brief Calling xdg-email.
#include "crash/delivery/routes/mail_composer.h"

#include <system_error>

#include "crash/delivery/routes/program_start.h"

namespace kestrix {

std::vector<std::string> MailComposerArguments(const MailParameters& parameters,
                                               const std::vector<std::filesystem::path>& files) {
    std::vector<std::string> arguments{"xdg-email", "--utf8"};
    if (!parameters.Subject.empty()) {
        arguments.insert(arguments.end(), {"--subject", parameters.Subject});
    }
    if (!parameters.Body.empty()) {
        arguments.insert(arguments.end(), {"--body", parameters.Body});
    }
    for (const std::filesystem::path& file : files) {
        arguments.insert(arguments.end(), {"--attach", file.string()});
    }
    for (const MailAddress& recipient :
         ParseRecipients(parameters.Recipients).value_or(std::vector<MailAddress>{})) {
        arguments.push_back(recipient.Address);
    }
    return arguments;
}

std::vector<std::filesystem::path> FilesUnderSendAsNames(const IKXAttachments& attachments,
                                                         const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directory(folder, error);
    std::vector<std::filesystem::path> files;
    for (const Attachment& attachment : attachments) {
        const std::filesystem::path name = std::filesystem::path(attachment.SendAsName).filename();
        if (name.empty() || name == "." || name == "..") {
            files.push_back(attachment.File);
            continue;
        }
        const std::filesystem::path staged = folder / name;
        std::filesystem::create_hard_link(attachment.File, staged, error);
        if (error) {
            std::filesystem::copy_file(attachment.File, staged,
                                       std::filesystem::copy_options::overwrite_existing, error);
        }
        files.push_back(error ? attachment.File : staged);
    }
    return files;
}

RouteResult SendMapiMail(const MailParameters& parameters,
                         const std::filesystem::path& temporaryFolder) {
    if (std::string error = MailParameterError(parameters); !error.empty()) {
        return {false, error};
    }
    const auto files =
        parameters.Attachments.empty()
            ? std::vector<std::filesystem::path>{}
            : FilesUnderSendAsNames(parameters.Attachments, temporaryFolder / "send-as");
    const int exitCode = RunProgram(MailComposerArguments(parameters, files));
    if (exitCode == 0) {
        return {true, ""};
    }
    return {false, exitCode < 0 ? "cannot start xdg-email"
                                : "xdg-email ended with exit code " + std::to_string(exitCode)};
}

}  // namespace kestrix

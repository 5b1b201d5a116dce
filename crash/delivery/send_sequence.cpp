// \brief The send of a failure's report over its routes.
#include "crash/delivery/send_sequence.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <system_error>

#include "crash/core/private_folder.h"
#include "crash/delivery/attachments/attachment_list.h"
#include "crash/delivery/background_sends.h"
#include "crash/delivery/bug_report_saving.h"
#include "crash/delivery/delivery_state.h"
#include "crash/delivery/file/report_file_fields.h"
#include "crash/delivery/routes/http_upload.h"
#include "crash/delivery/routes/mail_composer.h"
#include "crash/delivery/routes/mailto_link.h"
#include "crash/delivery/routes/online_state.h"
#include "crash/delivery/routes/smtp_client.h"
#include "crash/settings/exported_switches.h"

namespace kestrix {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

std::uint16_t PortOf(std::int32_t value, std::uint16_t fallback) {
    return value > 0 && value < 65536 ? static_cast<std::uint16_t>(value) : fallback;
}

// The routes the settings enable, with what each needs at hand.
struct Routes {
    bool Direct = false;
    bool SmtpClient = false;
    bool Upload = false;
    bool Composer = false;
    bool Mailto = false;

    bool Network() const { return Direct || SmtpClient || Upload; }
    bool CarryAttachments() const { return Network() || Composer; }
};

Routes RoutesOf(const IKXSettings& settings, bool hasRecipient) {
    Routes routes;
    routes.Direct = settings.MailAsSmtpServer() && hasRecipient;
    routes.SmtpClient =
        settings.MailAsSmtpClient() && hasRecipient && !settings.SmtpServer().empty();
    routes.Upload = settings.UploadViaHttp() && !settings.HttpServer().empty();
    routes.Composer = settings.MailViaMapi();
    routes.Mailto = settings.MailViaMailto();
    return routes;
}

std::vector<ISendProgressWindow::Step> ProgressSteps(const IKXSettings& settings,
                                                     const Routes& routes) {
    std::vector<ISendProgressWindow::Step> steps{{ssPrepareAttachments, settings.PrepAttMsg()}};
    if (routes.Direct) {
        steps.push_back({ssMxLookup, settings.MxLookMsg()});
    }
    if (routes.Network()) {
        steps.push_back({ssConnect, settings.ConnMsg()});
    }
    if (routes.Direct || routes.SmtpClient) {
        steps.push_back({ssAuthenticate, settings.AuthMsg()});
        steps.push_back({ssSendMail, settings.SendMailMsg()});
    }
    if (routes.Upload) {
        steps.push_back({ssSetFields, settings.FieldMsg()});
    }
    if (routes.CarryAttachments()) {
        steps.push_back({ssSendAttachments, settings.SendAttMsg()});
    }
    steps.push_back({ssFinalize, settings.SendFinalMsg()});
    return steps;
}

// The first network route that applies; none tried when the computer is offline.
bool SendOverNetwork(const IKXSettings& settings,
                     const Routes& routes,
                     const MailParameters& mail,
                     ISendProgress& progress) {
    if (!routes.Network() || !AmOnline()) {
        return false;
    }
    if (routes.Direct) {
        return SendDirectMail(mail, progress).Sent;
    }
    if (routes.SmtpClient) {
        return SendSmtpMail(
                   mail,
                   {settings.SmtpServer(), PortOf(settings.SmtpPort(), 25), settings.SmtpAccount(),
                    settings.SmtpPassword(), std::chrono::milliseconds(7000)},
                   progress)
            .Sent;
    }
    HttpUploadContent content{mail.Sender, {}, mail.Attachments};
    if (const auto fields = settings.AddFields()) {
        for (std::size_t i = 0; i < fields->Count(); ++i) {
            content.Fields.emplace_back(fields->Name(i), fields->Content(i));
        }
    }
    content.Fields.emplace_back("MailFrom", mail.Sender);
    const HttpUploadResult result = HttpUpload(
        {settings.HttpServer(), PortOf(settings.HttpPort(), 80), settings.HttpAccount(),
         settings.HttpPassword(), std::chrono::seconds(std::max(HttpUploadTimeout.load(), 1))},
        content, progress);
    if (result.Sent && result.Redirect) {
        OpenInBrowser(*result.Redirect);
    }
    return result.Sent;
}

void DeleteSavedFile(const std::filesystem::path& file) {
    struct stat status {};
    if (lstat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        chmod(file.c_str(), (status.st_mode | S_IWUSR) & 07777);
    }
    std::error_code error;
    std::filesystem::remove(file, error);
}

}  // namespace

std::string WithReportVariables(std::string_view text, const std::string& report) {
    const std::string message =
        ReportFieldValue(report, "exception message").value_or(std::string("Unknown"));
    std::string result;
    const std::string lower = Lower(text);
    for (std::size_t i = 0; i < text.size();) {
        if (lower.compare(i, 11, "%exceptmsg%") == 0) {
            result += message;
            i += 11;
        } else if (lower.compare(i, 11, "%bugreport%") == 0) {
            result += report;
            i += 11;
        } else {
            result.push_back(text[i++]);
        }
    }
    return result;
}

MailParameters MailParametersOf(const IKXSettings& settings, const std::string& report) {
    MailParameters mail;
    mail.Recipients = settings.MailAddr();
    mail.Subject = WithReportVariables(settings.MailSubj(), report);
    mail.Body = WithReportVariables(settings.MailBody(), report);
    mail.Sender = settings.MailFrom();
    if (mail.Sender.empty()) {
        const auto recipients = ParseRecipients(mail.Recipients);
        if (recipients && !recipients->empty()) {
            mail.Sender = "Kestrix <" + recipients->front().Address + ">";
        }
    }
    return mail;
}

bool RunSend(const std::shared_ptr<IKXException>& failure,
             const std::optional<RgbImage>& screenshot,
             const SendOptions& options) {
    const IKXSettings& settings = *failure;
    const std::string report = failure->BugReport();
    MailParameters mail = MailParametersOf(settings, report);
    const auto recipients = ParseRecipients(mail.Recipients);
    const Routes routes = RoutesOf(settings, recipients && !recipients->empty());

    std::unique_ptr<ISendProgressWindow> window;
    if (options.Windows != nullptr && options.ShowProgress) {
        window = options.Windows->OpenSendProgress(settings.SendBoxTitle(),
                                                   ProgressSteps(settings, routes));
    }
    NoSendProgress noProgress;
    ISendProgress& progress = window ? static_cast<ISendProgress&>(*window) : noProgress;
    progress.Stage(ssPrepareAttachments);

    const auto temporary = TemporaryFolder();
    std::optional<std::filesystem::path> deleteAfterSend;
    if (routes.CarryAttachments() && temporary) {
        const std::filesystem::path saved = SavedReportFileOf(*failure);
        std::error_code error;
        AttachmentSources sources{report, screenshot, std::nullopt, false};
        if (std::filesystem::is_regular_file(saved, error)) {
            sources.SavedReportFile = saved;
            sources.ReportInSavedFile = failure->SavedReportFile() == saved.string();
        }
        PreparedAttachments prepared = PrepareAttachments(sources, settings, *temporary);
        mail.Attachments = std::move(prepared.Files);
        deleteAfterSend = prepared.DeleteAfterSend;
    }

    bool sent = SendOverNetwork(settings, routes, mail, progress);
    window.reset();
    if (!sent && routes.Composer && !options.Silent && temporary) {
        sent = SendMapiMail(mail, *temporary).Sent;
    }
    if (!sent && routes.Mailto && !options.Silent) {
        MailParameters link = mail;
        link.Body = report;
        sent = SendShellMail(link).Sent;
    }
    if (!sent && !options.Silent && options.Windows != nullptr) {
        options.Windows->ShowSendFailure(settings.SendFailMsg());
    }
    if (sent) {
        Mark(failure, dmSent);
        if (deleteAfterSend) {
            DeleteSavedFile(*deleteAfterSend);
        }
    }
    return sent;
}

bool SendBugReport(const std::shared_ptr<IKXException>& failure,
                   const std::optional<RgbImage>& screenshot,
                   const std::shared_ptr<IDeliveryWindows>& windows) {
    if (!failure->SendInBackgr()) {
        return RunSend(failure, screenshot, {false, true, windows.get()});
    }
    StartBackgroundSend([failure, screenshot, windows] {
        RunSend(failure, screenshot, {false, true, windows.get()});
    });
    return true;
}

bool AutoSendBugReport(const std::shared_ptr<IKXException>& failure,
                       const std::optional<RgbImage>& screenshot,
                       const std::shared_ptr<IDeliveryWindows>& windows) {
    const bool showProgress = failure->AutoSendBox();
    StartBackgroundSend([failure, screenshot, windows, showProgress] {
        RunSend(failure, screenshot, {true, showProgress, windows.get()});
    });
    return true;
}

}  // namespace kestrix

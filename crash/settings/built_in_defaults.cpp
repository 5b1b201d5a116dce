// \brief The built-in default of every setting that has one. A reporter that nobody configured
// stays off (`Enabled` false, `NoSettings` true), saves its reports and names no recipient.
#include "crash/settings/built_in_defaults.h"

#include <vector>

namespace kestrix {
namespace {

std::vector<PropertyRecord> MakeDefaults() {
    const auto boolean = PropertyRecord::Boolean;
    const auto integer = PropertyRecord::Integer;
    const auto string = PropertyRecord::String;
    return {
        boolean("Enabled", false),
        boolean("NoSettings", true),
        boolean("CheckFreeze", false),
        // The timeout is used in milliseconds: one minute.
        integer("FreezeTimeout", 60000),
        boolean("AutoSave", true),
        boolean("AutoSaveIfNotSent", true),
        boolean("AutoSend", false),
        boolean("AutoSendBox", false),
        boolean("AutoClip", true),
        boolean("PauseThreads", false),
        boolean("PlWaitBox", true),
        boolean("AutoContinue", false),
        integer("AutoRestart", 0),
        integer("AutoClose", 0),
        integer("AutoDelay", 60),
        boolean("SendBtnVis", true),
        boolean("SaveBtnVis", false),
        boolean("PrintBtnVis", false),
        boolean("ShowBtnVis", true),
        boolean("ContinueBtnVis", true),
        boolean("RestartBtnVis", true),
        boolean("CloseBtnVis", true),
        integer("FocusedBtn", 0),
        string("SendAssis", ""),
        string("SaveAssis", ""),
        string("PrintAssis", ""),
        boolean("AutoShowBugRep", false),
        boolean("UglyBtns", false),
        string("MailAddr", ""),
        boolean("SendInBackgr", true),
        boolean("MailAsSmtpServer", false),
        boolean("MailAsSmtpClient", false),
        boolean("UploadViaHttp", false),
        boolean("MailViaMapi", true),
        boolean("MailViaMailto", true),
        string("SmtpServer", ""),
        integer("SmtpPort", 25),
        string("SmtpAccount", ""),
        string("SmtpPassword", ""),
        string("HttpServer", ""),
        integer("HttpPort", 80),
        string("HttpAccount", ""),
        string("HttpPassword", ""),
        boolean("AttachBugRep", true),
        boolean("AttachBugRepFile", true),
        boolean("DelBugRepFile", true),
        string("BugRepSendAs", "bugreport.txt"),
        string("BugRepZip", ""),
        integer("ScrShotDepth", 0),
        boolean("ScrShotAppOnly", true),
        string("ScrShotSendAs", "screenshot.png"),
        string("ScrShotZip", ""),
        string("AddAttachs", ""),
        string("BugRepFile", "bugreport.txt"),
        boolean("AppendBugReps", true),
        integer("BugRepFileSize", 100000),
        boolean("NoDupExcepts", true),
        boolean("NoDupFreezes", true),
        integer("DupExceptDef", 1),
        integer("DupFreezeDef", 2),
        boolean("ListThreads", true),
        boolean("CpuRegs", true),
        boolean("StackDump", true),
        boolean("ShowDisAsm", true),
        boolean("HideUglyItems", false),
        boolean("ShowRelAddrs", true),
        boolean("ShowRelLines", true),
        boolean("FormatDisAsm", false),
        integer("LimitDisAsm", 5),
        string("Plugins", "modules|processes|hardware"),
        string("F1Classes", ""),
        boolean("F1NoBugRep", false),
        boolean("F1NoScrShot", false),
        boolean("F1NoHandlers", false),
        boolean("F1NoSuspend", false),
        integer("F1ShowCfg", 0),
        string("F1Assis", ""),
        string("F2Classes", ""),
        boolean("F2NoBugRep", false),
        boolean("F2NoScrShot", false),
        boolean("F2NoHandlers", false),
        boolean("F2NoSuspend", false),
        integer("F2ShowCfg", 0),
        string("F2Assis", ""),
        boolean("GnNoBugRep", false),
        boolean("GnNoScrShot", false),
        boolean("GnNoHandlers", false),
        boolean("GnNoSuspend", false),
        integer("GnShowCfg", 0),
        string("GnAssis", ""),
        string("Assistant1", "SendAssistant|Send Assistant|ContactForm|DetailsForm|ScrShotForm"),
        string("Assistant2", "SaveAssistant|Save Assistant|ContactForm|DetailsForm"),
        string("Assistant3", "PrintAssistant|Print Assistant|ContactForm|DetailsForm"),
        string("TitleBar", "%appname%"),
        string("ExceptMsg", "An error occurred in the application."),
        string("FrozenMsg", "The application seems to be frozen."),
        string("SendBtnTxt", "send bug report"),
        string("SaveBtnTxt", "save bug report"),
        string("PrintBtnTxt", "print bug report"),
        string("ShowBtnTxt", "show bug report"),
        string("ContinueBtnTxt", "continue bug report"),
        string("RestartBtnTxt", "restart bug report"),
        string("CloseBtnTxt", "close bug report"),
        string("OkBtnTxt", "&OK"),
        string("DetailsBtnTxt", "&Details"),
        string("PlWaitTitle", "Information"),
        string("PlWaitText", "Please wait a moment..."),
        string("MailSubj", "bug report"),
        string("MailBody", "please find the bug report attached"),
        string("SendBoxTitle", "Sending bug report..."),
        string("PrepAttMsg", "Prepare attachments..."),
        string("MxLookMsg", "Searching for mail server..."),
        string("ConnMsg", "Connecting to server..."),
        string("AuthMsg", "Authentication..."),
        string("SendMailMsg", "Sending mail..."),
        string("FieldMsg", "Setting fields..."),
        string("SendAttMsg", "Sending attachments..."),
        string("SendFinalMsg", "Finalizing..."),
        string("SendFailMsg", "Sorry, sending the bug report didn't work."),
    };
}

const std::vector<PropertyRecord>& Defaults() {
    static const std::vector<PropertyRecord> defaults = MakeDefaults();
    return defaults;
}

}  // namespace

std::optional<PropertyRecord> BuiltInDefault(std::string_view name) {
    const PropertyRecord* setting = FindByName(Defaults(), name);
    return setting ? std::optional(*setting) : std::nullopt;
}

}  // namespace kestrix

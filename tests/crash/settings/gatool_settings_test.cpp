// \brief gatool's compiled settings and assistant forms, read back from the resources linked into
// this test exactly as they are linked into gatool.
#include <gtest/gtest.h>

#include "crash/settings/assistant_form_resource.h"
#include "crash/settings/module_settings.h"

namespace kestrix {
namespace {

struct Expected {
    const char* Name;
    PropertyRecord Value;
};

PropertyRecord B(bool value) {
    return PropertyRecord::Boolean("", value);
}
PropertyRecord I(std::int32_t value) {
    return PropertyRecord::Integer("", value);
}
PropertyRecord S(const char* value) {
    return PropertyRecord::String("", value);
}

// This program's values; AutoDelay, AddFields, MailFrom, VersionVar and MinDebugInfo are not set
// and read their built-in defaults.
const Expected ProgramValues[] = {
    {"Enabled", B(true)},
    {"NoSettings", B(false)},
    {"CheckFreeze", B(false)},
    {"FreezeTimeout", I(60000)},
    {"AutoSave", B(false)},
    {"AutoSaveIfNotSent", B(true)},
    {"AutoSend", B(false)},
    {"AutoSendBox", B(true)},
    {"AutoClip", B(false)},
    {"PauseThreads", B(false)},
    {"PlWaitBox", B(true)},
    {"AutoContinue", B(false)},
    {"AutoRestart", I(0)},
    {"AutoClose", I(0)},
    {"AutoDelay", I(60)},
    {"SendBtnVis", B(true)},
    {"SaveBtnVis", B(true)},
    {"PrintBtnVis", B(false)},
    {"ShowBtnVis", B(true)},
    {"ContinueBtnVis", B(true)},
    {"RestartBtnVis", B(true)},
    {"CloseBtnVis", B(true)},
    {"FocusedBtn", I(1)},
    {"SendAssis", S("SendAssistant")},
    {"SaveAssis", S("SaveAssistant")},
    {"PrintAssis", S("PrintAssistant")},
    {"AutoShowBugRep", B(false)},
    {"UglyBtns", B(true)},
    {"SendInBackgr", B(false)},
    {"MailAsSmtpServer", B(false)},
    {"MailAsSmtpClient", B(false)},
    {"UploadViaHttp", B(false)},
    {"MailViaMapi", B(true)},
    {"MailViaMailto", B(true)},
    {"SmtpServer", S("")},
    {"SmtpPort", I(25)},
    {"SmtpAccount", S("")},
    {"SmtpPassword", S("")},
    {"HttpServer", S("")},
    {"HttpPort", I(80)},
    {"HttpAccount", S("")},
    {"HttpPassword", S("")},
    {"AttachBugRep", B(true)},
    {"AttachBugRepFile", B(true)},
    {"DelBugRepFile", B(true)},
    {"BugRepSendAs", S("bugreport.txt")},
    {"BugRepZip", S("")},
    {"ScrShotDepth", I(8)},
    {"ScrShotAppOnly", B(true)},
    {"ScrShotSendAs", S("screenshot.png")},
    {"ScrShotZip", S("")},
    {"AddAttachs", S("")},
    {"AddFields", S("")},
    {"MailFrom", S("")},
    {"BugRepFile", S("bugreport.txt")},
    {"AppendBugReps", B(true)},
    {"BugRepFileSize", I(100000)},
    {"NoDupExcepts", B(true)},
    {"NoDupFreezes", B(true)},
    {"DupExceptDef", I(1)},
    {"DupFreezeDef", I(2)},
    {"ListThreads", B(true)},
    {"CpuRegs", B(true)},
    {"StackDump", B(true)},
    {"ShowDisAsm", B(true)},
    {"HideUglyItems", B(false)},
    {"ShowRelAddrs", B(true)},
    {"ShowRelLines", B(true)},
    {"FormatDisAsm", B(false)},
    {"LimitDisAsm", I(5)},
    {"Plugins", S("modules|processes|hardware")},
    {"F1Classes", S("EDBEditError")},
    {"F1NoBugRep", B(true)},
    {"F1NoScrShot", B(true)},
    {"F1NoHandlers", B(true)},
    {"F1NoSuspend", B(true)},
    {"F1ShowCfg", I(3)},
    {"F1Assis", S("")},
    {"F2Classes", S("")},
    {"F2NoBugRep", B(false)},
    {"F2NoScrShot", B(false)},
    {"F2NoHandlers", B(false)},
    {"F2NoSuspend", B(false)},
    {"F2ShowCfg", I(0)},
    {"F2Assis", S("")},
    {"GnNoBugRep", B(false)},
    {"GnNoScrShot", B(false)},
    {"GnNoHandlers", B(false)},
    {"GnNoSuspend", B(false)},
    {"GnShowCfg", I(0)},
    {"GnAssis", S("")},
    {"Assistant1", S("SendAssistant|Send Assistant|ContactForm|DetailsForm|ScrShotForm")},
    {"Assistant2", S("SaveAssistant|Save Assistant|ContactForm|DetailsForm")},
    {"Assistant3", S("PrintAssistant|Print Assistant|ContactForm|DetailsForm")},
    {"TitleBar", S("%appname%")},
    {"ExceptMsg", S("An error occurred in the application.")},
    {"FrozenMsg", S("The application seems to be frozen.")},
    {"SendBtnTxt", S("send bug report")},
    {"SaveBtnTxt", S("save bug report")},
    {"PrintBtnTxt", S("print bug report")},
    {"ShowBtnTxt", S("show bug report")},
    {"ContinueBtnTxt", S("continue application")},
    {"RestartBtnTxt", S("restart application")},
    {"CloseBtnTxt", S("close application")},
    {"OkBtnTxt", S("&OK")},
    {"DetailsBtnTxt", S("&Details")},
    {"PlWaitTitle", S("Information")},
    {"PlWaitText", S("Please wait a moment...")},
    {"MailSubj", S("bug report")},
    {"MailBody", S("please find the bug report attached")},
    {"SendBoxTitle", S("Sending bug report...")},
    {"PrepAttMsg", S("Preparing attachments...")},
    {"MxLookMsg", S("Searching for mail server...")},
    {"ConnMsg", S("Connecting to server...")},
    {"AuthMsg", S("Authentication...")},
    {"SendMailMsg", S("Sending mail...")},
    {"FieldMsg", S("Setting fields...")},
    {"SendAttMsg", S("Sending attachments...")},
    {"SendFinalMsg", S("Finalizing...")},
    {"SendFailMsg", S("Sorry, sending the bug report didn't work.")},
    {"VersionVar", S("")},
    {"MinDebugInfo", S("")},
};

TEST(GatoolSettings, EverySettingReadsThisProgramsValue) {
    const auto settings = KXSettings();
    ASSERT_TRUE(settings->HasSettingsResource());
    ASSERT_TRUE(settings->IsValid());
    for (const Expected& expected : ProgramValues) {
        SCOPED_TRACE(expected.Name);
        switch (expected.Value.Kind) {
            case TPropertyType::ptBoolean:
                EXPECT_EQ(settings->GetBool(expected.Name), expected.Value.BoolValue);
                break;
            case TPropertyType::ptInteger:
                EXPECT_EQ(settings->GetInt(expected.Name), expected.Value.IntValue);
                break;
            default:
                EXPECT_EQ(settings->GetRawString(expected.Name), expected.Value.StringValue);
        }
    }
}

TEST(GatoolSettings, MailGoesToTheMaintainers) {
    const std::string recipients = KXSettings()->MailAddr();
    EXPECT_NE(recipients.find('@'), std::string::npos);
    EXPECT_EQ(recipients.find(','), std::string::npos);
}

FormObject ReadForm(const char* formName) {
    std::optional<FormObject> form = LoadAssistantForm(MainModule(), formName);
    EXPECT_TRUE(form) << formName;
    return form.value_or(FormObject{});
}

std::vector<std::string> ItemNames(const FormObject& form) {
    std::vector<std::string> names;
    for (const FormObject& item : form.Children) {
        names.push_back(item.Name);
    }
    return names;
}

TEST(GatoolSettings, EveryAssistantsFormsAreLinkedIn) {
    for (const AssistantDefinition& assistant : KXSettings()->Assistants()) {
        for (const std::string& form : assistant.Forms) {
            SCOPED_TRACE(assistant.Name + " " + form);
            EXPECT_EQ(ReadForm(form.c_str()).Name, form);
        }
    }
}

TEST(GatoolSettings, ContactFormAsksForNameAndRequiredEmail) {
    const FormObject form = ReadForm("ContactForm");
    EXPECT_EQ(form.ClassName, "TKXContactForm");
    EXPECT_EQ(form.FindProperty("Message")->StringValue, "Contact Information");
    EXPECT_EQ(form.FindProperty("OnAction")->StringValue, "Kestrix.HandleContactForm");
    ASSERT_EQ(ItemNames(form),
              (std::vector<std::string>{"ContinueBtn", "SkipBtn", "CancelBtn", "NameLabel",
                                        "NameEdit", "EmailLabel", "EmailEdit", "MemCheck"}));
    EXPECT_FALSE(form.Children[1].FindProperty("Enabled")->BoolValue);
    EXPECT_TRUE(form.Children[4].FindProperty("Optional")->BoolValue);
    EXPECT_EQ(form.Children[4].FindProperty("OutputName")->StringValue, "contact name");
    EXPECT_FALSE(form.Children[6].FindProperty("Optional")->BoolValue);
    EXPECT_EQ(form.Children[6].FindProperty("OutputType")->StringValue, "nvoHeader");
    EXPECT_EQ(form.Children[7].FindProperty("Caption")->StringValue, "remember me");
}

TEST(GatoolSettings, DetailsAndScreenshotForms) {
    const FormObject details = ReadForm("DetailsForm");
    EXPECT_EQ(details.FindProperty("Message")->StringValue, "Error Details");
    ASSERT_EQ(details.Children.size(), 5u);
    EXPECT_EQ(details.Children[4].FindProperty("Lines")->IntValue, 9);
    EXPECT_EQ(details.Children[4].FindProperty("OutputType")->StringValue, "nvoOwnSection");

    const FormObject screenshot = ReadForm("ScrShotForm");
    EXPECT_EQ(screenshot.FindProperty("Timer")->IntValue, 250);
    EXPECT_EQ(screenshot.FindProperty("ActiveControl")->StringValue, "ContinueBtn");
    ASSERT_EQ(ItemNames(screenshot),
              (std::vector<std::string>{"ContinueBtn", "SkipBtn", "CancelBtn", "AttachCheck",
                                        "ScrShotImg", "ScrShotLabel"}));
    EXPECT_TRUE(screenshot.Children[3].FindProperty("Checked")->BoolValue);
    EXPECT_TRUE(screenshot.Children[4].FindProperty("Clickable")->BoolValue);
}

}  // namespace
}  // namespace kestrix

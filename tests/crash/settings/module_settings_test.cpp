// \brief Settings objects over module resources: the lookup order, built-in defaults, damaged
// resources, passwords, the choice by address, per-failure overlays and the shared module tables.
#include "crash/settings/module_settings.h"

#include <link.h>

#include <gtest/gtest.h>

#include <memory>

#include "crash/settings/form_stream_writer.h"
#include "crash/settings/internal_error.h"
#include "crash/settings/module_resources.h"
#include "crash/settings/report_cipher.h"
#include "crash/settings/settings_overlay.h"

namespace kestrix {
namespace {

// A settings resource registered for a module while the object lives.
class ScopedSettingsResource {
  public:
    ScopedSettingsResource(ModuleHandle module, std::vector<PropertyRecord> properties)
        : m_bytes(WriteFormStream({"TKestrix", "Kestrix", std::move(properties), {}})),
          m_registration(module, std::string(SettingsResourceName), m_bytes) {}

    ScopedSettingsResource(ModuleHandle module, std::vector<std::uint8_t> bytes)
        : m_bytes(std::move(bytes)),
          m_registration(module, std::string(SettingsResourceName), m_bytes) {}

  private:
    std::vector<std::uint8_t> m_bytes;
    ModuleResourceRegistration m_registration;
};

// A module handle where nothing is mapped: a module without a resource of its own.
constexpr ModuleHandle OtherModule = 0x1000;

PropertyRecord On(const char* name) {
    return PropertyRecord::Boolean(name, true);
}
PropertyRecord Off(const char* name) {
    return PropertyRecord::Boolean(name, false);
}

class ModuleSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previous =
            SetInternalErrorPresenter([this](std::string_view title, std::string_view text) {
                m_errors.push_back(std::string(title) + ": " + std::string(text));
            });
    }
    void TearDown() override { SetInternalErrorPresenter(m_previous); }

    std::vector<std::string> m_errors;

  private:
    InternalErrorPresenter m_previous;
};

TEST_F(ModuleSettings, ResourceValuesThenBuiltInDefaultsThenNothing) {
    const ScopedSettingsResource resource(
        MainModule(),
        {On("Enabled"), Off("NoSettings"), PropertyRecord::Integer("SmtpPort", 2525)});
    const auto settings = KXSettings();
    EXPECT_TRUE(settings->HasSettingsResource());
    EXPECT_TRUE(settings->IsValid());
    EXPECT_TRUE(settings->Enabled());
    EXPECT_EQ(settings->SmtpPort(), 2525);
    // Not in the resource: the built-in defaults.
    EXPECT_EQ(settings->AutoDelay(), 60);
    EXPECT_TRUE(settings->AutoClip());
    EXPECT_FALSE(settings->SaveBtnVis());
    EXPECT_EQ(settings->ContinueBtnTxt(), "continue bug report");
    EXPECT_EQ(settings->PrepAttMsg(), "Prepare attachments...");
    EXPECT_EQ(settings->FreezeTimeout(), 60000);
    // Nowhere at all.
    EXPECT_FALSE(settings->GetBool("NoSuchSetting"));
    EXPECT_EQ(settings->GetInt("NoSuchSetting"), 0);
    EXPECT_EQ(settings->MailFrom(), "");
    EXPECT_EQ(settings->VersionVar(), "");
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(ModuleSettings, WithoutAnyResourceTheReporterStaysOff) {
    const auto settings = KXSettings();
    EXPECT_FALSE(settings->HasSettingsResource());
    EXPECT_FALSE(settings->Enabled());
    EXPECT_TRUE(settings->NoSettings());
}

TEST_F(ModuleSettings, OtherModuleReadsItsOwnThenTheMainModule) {
    const ScopedSettingsResource main(MainModule(), {PropertyRecord::Integer("SmtpPort", 2525),
                                                     PropertyRecord::String("MailSubj", "main")});
    const ScopedSettingsResource own(OtherModule, {PropertyRecord::String("MailSubj", "own")});
    const auto settings = KXSettings(OtherModule);
    EXPECT_EQ(settings->Module(), OtherModule);
    EXPECT_EQ(settings->MailSubj(), "own");
    EXPECT_EQ(settings->SmtpPort(), 2525);
    EXPECT_EQ(settings->HttpPort(), 80);
}

TEST_F(ModuleSettings, ModuleWithoutOwnSettingsUsesTheMainModules) {
    const ScopedSettingsResource main(MainModule(), {PropertyRecord::String("MailAddr", "a@b.cd")});
    const auto settings = KXSettings(OtherModule);
    EXPECT_FALSE(settings->HasSettingsResource());
    EXPECT_EQ(settings->MailAddr(), "a@b.cd");
}

TEST_F(ModuleSettings, DamagedResourceShowsTheMessageAndKeepsWhatWasRead) {
    std::vector<std::uint8_t> bytes = WriteFormStream(
        {"TKestrix", "Kestrix", {On("Enabled"), PropertyRecord::Integer("SmtpPort", 587)}, {}});
    bytes.resize(bytes.size() - 2);  // drop the two end markers
    for (const std::uint8_t b : {std::uint8_t(3), std::uint8_t('B'), std::uint8_t('a'),
                                 std::uint8_t('d'), std::uint8_t(0x1F), std::uint8_t(0)}) {
        bytes.push_back(b);
    }
    const ScopedSettingsResource resource(MainModule(), bytes);
    const auto settings = KXSettings();
    ASSERT_EQ(
        m_errors,
        (std::vector<std::string>{"Kestrix: Internal error: Invalid settings resource ($1F)."}));
    EXPECT_FALSE(settings->IsValid());
    EXPECT_TRUE(settings->Enabled());
    EXPECT_EQ(settings->SmtpPort(), 587);
}

TEST_F(ModuleSettings, StoredPasswordsAreDecipheredWithTheirServerAndAccount) {
    const ScopedSettingsResource resource(
        MainModule(),
        {PropertyRecord::String("SmtpServer", "mail.example.org"),
         PropertyRecord::String("SmtpAccount", "reporter"),
         PropertyRecord::String("SmtpPassword",
                                EncipherStoredPassword("pa55", "mail.example.org", "reporter")),
         PropertyRecord::String("HttpServer", "upload.example.org/bugs"),
         PropertyRecord::String("HttpPassword",
                                EncipherStoredPassword("w0rd", "upload.example.org/bugs", ""))});
    const auto settings = KXSettings();
    EXPECT_EQ(settings->SmtpPassword(), "pa55");
    EXPECT_EQ(settings->HttpPassword(), "w0rd");
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(ModuleSettings, PasswordThatIsNotBase64IsReportedAndDropped) {
    const ScopedSettingsResource resource(MainModule(),
                                          {PropertyRecord::String("SmtpPassword", "plain text")});
    EXPECT_EQ(KXSettings()->SmtpPassword(), "");
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_NE(m_errors[0].find("SmtpPassword"), std::string::npos);
}

TEST_F(ModuleSettings, ChangesAreSharedByTheModulesUsersUntilTheLastLetsGo) {
    const ScopedSettingsResource resource(MainModule(), {PropertyRecord::Integer("SmtpPort", 25)});
    {
        const auto first = KXSettings();
        first->SetSmtpPort(2525);
        EXPECT_EQ(KXSettings()->SmtpPort(), 2525);
        EXPECT_EQ(KXSettings(OtherModule)->SmtpPort(), 2525);
    }
    EXPECT_EQ(KXSettings()->SmtpPort(), 25);
}

TEST_F(ModuleSettings, OverlayChangesOneFailureOnly) {
    const ScopedSettingsResource resource(MainModule(), {Off("AutoContinue")});
    const auto module = KXSettings();
    SettingsOverlay failure(module);
    const SettingsOverlay otherFailure(module);
    failure.SetAutoContinue(true);
    failure.SetString("MailSubj", "this failure");
    EXPECT_TRUE(failure.AutoContinue());
    EXPECT_EQ(failure.MailSubj(), "this failure");
    EXPECT_FALSE(otherFailure.AutoContinue());
    EXPECT_FALSE(module->AutoContinue());
    EXPECT_EQ(module->MailSubj(), "bug report");
    // Unchanged settings read through to the module, including later module changes.
    module->SetSmtpPort(465);
    EXPECT_EQ(failure.SmtpPort(), 465);
}

TEST_F(ModuleSettings, StringSettingsAreExpandedWhenRead) {
    const ScopedSettingsResource resource(
        MainModule(), {PropertyRecord::String("TitleBar", "%APPNAME% failed"),
                       PropertyRecord::String("BugRepFile", "%appname%.report")});
    const auto settings = KXSettings();
    EXPECT_EQ(settings->TitleBar(), ApplicationFileName() + " failed");
    EXPECT_EQ(settings->GetRawString("TitleBar"), "%APPNAME% failed");
    EXPECT_EQ(settings->ReportFileName(), "kestrix_settings_tests.report");
}

TEST_F(ModuleSettings, CompositeSettingsThroughTheSettingsObject) {
    const ScopedSettingsResource resource(
        MainModule(), {PropertyRecord::String("F2Classes", "EConvertError,EOverflow"),
                       PropertyRecord::String("AddFields", "product=gatool|run=%appname%"),
                       PropertyRecord::String("Assistant4", "QuickAssistant|Quick|DetailsForm")});
    const auto settings = KXSettings();
    EXPECT_EQ(settings->F2Classes(), (std::vector<std::string>{"EConvertError", "EOverflow"}));
    EXPECT_TRUE(settings->F1Classes().empty());
    EXPECT_EQ(settings->AddFields()->ContentOf("run"), ApplicationFileName());
    ASSERT_EQ(settings->Assistants().size(), 4u);
    EXPECT_EQ(settings->AssistantByName("quickassistant")->Forms,
              std::vector<std::string>{"DetailsForm"});
    EXPECT_EQ(settings->AssistantByName("PrintAssistant")->Title, "Print Assistant");
    EXPECT_FALSE(settings->AssistantByName("NoAssistant"));
    settings->RemovePlugin("processes");
    settings->AddPlugin("threads");
    EXPECT_EQ(settings->Plugins(), (std::vector<std::string>{"modules", "hardware", "threads"}));
}

// An address in a real shared object of the process (the C library).
const void* AddressInSharedLibrary() {
    return reinterpret_cast<const void*>(&dl_iterate_phdr);
}

TEST_F(ModuleSettings, ByAddressPrefersTheModuleOfTheAddress) {
    const ModuleHandle library = ModuleOfAddress(AddressInSharedLibrary());
    ASSERT_NE(library, 0u);
    ASSERT_NE(library, MainModule());
    const ScopedSettingsResource main(MainModule(), {Off("NoSettings"), On("Enabled")});
    const ScopedSettingsResource own(library, {Off("NoSettings"), Off("Enabled")});
    EXPECT_EQ(KXSettings(AddressInSharedLibrary())->Module(), library);
    EXPECT_FALSE(KXSettings(AddressInSharedLibrary())->Enabled());
}

TEST_F(ModuleSettings, ByAddressSkipsSettingsThatDeferOrAreDamaged) {
    const ModuleHandle library = ModuleOfAddress(AddressInSharedLibrary());
    const auto bytes = WriteFormStream({"TKestrix", "Kestrix", {On("Enabled")}, {}});
    {
        // The library defers; the main module serves.
        const ScopedSettingsResource main(MainModule(), {Off("NoSettings")});
        const ScopedSettingsResource own(library, {On("NoSettings")});
        EXPECT_EQ(KXSettings(AddressInSharedLibrary())->Module(), MainModule());
    }
    {
        // The main module has none that serve: the first other module in address order that does.
        const ScopedSettingsResource main(MainModule(), {On("NoSettings")});
        const ScopedSettingsResource own(library, {Off("NoSettings")});
        EXPECT_EQ(KXSettings(static_cast<const void*>(&bytes))->Module(), library);
    }
    {
        // Nobody serves: the main module's.
        const ScopedSettingsResource damaged(library, {0x54, 0x50, 0x46, 0x30, 0x01});
        EXPECT_EQ(KXSettings(AddressInSharedLibrary())->Module(), MainModule());
    }
}

}  // namespace
}  // namespace kestrix

// \brief Assistant forms found by name in the module or the main module, and damaged forms refused.
#include "crash/settings/assistant_form_resource.h"

#include <gtest/gtest.h>

#include "crash/settings/form_stream_writer.h"
#include "crash/settings/internal_error.h"
#include "crash/settings/module_resources.h"

namespace kestrix {
namespace {

constexpr ModuleHandle PluginModule = 0x2000;

class AssistantFormResource : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previous = SetInternalErrorPresenter(
            [this](std::string_view, std::string_view text) { m_errors.emplace_back(text); });
    }
    void TearDown() override { SetInternalErrorPresenter(m_previous); }

    std::vector<std::string> m_errors;

  private:
    InternalErrorPresenter m_previous;
};

TEST_F(AssistantFormResource, NameIsTkxAndTheFormNameInCapitals) {
    EXPECT_EQ(AssistantFormResourceName("ScrShotForm"), "TKXSCRSHOTFORM");
}

TEST_F(AssistantFormResource, ModuleFormFirstThenTheMainModules) {
    const auto mainForm = WriteFormStream({"TKXDetailsForm", "DetailsForm", {}, {}});
    const auto pluginForm = WriteFormStream({"TKXDetailsForm", "PluginDetails", {}, {}});
    const ModuleResourceRegistration main(MainModule(), "TKXDETAILSFORM", mainForm);
    EXPECT_EQ(LoadAssistantForm(PluginModule, "detailsform")->Name, "DetailsForm");
    const ModuleResourceRegistration plugin(PluginModule, "TKXDETAILSFORM", pluginForm);
    EXPECT_EQ(LoadAssistantForm(PluginModule, "DetailsForm")->Name, "PluginDetails");
    EXPECT_FALSE(LoadAssistantForm(PluginModule, "ContactForm"));
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(AssistantFormResource, DamagedFormIsRefusedWithTheMessage) {
    std::vector<std::uint8_t> bytes = WriteFormStream(
        {"TKXContactForm", "ContactForm", {PropertyRecord::Integer("Timer", 5)}, {}});
    bytes[bytes.size() - 4] = 0x0B;  // the Timer's type byte
    const ModuleResourceRegistration form(MainModule(), "TKXCONTACTFORM", bytes);
    EXPECT_FALSE(LoadAssistantForm(MainModule(), "ContactForm"));
    EXPECT_EQ(m_errors,
              std::vector<std::string>{"Internal error: Invalid assistant resource ($0B)."});
}

}  // namespace
}  // namespace kestrix

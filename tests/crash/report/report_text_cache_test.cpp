// \brief The stored report text: kept until a change, rendered anew on request, and not stored
// when a change came while it was rendered.
#include "crash/report/report_text_cache.h"

#include <gtest/gtest.h>

#include <functional>

namespace kestrix {
namespace {

// A field list whose reads can run a hook, to let a change arrive in the middle of a rendering.
class HookedFields final : public IKXFields {
  public:
    explicit HookedFields(std::shared_ptr<IKXFields> fields) : m_fields(std::move(fields)) {}

    std::function<void()> OnRead;

    std::size_t Count() const override { return m_fields->Count(); }
    std::string Name(std::size_t index) const override { return m_fields->Name(index); }
    std::string Content(std::size_t index) const override {
        if (OnRead)
            OnRead();
        return m_fields->Content(index);
    }
    std::optional<std::size_t> Find(std::string_view name) const override {
        return m_fields->Find(name);
    }
    std::string ContentOf(std::string_view name) const override {
        return m_fields->ContentOf(name);
    }
    void SetContent(std::string_view name, std::string_view content) override {
        m_fields->SetContent(name, content);
    }
    void Insert(std::size_t index, std::string_view name, std::string_view content) override {
        m_fields->Insert(index, name, content);
    }
    void Delete(std::size_t index) override { m_fields->Delete(index); }
    void Delete(std::string_view name) override { m_fields->Delete(name); }
    void SetAddPosition(std::optional<std::size_t> position) override {
        m_fields->SetAddPosition(position);
    }
    std::optional<std::size_t> AddPosition() const override { return m_fields->AddPosition(); }
    std::shared_ptr<IKXFields> Clone() const override { return m_fields->Clone(); }
    void Lock() const override { m_fields->Lock(); }
    void Unlock() const override { m_fields->Unlock(); }
    void SetChangeNotification(std::function<void()> changed) override {
        m_fields->SetChangeNotification(std::move(changed));
    }

  private:
    std::shared_ptr<IKXFields> m_fields;
};

class ReportTextCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_header->SetChangeNotification([this] { m_cache.MarkModified(); });
        m_sections->SetChangeNotification([this] { m_cache.MarkModified(); });
        m_header->SetContent("version", "1.0");
    }

    std::shared_ptr<IKXFields> m_header = NewFields();
    std::shared_ptr<IKXFields> m_sections = NewFields();
    TReportTextCache m_cache;
};

TEST_F(ReportTextCacheTest, KeepsTheTextUntilAFieldChanges) {
    EXPECT_EQ(m_cache.Text(*m_header, *m_sections), "version : 1.0");
    const std::uint64_t count = m_cache.ModificationCount();
    m_sections->SetContent("s", "x");
    EXPECT_EQ(m_cache.ModificationCount(), count + 1);
    EXPECT_EQ(m_cache.Text(*m_header, *m_sections), "version : 1.0\r\n\r\ns:\r\nx");
}

TEST_F(ReportTextCacheTest, RendersAnewOnRequestWithoutANotification) {
    EXPECT_EQ(m_cache.Text(*m_header, *m_sections), "version : 1.0");
    // A list without notification: only a caller that asks for a new rendering sees the change.
    m_header->SetChangeNotification(nullptr);
    m_header->SetContent("version", "2.0");
    EXPECT_EQ(m_cache.Text(*m_header, *m_sections), "version : 1.0");
    EXPECT_EQ(m_cache.Text(*m_header, *m_sections, true), "version : 2.0");
    EXPECT_EQ(m_cache.Text(*m_header, *m_sections), "version : 2.0");
}

TEST_F(ReportTextCacheTest, ATextRenderedDuringAChangeIsNotStored) {
    HookedFields header(m_header);
    int reads = 0;
    header.OnRead = [&] {
        if (++reads == 1)
            m_cache.MarkModified();  // a change that arrives while the text is rendered
    };
    EXPECT_EQ(m_cache.Text(header, *m_sections), "version : 1.0");
    EXPECT_EQ(reads, 1);
    // Nothing was stored: the next request renders again, and that text is kept.
    EXPECT_EQ(m_cache.Text(header, *m_sections), "version : 1.0");
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(m_cache.Text(header, *m_sections), "version : 1.0");
    EXPECT_EQ(reads, 2);
}

}  // namespace
}  // namespace kestrix

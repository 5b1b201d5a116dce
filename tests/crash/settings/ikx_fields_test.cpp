// \brief IKXFields: ordered, case-insensitive names, and the change notification.
#include "crash/settings/ikx_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix {
namespace {

TEST(IKXFields, SetContentReplacesOrAppendsAndInsertPlaces) {
    const std::shared_ptr<IKXFields> fields = NewFields();
    fields->SetContent("executable", "gatool");
    fields->SetContent("version", "0.1");
    fields->SetContent("EXECUTABLE", "gatool2");
    fields->Insert(1, "date/time", "now");
    fields->Insert(99, "count", "2");
    ASSERT_EQ(fields->Count(), 4u);
    EXPECT_EQ(fields->Name(0), "executable");
    EXPECT_EQ(fields->Content(0), "gatool2");
    EXPECT_EQ(fields->Name(1), "date/time");
    EXPECT_EQ(fields->Name(3), "count");
    EXPECT_EQ(fields->Find("Version"), std::optional<std::size_t>(2));
    EXPECT_EQ(fields->ContentOf("absent"), "");
}

TEST(IKXFields, DeleteByIndexAndNameAndCloneIsIndependent) {
    const std::shared_ptr<IKXFields> fields = NewFields();
    for (const char* name : {"a", "b", "c"}) {
        fields->SetContent(name, name);
    }
    const std::shared_ptr<IKXFields> copy = fields->Clone();
    fields->Delete(std::size_t{0});
    fields->Delete("C");
    ASSERT_EQ(fields->Count(), 1u);
    EXPECT_EQ(fields->Name(0), "b");
    EXPECT_EQ(copy->Count(), 3u);
}

TEST(IKXFields, EveryChangeNotifies) {
    const std::shared_ptr<IKXFields> fields = NewFields();
    int changes = 0;
    fields->SetChangeNotification([&] { ++changes; });
    fields->SetContent("a", "1");
    fields->Insert(0, "b", "2");
    fields->Delete("a");
    fields->Delete("absent");
    EXPECT_EQ(changes, 3);
}

TEST(IKXFields, NewItemsGoInAtTheAddPositionAndKeepTheLastFieldsLast) {
    const std::shared_ptr<IKXFields> fields = NewFields();
    for (const char* name : {"date/time", "version", "callstack crc", "exception class"}) {
        fields->SetContent(name, "");
    }
    fields->SetAddPosition(2);
    fields->SetContent("contact", "a");
    fields->SetContent("comment", "b");
    fields->SetContent("version", "2.0");  // an existing name stays where it is
    fields->Insert(0, "first", "");
    fields->Delete("date/time");
    fields->SetContent("screenshot", "c");
    std::vector<std::string> names;
    for (std::size_t i = 0; i < fields->Count(); ++i) {
        names.push_back(fields->Name(i));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"first", "version", "contact", "comment",
                                               "screenshot", "callstack crc", "exception class"}));
    EXPECT_EQ(fields->AddPosition(), std::optional<std::size_t>(5));
    EXPECT_EQ(fields->Clone()->AddPosition(), std::optional<std::size_t>(5));
    // Without an add position new items are appended.
    fields->SetAddPosition(std::nullopt);
    fields->SetContent("last", "");
    EXPECT_EQ(fields->Name(fields->Count() - 1), "last");
}

}  // namespace
}  // namespace kestrix

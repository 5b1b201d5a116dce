// Class names and messages of thrown objects, read through the C++ ABI's type information.
#include "crash/core/thrown_object.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace probe_classes {

struct Plain {};
class Base : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
class Derived : public Base {
  public:
    using Base::Base;
};
struct Mixin {
    virtual ~Mixin() = default;
};
class Both : public Derived, public Mixin {
  public:
    Both() : Derived("both") {}
};
template <typename T>
struct Wrapper : std::logic_error {
    Wrapper() : std::logic_error("wrapped") {}
};

}  // namespace probe_classes

namespace kestrix {
namespace {

template <typename T>
ThrownObject Caught(T thrown) {
    return ThrownObjectOf(std::make_exception_ptr(std::move(thrown)));
}

TEST(ClassNames, ListTheClassAndEveryAncestorWithoutNamespace) {
    EXPECT_EQ(ClassNames(typeid(probe_classes::Derived)),
              (std::vector<std::string>{"Derived", "Base", "runtime_error", "exception"}));
}

TEST(ClassNames, FollowEveryBaseOfMultipleInheritance) {
    EXPECT_EQ(ClassNames(typeid(probe_classes::Both)),
              (std::vector<std::string>{"Both", "Derived", "Base", "runtime_error", "exception",
                                        "Mixin"}));
}

TEST(ClassNames, DropTemplateArgumentsAndAreEmptyForNonClasses) {
    EXPECT_EQ(ClassNames(typeid(probe_classes::Wrapper<std::pair<int, int>>)).front(), "Wrapper");
    EXPECT_TRUE(ClassNames(typeid(int)).empty());
    EXPECT_EQ(ClassNames(typeid(probe_classes::Plain)), std::vector<std::string>{"Plain"});
}

TEST(ThrownObject, GivesTheMessageOfAStdExceptionThroughItsBase) {
    const std::exception_ptr held = std::make_exception_ptr(probe_classes::Both());
    const ThrownObject object = ThrownObjectOf(held);
    EXPECT_EQ(ExceptionMessage(object), "both");
    EXPECT_EQ(ClassName(object), "Both");
    try {
        std::rethrow_exception(held);
    } catch (const probe_classes::Both& caught) {
        EXPECT_EQ(object.Object, &caught);
    }
}

TEST(ThrownObject, HasNoMessageForOtherObjectsAndNothingForNoException) {
    EXPECT_EQ(ExceptionMessage(Caught(42)), "");
    EXPECT_EQ(ClassName(Caught(42)), "int");
    EXPECT_EQ(ExceptionMessage(Caught(probe_classes::Plain{})), "");
    EXPECT_FALSE(ThrownObjectOf(nullptr));
}

}  // namespace
}  // namespace kestrix

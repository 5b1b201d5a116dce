// The private folders: created closed to others, closed again when opened up, refused when they
// are links or cannot be made private.
#include "crash/core/private_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "tests/crash/core/runtime_folder.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;

class PrivateFolders : public ::testing::Test {
  protected:
    static fs::perms Permissions(const fs::path& path) {
        return fs::symlink_status(path).permissions();
    }
    const TestRuntimeFolder m_runtime{"kestrix-folder-test"};
    const fs::path& m_base = m_runtime.Path();
};

TEST_F(PrivateFolders, AreCreatedUnderTheRuntimeFolderForTheUserAlone) {
    const auto folder = PrivateFolder("reports");
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, m_base / "reports");
    EXPECT_EQ(Permissions(*folder), fs::perms::owner_all);
}

TEST_F(PrivateFolders, AreClosedAgainWhenOthersMayEnter) {
    fs::create_directory(m_base / "open");
    chmod((m_base / "open").c_str(), 0777);
    ASSERT_TRUE(PrivateFolder("open"));
    EXPECT_EQ(Permissions(m_base / "open"), fs::perms::owner_all);
}

TEST_F(PrivateFolders, RefuseALinkPlantedInTheirPlace) {
    fs::create_directory(m_base / "elsewhere");
    fs::create_directory_symlink(m_base / "elsewhere", m_base / "planted");
    EXPECT_FALSE(PrivateFolder("planted"));
}

TEST_F(PrivateFolders, TheTemporaryFolderIsEmptiedTheReportFolderIsNot) {
    const auto temporary = TemporaryFolder();
    const auto reports = ReportFolder();
    ASSERT_TRUE(temporary && reports);
    EXPECT_NE(*temporary, *reports);
    std::ofstream(*temporary / "attachment.zip") << "old";
    fs::create_directory(*temporary / "nested");
    std::ofstream(*reports / "bugreport.txt") << "kept";
    ClearTemporaryFolder();
    EXPECT_TRUE(fs::is_empty(*temporary));
    EXPECT_TRUE(fs::exists(*reports / "bugreport.txt"));
}

}  // namespace
}  // namespace kestrix

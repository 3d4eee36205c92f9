#include "platform/UserRegistry.h"
#include "platform/DocumentsFolderFallback.h"
#include "platform/PathUtil.h"
#include "platform/RegistryFile.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"

#include "ivro/IvroBackupLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace addrix {
namespace {

using test::FakeRegistry;
using test::TempDir;

const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kSep(1, kPathSeparator);

EnvLookup Env(std::map<std::string, std::string> variables) {
    return [variables](const std::string& name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

TEST(DefaultRegistryFilePathTest, TakesTheFirstVariableThatIsSet) {
    const struct {
        std::map<std::string, std::string> env;
        std::string expected;
    } cases[] = {
        {{{"ADDRIX_REGISTRY", "/r/my.reg"}, {"WINEPREFIX", "/w"}, {"HOME", "/h"}}, "/r/my.reg"},
        {{{"ADDRIX_REGISTRY", ""}, {"WINEPREFIX", "/w"}, {"HOME", "/h"}}, "/w" + kSep + "user.reg"},
        {{{"WINEPREFIX", "/w" + kSep}}, "/w" + kSep + "user.reg"},
        {{{"HOME", "/h"}}, "/h" + kSep + ".wine" + kSep + "user.reg"},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultRegistryFilePath(Env(c.env)), c.expected);
}

class DocumentsFolderTest : public ::testing::Test {
protected:
    // Writes user-dirs.dirs into `folder` below the temporary folder.
    std::string WriteUserDirs(const std::string& folder, const std::string& content) {
        const std::string path = m_dir.file(folder);
        std::filesystem::create_directories(path);
        m_dir.write(folder + "/user-dirs.dirs", content);
        return path;
    }
    TempDir m_dir;
};

TEST_F(DocumentsFolderTest, EnvironmentVariableComesFirst) {
    WriteUserDirs(".config", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    EXPECT_EQ(DefaultDocumentsFolder(Env({{"XDG_DOCUMENTS_DIR", "/docs"}, {"HOME", m_dir.path()}})),
              "/docs");
}

TEST_F(DocumentsFolderTest, ReadsTheUserDirsFile) {
    const std::string home = m_dir.path();
    const std::string config =
        WriteUserDirs("cfg", "# written by the desktop\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                             "XDG_DOCUMENTS_DIR=\"$HOME/Meine Dokumente\"\n");
    WriteUserDirs(".config", "XDG_DOCUMENTS_DIR=\"$HOME/Default\"\n");
    const struct {
        std::map<std::string, std::string> env;
        std::string expected;
    } cases[] = {
        {{{"HOME", home}, {"XDG_CONFIG_HOME", config}}, home + "/Meine Dokumente"},
        {{{"HOME", home}}, home + "/Default"},
        {{{"HOME", home + "/nobody"}}, home + "/nobody" + kSep + "Documents"},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultDocumentsFolder(Env(c.env)), c.expected);
}

TEST_F(DocumentsFolderTest, UserDirsLinesThatDoNotCount) {
    const std::string home = m_dir.path();
    const struct {
        std::string content;
        std::string expected;
    } cases[] = {
        {"XDG_DOCUMENTS_DIR=\"/srv/docs\"\r\n", "/srv/docs"},
        {"XDG_DOCUMENTS_DIR=\"${HOME}/Docs\"\n", home + "/Docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/A \\\"B\\\"\"\n", home + "/A \"B\""},
        {"#XDG_DOCUMENTS_DIR=\"/commented\"\n", home + kSep + "Documents"},
        {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", home + kSep + "Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", home + kSep + "Documents"},
        {"XDG_DOCUMENTS_DIRX=\"/other\"\n", home + kSep + "Documents"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        const std::string config = WriteUserDirs("c", c.content);
        EXPECT_EQ(DefaultDocumentsFolder(Env({{"HOME", home}, {"XDG_CONFIG_HOME", config}})),
                  c.expected);
    }
}

TEST(DocumentsFolderFallbackTest, AnswersOnlyTheMissingDocumentsFolder) {
    auto inner = std::make_unique<FakeRegistry>();
    inner->setString("Software\\Quorvane", "x", "kept");
    inner->subKeys["Software"] = {"Quorvane"};
    const DocumentsFolderFallback registry(std::move(inner), "/home/ann/Documents");

    EXPECT_EQ(ReadRegistryValue(registry, kShellFolders, "Personal"), "/home/ann/Documents");
    EXPECT_EQ(ReadRegistryValue(registry,
                                "software\\microsoft\\windows\\currentversion\\"
                                "explorer\\shell folders\\",
                                "PERSONAL"),
              "/home/ann/Documents");
    EXPECT_EQ(ReadRegistryValue(registry, kShellFolders, "Desktop"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, kShellFolders + "\\Sub", "Personal"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, "Software\\Quorvane", "x"), "kept");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Software", 0), "Quorvane");
    EXPECT_EQ(GetIvroBackupFile(registry), "/home/ann/Documents" + kSep + "addressBook.adr");
}

TEST(DocumentsFolderFallbackTest, TheRegistrysOwnValueWins) {
    auto inner = std::make_unique<FakeRegistry>();
    inner->setString(kShellFolders, "Personal", "C:\\Docs");
    const DocumentsFolderFallback withValue(std::move(inner), "/home/ann/Documents");
    EXPECT_EQ(ReadRegistryValue(withValue, kShellFolders, "Personal"), "C:\\Docs");

    const DocumentsFolderFallback noFolder(std::make_unique<FakeRegistry>(), "");
    EXPECT_EQ(ReadRegistryValue(noFolder, kShellFolders, "Personal"), "Not Found");
}

#ifndef _WIN32
TEST(OpenUserRegistryTest, ReadsTheNamedFileWithTheDocumentsFallback) {
    TempDir dir;
    const std::string file =
        dir.write("user.reg", "WINE REGISTRY Version 2\n"
                              "[Software\\\\Quorvane\\\\Ivro Backup\\\\Version 1] 1\n"
                              "\"addressBookFile\"=\"mine.adr\"\n");
    const auto registry =
        OpenUserRegistry(Env({{"ADDRIX_REGISTRY", file}, {"XDG_DOCUMENTS_DIR", "/d"}}));
    EXPECT_EQ(ReadRegistryValue(*registry, kShellFolders, "Personal"), "/d");
    EXPECT_EQ(GetIvroBackupFile(*registry), "Not Found" + kSep + "mine.adr");

    const auto missing = OpenUserRegistry(
        Env({{"ADDRIX_REGISTRY", dir.file("none.reg")}, {"XDG_DOCUMENTS_DIR", "/d"}}));
    EXPECT_EQ(GetIvroBackupFile(*missing), "/d" + kSep + "addressBook.adr");
}
#endif

} // namespace
} // namespace addrix

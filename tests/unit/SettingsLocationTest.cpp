#include "settings/SettingsLocation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/SettingsFile.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

SettingsLocationFacts installed() {
    SettingsLocationFacts facts;
    facts.programFolder = "/usr/lib/tindro-zevad";
    facts.xdgConfigHome = "/home/ann/conf";
    facts.home = "/home/ann";
    return facts;
}

TEST(SettingsLocation, PortableProgramFolderKeepsTheFileBesideTheExecutable) {
    const std::string beside = "/usr/lib/tindro-zevad/Tindro Zevad.ini";
    // An existing file wins even where it cannot be replaced.
    SettingsLocationFacts existing = installed();
    existing.fileInProgramFolder = true;
    EXPECT_EQ(chooseSettingsPath(existing), beside);

    SettingsLocationFacts writable = installed();
    writable.programFolderWritable = true;
    EXPECT_EQ(chooseSettingsPath(writable), beside);
}

TEST(SettingsLocation, ReadOnlyProgramFolderUsesTheUsersConfigurationFolder) {
    SettingsLocationFacts facts = installed();
    EXPECT_EQ(chooseSettingsPath(facts), "/home/ann/conf/tindro-zevad/Tindro Zevad.ini");
    facts.xdgConfigHome = "/home/ann/conf//";
    EXPECT_EQ(chooseSettingsPath(facts), "/home/ann/conf/tindro-zevad/Tindro Zevad.ini");

    // Unset, or relative and so not to be used: the default under HOME.
    for (const char* xdg : {"", "conf"}) {
        facts.xdgConfigHome = xdg;
        EXPECT_EQ(chooseSettingsPath(facts), "/home/ann/.config/tindro-zevad/Tindro Zevad.ini")
            << "XDG_CONFIG_HOME=" << xdg;
    }
    facts.home = "/";
    EXPECT_EQ(chooseSettingsPath(facts), "/.config/tindro-zevad/Tindro Zevad.ini");

    // Nowhere else to go: beside the executable, as before.
    facts.home = "";
    EXPECT_EQ(chooseSettingsPath(facts), "/usr/lib/tindro-zevad/Tindro Zevad.ini");
}

TEST(SettingsLocation, FirstWriteCreatesTheMissingFoldersPrivate) {
    test::TestDirectory dir;
    const std::string path = dir.file("conf/tindro-zevad/Tindro Zevad.ini");
    Settings s;
    s.Delay = 5;
    s.StartMode = 5;
    ASSERT_TRUE(writeSettingsFile(path, s, 5));
    EXPECT_EQ(readSettingsFile(path), s);
    for (const char* folder : {"conf", "conf/tindro-zevad"}) {
        struct stat info {};
        ASSERT_EQ(::stat(dir.file(folder).c_str(), &info), 0) << folder;
        EXPECT_EQ(info.st_mode & 07777, 0700u) << folder;
    }

    // A plain file where the folder should be: nothing written, no crash.
    dir.write("blocked", "");
    EXPECT_FALSE(writeSettingsFile(dir.file("blocked/Tindro Zevad.ini"), s, 5));
}

TEST(SettingsLocation, RealFactsKeepAWritableProgramFolder) {
    test::TestDirectory dir;
    EXPECT_EQ(settingsPathFor(dir.path()), dir.file("Tindro Zevad.ini"));
}

}  // namespace
}  // namespace tz

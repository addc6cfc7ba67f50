#include "core/settings/SettingsLocation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/settings/SettingsFile.h"
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
    SettingsLocationFacts writable = installed();
    writable.programFolderWritable = true;
    EXPECT_EQ(chooseSettingsPath(writable), "/usr/lib/tindro-zevad/Tindro Zevad.ini");
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
    s.delay = 5;
    s.startMode = 5;
    ASSERT_TRUE(writeSettingsFile(path, s));
    EXPECT_EQ(readSettingsFile(path), s);
    for (const char* folder : {"conf", "conf/tindro-zevad"}) {
        struct stat info {};
        ASSERT_EQ(::stat(dir.file(folder).c_str(), &info), 0) << folder;
        EXPECT_EQ(info.st_mode & 07777, 0700u) << folder;
    }

    // A plain file where the folder should be: nothing written, no crash.
    dir.write("blocked", "");
    EXPECT_FALSE(writeSettingsFile(dir.file("blocked/Tindro Zevad.ini"), s));
}

TEST(SettingsLocation, RealFactsKeepAWritableProgramFolder) {
    test::TestDirectory dir;
    EXPECT_EQ(settingsPathFor(dir.path()), dir.file("Tindro Zevad.ini"));
}

TEST(SettingsLocation, ProgramFolderFileGivesTheStartingValuesUntilTheUsersOwnIsSaved) {
    test::TestDirectory dir;
    const std::string own = dir.file("conf/tindro-zevad/Tindro Zevad.ini");
    EXPECT_EQ(readStartingSettings(own, dir.path()), Settings{});
    dir.write("Tindro Zevad.ini", "3\r\n7\r\n0\r\nDeutsch.lng\r\n1\r\n0\r\n1\r\n5\r\n");
    const Settings installed = readStartingSettings(own, dir.path());
    EXPECT_EQ(installed.delay, 7);
    EXPECT_EQ(installed.languageFile, "Deutsch.lng");
    Settings chosen = installed;
    chosen.delay = 9;
    chosen.startMode = 2;
    ASSERT_TRUE(writeSettingsFile(own, chosen));
    EXPECT_EQ(readStartingSettings(own, dir.path()), chosen);
}

}  // namespace
}  // namespace tz

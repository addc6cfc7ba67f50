#include "core/settings/StartupEntry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/posix/XdgAutostartStore.h"
#include "tests/fakes/FakeStartupEntryStore.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

using Args = std::vector<std::string>;

TEST(StartupEntry, ExecQuotingRoundTripsEveryPath) {
    EXPECT_EQ(quoteExecArgument("/opt/tz/tindro-zevad"), "/opt/tz/tindro-zevad");
    EXPECT_EQ(quoteExecArgument("/opt/100%/tz"), "/opt/100%%/tz");
    // Escaped inside the quotes, then again as a string value.
    EXPECT_EQ(quoteExecArgument("/a b\\c$"), "\"/a b\\\\\\\\c\\\\$\"");
    for (const std::string path :
         {"/opt/Tindro Zevad/Tindro Zevad Free", "/opt/say \"hi\"/tz", "/opt/$HOME/%%f %u",
          "/opt/back\\slash\\", "/opt/`tick`/'q'/~/a&b;c", "/opt/tab\there/new\nline/cr\rx",
          "/opt/ünïcødé/=#(x)|<y>*?"}) {
        EXPECT_EQ(parseExecLine(quoteExecArgument(path)), Args{path}) << path;
    }
}

TEST(StartupEntry, ParserRejectsMalformedLines) {
    EXPECT_EQ(parseExecLine("prog  \"a b\" c%%d\\sx \"\""), (Args{"prog", "a b", "c%d", "x", ""}));
    for (const char* bad : {"", "  ", "\"open", "a\"b\"", "\"a\"b", "a$b", "a\\b", "a\\",
                            "\"a\\\\qb\"", "prog %f", "prog 100%"}) {
        EXPECT_EQ(parseExecLine(bad), std::nullopt) << bad;
    }
}

TEST(StartupEntry, ContentsStartTheExecutableWithoutArguments) {
    const auto contents = desktopEntryContents("/opt/Tindro Zevad/tz");
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->rfind("[Desktop Entry]\nType=Application\nName=Tindro Zevad\n", 0), 0u);
    EXPECT_NE(contents->find("\nExec=\"/opt/Tindro Zevad/tz\"\n"), std::string::npos);
    for (const std::string& unwritable :
         {std::string(), std::string("/opt/\xff/tz"), std::string("/opt/\0/tz", 9)}) {
        EXPECT_EQ(desktopEntryContents(unwritable), std::nullopt);
    }
}

TEST(StartupEntry, WrittenOnExactlyOneAndRemovedOtherwise) {
    fake::FakeStartupEntryStore store;
    UpdateStartupEntry(1, "/opt/tz/tz", store);
    EXPECT_EQ(store.entry, "/opt/tz/tz");
    for (const std::int16_t off : {0, 2, -1}) {
        UpdateStartupEntry(off, "/opt/tz/tz", store);
        EXPECT_EQ(store.entry, std::nullopt);
    }
    EXPECT_EQ(store.writes, 1);
}

TEST(StartupEntry, ReplacedExecutableIsRegisteredByThePathOfTheFileThereNow) {
    test::TestDirectory dir;
    dir.write("tz", "new");
    const std::string tz = dir.file("tz");
    const struct {
        std::string reported;
        std::string registered;
    } cases[] = {
        {tz, tz},
        {tz + " (deleted)", tz},  // upgraded while running
        {dir.file("gone (deleted)"), ""},
        {dir.file("gone"), ""},
        {dir.path() + " (deleted)", ""},  // a folder is no program
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runningExecutablePath(c.reported), c.registered) << c.reported;
    }
}

TEST(XdgAutostartStore, WritesRefreshesAndRemovesTheEntry) {
    test::TestDirectory dir;
    XdgAutostartStore store(dir.file("config"));  // missing: made by the first write
    EXPECT_EQ(store.entryPath(), dir.file("config/autostart/tindro-zevad.desktop"));
    store.remove();  // no entry yet: no error
    store.write("/opt/old/tz");
    store.write("/opt/Tindro Zevad/tz");
    EXPECT_EQ(dir.read("config/autostart/tindro-zevad.desktop"),
              desktopEntryContents("/opt/Tindro Zevad/tz"));
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("config/autostart").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    store.remove();
    EXPECT_NE(::stat(store.entryPath().c_str(), &info), 0);
}

TEST(XdgAutostartStore, UsesXdgConfigHomeWhenAbsoluteElseHome) {
    const std::string home = ::getenv("HOME") ? ::getenv("HOME") : "";
    const char* oldXdg = ::getenv("XDG_CONFIG_HOME");
    const std::string xdg = oldXdg ? oldXdg : "";
    ::setenv("HOME", "/home/me", 1);
    ::setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
    EXPECT_EQ(XdgAutostartStore().entryPath(), "/x/cfg/autostart/tindro-zevad.desktop");
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(XdgAutostartStore().entryPath(), "/home/me/.config/autostart/tindro-zevad.desktop");
    ::setenv("HOME", home.c_str(), 1);
    oldXdg ? ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tz

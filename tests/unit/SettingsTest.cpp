// Settings: the file's eight lines, where it lives, how a save replaces it, the extras file beside
// it, and the start-at-logon entry.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/extras/ExtrasSettings.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsLocation.h"
#include "core/settings/StartupEntry.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

using Args = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kExample = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n";
const std::string kSaved = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n5\r\n";  // example(5)

Settings example(std::int16_t startMode = 3) {
    return {2, 5, 0, "English.lng", 1, 0, 0, startMode};
}

struct stat statOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

mode_t modeOf(const std::string& path) {
    return statOf(path).st_mode & 07777;
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SettingsFile, ReadsAndWritesTheEightLines) {
    EXPECT_EQ(formatSettings(example()), kExample);
    EXPECT_EQ(formatSettings({-7, 0, 0, "", 0, 0, 0, 0}).substr(0, 7), "-7\r\n0\r\n");
    // Blanks before a field are skipped, LF and a lone CR end lines too, and whatever follows a
    // quoted name's closing quote is dropped.
    for (const std::string& same :
         {kExample, std::string("  2\n5\r0\r\n  English.lng\r\n1\n0\n0\n3"),
          std::string("2\r\n5\r\n0\r\n\"English.lng\" x\r\n1\r\n0\r\n0\r\n3\r\n")})
        EXPECT_EQ(parseSettings(same), example()) << same;
    // An unquoted comma splits the line: each later field comes from the line above.
    EXPECT_EQ(parseSettings("2\r\n5\r\n0\r\nFr,ench.lng\r\n1\r\n0\r\n7\r\n3\r\n"),
              (Settings{2, 5, 0, "Fr", 0, 1, 0, 7}));
    EXPECT_EQ(parseSettings("2\r\n5\r\n0\r\nFran\347ais.lng\r\n").languageFile, "Français.lng");
}

TEST(SettingsFile, DamagedOrMissingFilesGiveZeros) {
    EXPECT_EQ(parseSettings(""), Settings{});
    EXPECT_EQ(parseSettings("9\r\n4\r\n"), (Settings{9, 4, 0, "", 0, 0, 0, 0}));
    EXPECT_EQ(parseSettings("abc\r\n40000\r\n-32769\r\nx\r\n1.5\r\n+1\r\n32767\r\n-32768\r\n"),
              (Settings{0, 0, 0, "x", 0, 0, 32767, -32768}));
    test::TestDirectory dir;
    EXPECT_EQ(readSettingsFile(dir.file("none.ini")), Settings{});
    // Only the first 64 KiB of a file are read.
    dir.write("big.ini", std::string(64 * 1024 - 1, ' ') + "9\r\n");
    EXPECT_EQ(readSettingsFile(dir.file("big.ini")).tolerance, 9);
    dir.write("big.ini", std::string(64 * 1024, ' ') + "9\r\n");
    EXPECT_EQ(readSettingsFile(dir.file("big.ini")), Settings{});
}

TEST(SettingsFile, EveryStorableNameReadsBackAndNoNameBreaksTheLines) {
    // Line 4 for a name; what it reads back as is the name, or no name (the language is then chosen
    // again) when the line is empty.
    const auto line4 = [](const char* name) {
        Settings s = example();
        s.languageFile = name;
        const std::string bytes = formatSettings(s), line = bytes.substr(9, bytes.size() - 23);
        s.languageFile = line.empty() ? "" : name;
        EXPECT_EQ(parseSettings(bytes), s) << name;
        EXPECT_EQ(isStorableLanguageName(name), !line.empty()) << name;
        return line;
    };
    // Names the plain line would split or trim go in quotes; a name no line can hold leaves it
    // empty.
    EXPECT_EQ(test::each(line4, {"Fr,ench.lng", " English.lng", "say \"hi\".lng", "\x01.lng"}),
              (Args{"\"Fr,ench.lng\"", "\" English.lng\"", "say \"hi\".lng", "\x01.lng"}));
    EXPECT_EQ(test::each(line4, {"\"Greek.lng", "a,\"b.lng", "two\r\nlines.lng", "lf\nonly.lng",
                                 "Fran\347ais"}),
              Args(5));
}

TEST(SettingsFile, LivesBesideTheProgramOrInTheUsersConfigurationFolder) {
    // A writable program folder keeps it; else $XDG_CONFIG_HOME when absolute, else $HOME/.config;
    // with neither, the program folder all the same.
    const std::string own = "/tindro-zevad/Tindro Zevad.ini", beside = "/opt/tz/Tindro Zevad.ini";
    const std::tuple<bool, std::string, std::string, std::string> cases[] = {
        {true, "/home/ann/conf", "/home/ann", beside},
        {false, "/home/ann/conf//", "/home/ann", "/home/ann/conf" + own},
        {false, "", "/home/ann", "/home/ann/.config" + own},
        {false, "conf", "/", "/.config" + own},
        {false, "", "", beside}};
    for (const auto& [writable, xdg, home, path] : cases)
        EXPECT_EQ(chooseSettingsPath({"/opt/tz", writable, xdg, home}), path) << xdg << " " << home;
    test::TestDirectory dir;
    EXPECT_EQ(settingsPathFor(dir.path()), dir.file("Tindro Zevad.ini"));
}

TEST(SettingsFile, ProgramFolderFileGivesTheStartingValuesUntilTheUsersOwnIsSaved) {
    test::TestDirectory dir;
    const std::string own = dir.file("conf/tindro-zevad/Tindro Zevad.ini");
    EXPECT_EQ(readStartingSettings(own, dir.path()), Settings{});
    dir.write("Tindro Zevad.ini", kExample);
    EXPECT_EQ(readStartingSettings(own, dir.path()), example());
    ASSERT_TRUE(writeSettingsFile(own, example(5)));
    EXPECT_EQ(readStartingSettings(own, dir.path()), example(5));
    EXPECT_EQ(modeOf(dir.file("conf")), 0700u);  // the missing folders are made private
    EXPECT_EQ(modeOf(dir.file("conf/tindro-zevad")), 0700u);
    dir.write("blocked", "");  // a plain file where the folder should be
    EXPECT_FALSE(writeSettingsFile(dir.file("blocked/Tindro Zevad.ini"), example()));
}

TEST(SettingsFile, SaveReplacesANewOrChangedFileOnly) {
    test::TestDirectory dir;
    const std::string path = dir.file(kSettingsFileName);
    const mode_t oldMask = ::umask(022);
    ASSERT_TRUE(writeSettingsFile(path, example()));
    ::umask(oldMask);
    EXPECT_EQ(dir.read(kSettingsFileName), kExample);
    EXPECT_EQ(modeOf(path), 0644u) << "a new file gets 0666 less the umask";
    const ino_t before = statOf(path).st_ino;
    ASSERT_TRUE(writeSettingsFile(path, example()));
    EXPECT_EQ(statOf(path).st_ino, before) << "an identical save must not replace the file";
    ASSERT_TRUE(writeSettingsFile(path, example(5)));
    EXPECT_EQ(dir.read(kSettingsFileName), kSaved);
    dir.write(kSettingsFileName, kSaved + "more");
    ASSERT_TRUE(writeSettingsFile(path, example(5)));
    EXPECT_EQ(dir.read(kSettingsFileName), kSaved);
}

// Fails one step of a save: making the temporary file, writing (disk full after half), flushing,
// closing (which releases the file all the same), writing without progress, renaming, or everything
// after the write (killed); or writes in short, interrupted pieces that complete.
struct FailingOps : FileOps {
    enum Step { Create, Write, Flush, Close, Stalled, Rename, Killed, Slow } step;
    int writes = 0;
    explicit FailingOps(Step s) : step(s) {}
    int createTemporary(std::string& pathTemplate) override {
        return step == Create ? -1 : FileOps::createTemporary(pathTemplate);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        const bool even = ++writes % 2 == 0;
        if (step == Write) {
            errno = ENOSPC;
            return even ? -1 : FileOps::write(fd, data, size / 2);
        }
        if (step == Slow) {
            errno = EINTR;
            return even ? FileOps::write(fd, data, std::min<std::size_t>(size, 3)) : -1;
        }
        return step == Stalled ? 0 : FileOps::write(fd, data, size);
    }
    bool flush(int fd) override { return step != Flush && FileOps::flush(fd); }
    bool close(int fd) override { return FileOps::close(fd) && step != Close; }
    bool rename(const std::string& from, const std::string& to) override {
        return (step < Rename || step == Slow) && FileOps::rename(from, to);
    }
    void remove(const std::string& path) override {
        step == Killed ? void() : FileOps::remove(path);
    }
};

TEST(SettingsFile, AFailedSaveLeavesThePreviousFileAndOnlyAKilledOneATemporary) {
    for (auto step :
         {FailingOps::Create, FailingOps::Write, FailingOps::Flush, FailingOps::Close,
          FailingOps::Stalled, FailingOps::Rename, FailingOps::Killed, FailingOps::Slow}) {
        test::TestDirectory dir;
        dir.write(kSettingsFileName, kExample);
        FailingOps ops(step);
        EXPECT_EQ(writeSettingsFile(dir.file(kSettingsFileName), example(5), ops),
                  step == FailingOps::Slow);
        EXPECT_EQ(dir.read(kSettingsFileName), step == FailingOps::Slow ? kSaved : kExample)
            << step;
        EXPECT_EQ(namesIn(dir.path()).size(), step == FailingOps::Killed ? 2u : 1u) << step;
        removeStaleTemporaries(dir.path());  // as the next start does
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{kSettingsFileName}) << step;
    }
}

const ExtrasSettings kMine{false, 48, false, "F12", false, true};
const std::string kMineText =
    "CountdownOn=0\nCountdownSize=48\nTrayOn=0\nPauseKey=F12\nCancelOnPress=0\nScrollButton=1\n";

TEST(ExtrasFile, ReadsWhatItWritesAndEachDamagedOrMissingValueAloneGivesItsDefault) {
    EXPECT_EQ(formatExtras({}),
              "[Extras]\nCountdownOn=1\nCountdownSize=32\nTrayOn=1\n"
              "PauseKey=Pause\nCancelOnPress=1\nScrollButton=0\n");
    for (const ExtrasSettings& same :
         {kMine, ExtrasSettings{true, 16, true, "", true},
          ExtrasSettings{true, 64, true, std::string(24, '_') + "Aa_Zz_09"}})
        EXPECT_EQ(parseExtras(formatExtras(same)), same) << same.countdownSize;
    // A size or key the reader would refuse is left out, and so reads as the default.
    EXPECT_EQ(parseExtras(formatExtras({false, 15, false, "a-b", false})),
              (ExtrasSettings{false, 32, false, "Pause", false}));
    EXPECT_EQ(parseExtras(formatExtras({true, 65, true, std::string(33, 'a')})), ExtrasSettings{});
    EXPECT_EQ(parseExtras("; CountdownOn=1\r\n # TrayOn=1\n[Any]\n  CountdownOn = FALSE\r\n"
                          "CountdownSize=48\nTrayOn=false\n\tPauseKey = F12 "
                          "\nCancelOnPress\t=0\nBeep=1\nScrollButton= TRUE"),
              kMine);
    // One line replaced: a damaged or missing value alone keeps its default; a repeated key's last
    // value counts.
    const std::tuple<std::string, std::string, ExtrasSettings> damaged[] = {
        {"CountdownOn=0", "CountdownOn=falsy", {true, 48, false, "F12", false, true}},
        {"CountdownOn=0", "CountdownOn=0\nCountdownOn=1", {true, 48, false, "F12", false, true}},
        {"CountdownSize=48", "CountdownSize=99999999999", {false, 32, false, "F12", false, true}},
        {"CountdownSize=48", "CountdownSize=48px", {false, 32, false, "F12", false, true}},
        {"TrayOn=0", "TrayOn 0", {false, 48, true, "F12", false, true}},
        {"PauseKey=F12", "PauseKey=F~12", {false, 48, false, "Pause", false, true}},
        {"PauseKey=F12", "PauseKey=É", {false, 48, false, "Pause", false, true}},
        {"CancelOnPress=0", "CancelOnPress=", {false, 48, false, "F12", true, true}},
        {"ScrollButton=1", "ScrollButton=2", {false, 48, false, "F12", false, false}}};
    for (const auto& [line, replacement, read] : damaged) {
        std::string text = kMineText;
        text.replace(text.find(line), line.size(), replacement);
        EXPECT_EQ(parseExtras(text), read) << replacement;
    }
}

TEST(ExtrasFile, ReadsAtMost64KiBAndSavesLikeTheSettingsFile) {
    test::TestDirectory dir;
    const std::string name = "conf/" + std::string(kExtrasFileName), path = dir.file(name);
    EXPECT_EQ(extrasPathBeside(dir.file("conf/Tindro Zevad.ini")), path);
    EXPECT_EQ(readExtrasFile(path), ExtrasSettings{});
    // Saved the way the settings file is (its tests prove how), read back.
    ASSERT_TRUE(writeExtrasFile(path, kMine));
    EXPECT_EQ(readExtrasFile(path), kMine);
    const std::string padding(64 * 1024 - kMineText.size(), '\n');
    dir.write(name, padding + kMineText);
    EXPECT_EQ(readExtrasFile(path), kMine);
    dir.write(name, padding + kMineText + " ");
    EXPECT_EQ(readExtrasFile(path), ExtrasSettings{});
}

TEST(SettingsFile, StaleTemporaryRemovalSparesEverythingElse) {
    // A user's own file with the prefix, names nearly of the form, a link, a folder, and another
    // user's file (when root can make one).
    test::TestDirectory dir;
    const std::string name = ".tindro-zevad-", end = ".unfinished-save";
    std::vector<std::string> kept = {name + "backup",       name + "a1B2c3" + end + ".txt",
                                     name + "a1-2c3" + end, name + "a1B2c" + end,
                                     name + "link00" + end, name + "fold00" + end,
                                     name + "other0" + end};
    for (const std::size_t i : {0, 1, 2, 3, 6}) dir.write(kept[i], "mine");
    fs::create_symlink(dir.file(kept[0]), dir.file(kept[4]));
    fs::create_directory(dir.file(kept[5]));
    if (::geteuid() != 0 || ::chown(dir.file(kept[6]).c_str(), 65534, 65534) != 0) {
        fs::remove(dir.file(kept[6]));
        kept.pop_back();
    }
    dir.write(name + "azAZ09" + end, "left by a killed save");
    removeStaleTemporaries(dir.path());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(dir.path()), kept);
}

// Root may write any file: a root test saves as nobody, the file's owner.
bool saveAsOrdinaryUser(const std::string& path) {
    const bool root = ::geteuid() == 0;
    EXPECT_TRUE(!root || (::chown(path.c_str(), 65534, 65534) == 0 && ::setegid(65534) == 0 &&
                          ::seteuid(65534) == 0));
    const bool saved = writeSettingsFile(path, example(5));
    EXPECT_TRUE(!root || (::seteuid(0) == 0 && ::setegid(0) == 0));
    return saved;
}

TEST(SettingsFile, SaveKeepsTheOldFilesLinkAndPermissionsAndSparesAReadOnlyOne) {
    for (const mode_t mode : {0444, 0600, 0640, 0664}) {
        test::TestDirectory dir;
        dir.write(kSettingsFileName, kExample);
        ::chmod(dir.file(kSettingsFileName).c_str(), mode);
        ::chmod(dir.path().c_str(), 0777);  // the folder would let a rename replace it
        EXPECT_EQ(saveAsOrdinaryUser(dir.file(kSettingsFileName)), mode != 0444) << mode;
        EXPECT_EQ(dir.read(kSettingsFileName), mode == 0444 ? kExample : kSaved) << mode;
        EXPECT_EQ(modeOf(dir.file(kSettingsFileName)), mode);
    }
    test::TestDirectory dir;
    fs::create_directories(dir.file("program"));
    fs::create_directories(dir.file("kept"));
    dir.write("kept/mine.ini", kExample);
    const std::string link = dir.file("program/" + std::string(kSettingsFileName));
    fs::create_symlink("../kept/mine.ini", link);
    ASSERT_TRUE(writeSettingsFile(link, example(5)));
    EXPECT_EQ(fs::read_symlink(link), "../kept/mine.ini");
    EXPECT_EQ(dir.read("kept/mine.ini"), kSaved);
    EXPECT_EQ(namesIn(dir.file("kept")).size(), 1u);
    fs::create_symlink("loop", dir.file("loop"));
    EXPECT_FALSE(writeSettingsFile(dir.file("loop"), example(5))) << "a link loop";
    std::string noPattern = dir.file("plain");
    EXPECT_EQ(systemFileOps().createTemporary(noPattern), -1);
    EXPECT_EQ(errno, EINVAL);
}

TEST(StartupEntry, ExecQuotingRoundTripsEveryPathAndMalformedLinesAreRefused) {
    // Quoted when needed, "%" doubled, and escaped inside the quotes, then again as a string value.
    EXPECT_EQ(test::each(quoteExecArgument, {"/opt/tz/tz", "/opt/100%/tz", "/a b\\c$"}),
              (Args{"/opt/tz/tz", "/opt/100%%/tz", "\"/a b\\\\\\\\c\\\\$\""}));
    for (const std::string path :
         {"/opt/Tindro Zevad/Tindro Zevad Free", "/opt/say \"hi\"/tz", "/opt/$HOME/%%f %u",
          "/opt/back\\slash\\", "/opt/`tick`/'q'/~/a&b;c", "/opt/tab\there/new\nline/cr\rx",
          "/opt/ünïcødé/=#(x)|<y>*?"})
        EXPECT_EQ(parseExecLine(quoteExecArgument(path)), Args{path}) << path;
    EXPECT_EQ(parseExecLine("prog  \"a b\" c%%d\\sx \"\" !"),
              (Args{"prog", "a b", "c%d", "x", "", "!"}));
    EXPECT_EQ(test::each(parseExecLine, {"", "  ", "\"open", "a\"b\"", "\"a\"b", "a$b", "a\\b",
                                         "a\\", "\"a\\\\qb\"", "prog %f", "prog 100%"}),
              std::vector<std::optional<Args>>(11));
}

TEST(StartupEntry, EntryStartsTheExecutableWithoutArgumentsWhenItsPathCanBeWritten) {
    const auto contents = desktopEntryContents("/opt/Tindro Zevad/tz");
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->rfind("[Desktop Entry]\nType=Application\nName=Tindro Zevad\n", 0), 0u);
    EXPECT_NE(contents->find("\nExec=\"/opt/Tindro Zevad/tz\"\n"), std::string::npos);
    EXPECT_EQ(test::each(desktopEntryContents, {std::string(), std::string("/opt/\xff/tz"),
                                                std::string("/opt/\0/tz", 9)}),
              std::vector<std::optional<std::string>>(3));
    fake::FakeStartupEntryStore store;  // written when the option is exactly 1
    UpdateStartupEntry(1, "/opt/tz/tz", store);
    EXPECT_EQ(store.entry, "/opt/tz/tz");
    for (const std::int16_t off : {0, 2, -1}) {
        UpdateStartupEntry(off, "/opt/tz/tz", store);
        EXPECT_EQ(store.entry, std::nullopt);
    }
    EXPECT_EQ(store.writes, 1);
}

TEST(StartupEntry, AnEntryGrantsFakeInputToTheExecutableItsExecProgramLeadsTo) {
    const auto canonical = [](const std::string& path) {  // /usr/bin/tz links to /opt/tz/tz
        return path == "/usr/bin/tz" || path == "/opt/tz/tz" ? std::string("/opt/tz/tz") : "";
    };
    const auto grants = [&](const std::string& text) {
        return entryGrantsFakeInput(text, "/opt/tz/tz", canonical);
    };
    const std::string head = "[Desktop Entry]\r\nType=Application\r\n";
    const std::string grant = "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n";
    EXPECT_EQ(test::each(grants, {head + "Exec=/usr/bin/tz -x\nComment=A\nX-KDE-Wayland-"
                                         "Interfaces = a;org_kde_kwin_fake_input;\n",
                                  head + "Exec=/opt/tz/tz\nX-KDE-Wayland-Interfaces=org_kde_kwin_"
                                         "dpms\n",
                                  head + "Exec=/opt/tz/other\n" + grant, head + "Exec=tz\n" + grant,
                                  head + "Hidden=true\nExec=/opt/tz/tz\n" + grant,
                                  "[Desktop Entry]\nType=Link\nExec=/opt/tz/tz\n" + grant,
                                  head + "Exec=/opt/tz/tz\n[Desktop Action a]\n" + grant}),
              (std::vector<bool>{true, false, false, false, false, false, false}));
    // The program's own entry grants it, out of the menu, in a file of its path's own.
    const auto own = fakeInputEntryContents("/opt/tz/tz");
    ASSERT_TRUE(own);
    EXPECT_TRUE(grants(*own));
    EXPECT_NE(own->find("\nNoDisplay=true\n"), std::string::npos);
    EXPECT_NE(fakeInputEntryFileName("/opt/a/tz"), fakeInputEntryFileName("/opt/b/tz"));
    EXPECT_TRUE(fakeInputEntryFileName("/opt/a/tz").ends_with(".desktop"));
}

TEST(StartupEntry, AReplacedExecutableIsRegisteredByThePathOfTheFileThereNow) {
    // Upgraded while running, the program's path is reported marked " (deleted)"; a folder is no
    // program.
    test::TestDirectory dir;
    dir.write("tz", "new");
    const std::string tz = dir.file("tz");
    EXPECT_EQ(test::each(runningExecutablePath,
                         {tz, tz + " (deleted)", dir.file("gone (deleted)"), dir.file("gone"),
                          dir.path() + " (deleted)", std::string()}),
              (Args{tz, tz, "", "", "", ""}));
}

}  // namespace
}  // namespace tz

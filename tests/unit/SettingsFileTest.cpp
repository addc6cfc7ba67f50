#include "core/settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

const std::string kExample = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n";

Settings example(std::int16_t startMode = 3) {
    Settings s;
    s.tolerance = 2;
    s.delay = 5;
    s.languageFile = "English.lng";
    s.soundOn = 1;
    s.startMode = startMode;
    return s;
}

TEST(SettingsFile, ReadsAndWritesTheEightLinesByteForByte) {
    EXPECT_EQ(parseSettings(kExample), example());
    EXPECT_EQ(formatSettings(example()), kExample);
    Settings negative;
    negative.tolerance = -7;
    EXPECT_EQ(formatSettings(negative).substr(0, 7), "-7\r\n0\r\n");
}

TEST(SettingsFile, FieldsFollowTheReaderRules) {
    // Blanks before a field are skipped; LF and lone CR end lines too.
    EXPECT_EQ(parseSettings("  2\n5\r0\r\n  English.lng\r\n1\n0\n0\n3"), example());
    // Whatever follows a quoted name's closing quote on its line is dropped.
    EXPECT_EQ(parseSettings("2\r\n5\r\n0\r\n\"English.lng\" x\r\n1\r\n0\r\n0\r\n3\r\n"), example());
    // An unquoted comma splits the line: every later field comes from the line above.
    const Settings shifted = parseSettings("2\r\n5\r\n0\r\nFr,ench.lng\r\n1\r\n0\r\n7\r\n3\r\n");
    EXPECT_EQ(shifted.languageFile, "Fr");
    EXPECT_EQ(shifted.soundOn, 0);  // "ench.lng" is no number
    EXPECT_EQ(shifted.middleButton, 1);
    EXPECT_EQ(shifted.rightEdge, 0);
    EXPECT_EQ(shifted.startMode, 7);
}

TEST(SettingsFile, EveryStorableNameReadsBackAndNoNameBreaksTheLines) {
    // Hand-edited names that the plain line would split or trim go in quotes;
    // a name no line can hold leaves line 4 empty (the language is chosen again).
    const struct {
        std::string name;
        std::string line4;
    } cases[] = {
        {"Fr,ench.lng", "\"Fr,ench.lng\""},
        {" English.lng", "\" English.lng\""},
        {"\"Greek.lng", ""},
        {"say \"hi\".lng", "say \"hi\".lng"},
        {"\x01.lng", "\x01.lng"},
        {"a,\"b.lng", ""},
        {"two\r\nlines.lng", ""},
        {"lf\nonly.lng", ""},
        {"Fran\xe7"
         "ais.lng",
         ""},
    };
    for (const auto& c : cases) {
        Settings s = example();
        s.languageFile = c.name;
        const std::string bytes = formatSettings(s);
        EXPECT_EQ(bytes, "2\r\n5\r\n0\r\n" + c.line4 + "\r\n1\r\n0\r\n0\r\n3\r\n") << c.name;
        s.languageFile = c.line4.empty() ? "" : c.name;
        EXPECT_EQ(parseSettings(bytes), s) << c.name;
        EXPECT_EQ(isStorableLanguageName(c.name), !c.line4.empty()) << c.name;
    }
}

TEST(SettingsFile, DamagedFilesGiveZerosAndNeverCrash) {
    EXPECT_EQ(parseSettings(""), Settings{});
    const Settings shortFile = parseSettings("9\r\n4\r\n");
    EXPECT_EQ(shortFile.tolerance, 9);
    EXPECT_EQ(shortFile.delay, 4);
    EXPECT_EQ(shortFile.startMode, 0);

    const Settings junk =
        parseSettings("abc\r\n40000\r\n-32769\r\nx\r\n1.5\r\n+1\r\n32767\r\n-32768\r\n");
    EXPECT_EQ(junk.tolerance, 0);
    EXPECT_EQ(junk.delay, 0);  // out of range: start-up then applies the defaults
    EXPECT_EQ(junk.runAtStartup, 0);
    EXPECT_EQ(junk.soundOn, 0);
    EXPECT_EQ(junk.middleButton, 0);
    EXPECT_EQ(junk.rightEdge, 32767);
    EXPECT_EQ(junk.startMode, -32768);

    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919) % 256);
    }
    parseSettings(binary);  // must simply return

    // Only the first 64 KiB of a file are read.
    test::TestDirectory dir;
    dir.write("big.ini", std::string(64 * 1024 - 1, ' ') + "9\r\n");
    EXPECT_EQ(readSettingsFile(dir.file("big.ini")).tolerance, 9);
    dir.write("big.ini", std::string(64 * 1024, ' ') + "9\r\n");
    EXPECT_EQ(readSettingsFile(dir.file("big.ini")), Settings{});
}

TEST(SettingsFile, LanguageNameFromWindowsIsDecoded) {
    EXPECT_EQ(parseSettings("2\r\n5\r\n0\r\nFran\xe7"
                            "ais.lng\r\n")
                  .languageFile,
              "Français.lng");
    EXPECT_EQ(parseSettings("2\r\n5\r\n0\r\nFrançais.lng\r\n").languageFile, "Français.lng");
}

TEST(SettingsFile, MissingFileGivesInitialValues) {
    test::TestDirectory dir;
    EXPECT_EQ(readSettingsFile(dir.file("none.ini")), Settings{});
}

// Every other write is interrupted by a signal; the others write 3 bytes at most.
struct SlowOps : FileOps {
    bool interrupted = false;
    ssize_t write(int fd, const char* data, std::size_t size) override {
        errno = EINTR;
        interrupted = !interrupted;
        return interrupted ? -1 : FileOps::write(fd, data, std::min<std::size_t>(size, 3));
    }
};

TEST(SettingsFile, WriteReplacesAtomicallyAndSkipsIdenticalContent) {
    test::TestDirectory dir;
    const std::string path = dir.file(kSettingsFileName);
    const mode_t oldMask = ::umask(022);
    ASSERT_TRUE(writeSettingsFile(path, example()));
    ::umask(oldMask);
    EXPECT_EQ(dir.read(kSettingsFileName), kExample);
    struct stat before {};
    ::stat(path.c_str(), &before);
    EXPECT_EQ(before.st_mode & 07777, 0644u) << "a new file gets 0666 less the umask";
    ASSERT_TRUE(writeSettingsFile(path, example()));
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino) << "an identical write must not replace the file";

    ASSERT_TRUE(writeSettingsFile(path, example(5)));
    EXPECT_EQ(dir.read(kSettingsFileName).substr(kExample.size() - 3), "5\r\n");

    // A file deleted meanwhile is written again, through interrupted and short writes.
    std::filesystem::remove(path);
    SlowOps slow;
    ASSERT_TRUE(writeSettingsFile(path, example(5), slow));
    EXPECT_EQ(dir.read(kSettingsFileName), formatSettings(example(5)));
}

// Fails the chosen step of an atomic write.
class FailingOps : public FileOps {
  public:
    enum class Step { Create, Write, Rename };
    explicit FailingOps(Step step) : step_(step) {}
    int createTemporary(std::string& pathTemplate) override {
        return step_ == Step::Create ? -1 : FileOps::createTemporary(pathTemplate);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        // A short write followed by a full disk.
        if (step_ == Step::Write) {
            if (wrote_) {
                return -1;
            }
            wrote_ = true;
            return FileOps::write(fd, data, size / 2);
        }
        return FileOps::write(fd, data, size);
    }
    bool rename(const std::string& from, const std::string& to) override {
        return step_ != Step::Rename && FileOps::rename(from, to);
    }

  private:
    Step step_;
    bool wrote_ = false;
};

TEST(SettingsFile, AFailedWriteLeavesThePreviousFileIntact) {
    for (auto step :
         {FailingOps::Step::Create, FailingOps::Step::Write, FailingOps::Step::Rename}) {
        test::TestDirectory dir;
        dir.write(kSettingsFileName, kExample);
        FailingOps ops(step);
        Settings changed = example();
        changed.delay = 9;
        EXPECT_FALSE(writeSettingsFile(dir.file(kSettingsFileName), changed, ops));
        EXPECT_EQ(dir.read(kSettingsFileName), kExample);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << "no temporary file may be left behind";
    }
}

}  // namespace
}  // namespace tz

namespace tz {
namespace {

// Leaves the temporary file behind, as a save killed before its rename does.
class KilledOps : public FileOps {
  public:
    bool rename(const std::string&, const std::string&) override { return false; }
    void remove(const std::string&) override {}
};

constexpr uid_t kNobody = 65534;

TEST(SettingsFile, StaleTemporariesOfAKilledWriteAreRemovedAndNothingElse) {
    test::TestDirectory dir;
    KilledOps killed;
    ASSERT_FALSE(writeSettingsFile(dir.file(kSettingsFileName), example(), killed));
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    const std::vector<std::string> kept = {
        ".tindro-zevad-backup",  // a user's own file with the prefix
        ".tindro-zevad-a1B2c3.unfinished-save.txt",
        ".tindro-zevad-a1-2c3.unfinished-save",
        ".tindro-zevad-a1B2c.unfinished-save",
        ".tindro-zevad-link00.unfinished-save",  // a link, not a file
        ".tindro-zevad-fold00.unfinished-save",  // a folder
        ".tindro-zevad-other0.unfinished-save",  // another user's (when the test may make one)
    };
    for (std::size_t i = 0; i < 4; ++i) {
        dir.write(kept[i], "mine");
    }
    std::filesystem::create_symlink(dir.file(kept[0]), dir.file(kept[4]));
    std::filesystem::create_directory(dir.file(kept[5]));
    dir.write(kept[6], "theirs");
    if (::geteuid() != 0 || ::chown(dir.file(kept[6]).c_str(), kNobody, kNobody) != 0) {
        std::filesystem::remove(dir.file(kept[6]));
    }
    dir.write(kSettingsFileName, kExample);

    removeStaleTemporaries(dir.path());
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::vector<std::string> expected = kept;
    expected.push_back(kSettingsFileName);
    if (!std::filesystem::exists(dir.file(kept[6]))) {
        std::erase(expected, kept[6]);
    }
    std::sort(left.begin(), left.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_EQ(dir.read(kept[0]), "mine");
}

// Root may write any file; a root test saves as nobody in a child process,
// in a folder given to nobody.
bool saveAsOrdinaryUser(const test::TestDirectory& dir, const std::string& path) {
    if (::geteuid() != 0) {
        return writeSettingsFile(path, example(5));
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
        EXPECT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
    }
    EXPECT_EQ(::chown(dir.path().c_str(), kNobody, kNobody), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool saved =
            ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && writeSettingsFile(path, example(5));
        ::_exit(saved ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SettingsFile, SaveKeepsTheOldFilesLinkAndPermissionsAndSparesAReadOnlyOne) {
    const std::string saved = kExample.substr(0, kExample.size() - 3) + "5\r\n";
    {
        test::TestDirectory dir;
        dir.write(kSettingsFileName, kExample);
        ::chmod(dir.file(kSettingsFileName).c_str(), 0444);
        EXPECT_FALSE(saveAsOrdinaryUser(dir, dir.file(kSettingsFileName)));
        EXPECT_EQ(dir.read(kSettingsFileName), kExample);
    }
    for (const mode_t mode : {0600, 0640, 0664}) {
        test::TestDirectory dir;
        dir.write(kSettingsFileName, kExample);
        ::chmod(dir.file(kSettingsFileName).c_str(), mode);
        ASSERT_TRUE(writeSettingsFile(dir.file(kSettingsFileName), example(5)));
        struct stat info {};
        ::stat(dir.file(kSettingsFileName).c_str(), &info);
        EXPECT_EQ(info.st_mode & 07777, mode);
        EXPECT_EQ(dir.read(kSettingsFileName), saved);
    }
    {
        test::TestDirectory dir;
        std::filesystem::create_directories(dir.file("program"));
        std::filesystem::create_directories(dir.file("kept"));
        dir.write("kept/mine.ini", kExample);
        const std::string link = dir.file("program/" + std::string(kSettingsFileName));
        std::filesystem::create_symlink("../kept/mine.ini", link);
        ASSERT_TRUE(writeSettingsFile(link, example(5)));
        EXPECT_EQ(std::filesystem::read_symlink(link), "../kept/mine.ini");
        std::filesystem::create_symlink("loop", dir.file("loop"));
        EXPECT_FALSE(writeSettingsFile(dir.file("loop"), example(5))) << "a link loop";
        EXPECT_EQ(dir.read("kept/mine.ini"), saved);
        for (const char* folder : {"program", "kept"}) {
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file(folder)),
                                    std::filesystem::directory_iterator()),
                      1)
                << folder;
        }
    }
}

}  // namespace
}  // namespace tz

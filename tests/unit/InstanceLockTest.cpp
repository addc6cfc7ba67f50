// Single instance: a lock file held with flock for the life of the process.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>

#include "platform/posix/RuntimeDirLock.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

TEST(RuntimeDirLock, OneInstancePerDisplayWhileTheFirstLives) {
    test::TestDirectory dir;
    const std::string own = dir.file("own");
    {
        RuntimeDirLock first(dir.path(), own, ":0");
        ASSERT_TRUE(first.acquire());
        for (const char* same : {":0", ":0.1", "unix:0.0"}) {
            EXPECT_FALSE(RuntimeDirLock(dir.path(), own, same).acquire()) << same;
        }
        for (const char* other : {":1", "otherhost:0"}) {
            EXPECT_TRUE(RuntimeDirLock(dir.path(), own, other).acquire()) << other;
        }
    }
    EXPECT_TRUE(RuntimeDirLock(dir.path(), own, ":0").acquire());
}

TEST(RuntimeDirLock, KilledHolderFreesTheLock) {
    test::TestDirectory dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RuntimeDirLock lock("", dir.file("own"), ":0");
        const char held = lock.acquire() ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        for (;;) {
            ::pause();
        }
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_FALSE(RuntimeDirLock("", dir.file("own"), ":0").acquire());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(RuntimeDirLock("", dir.file("own"), ":0").acquire());
}

// A runtime folder that is missing or open to others is passed over for the
// user's own folder, where whatever others planted cannot reach: the first
// instance starts, the second is refused, and no planted link is followed.
TEST(RuntimeDirLock, PlantedOrUnusableRuntimeFolderStillAllowsExactlyOne) {
    test::TestDirectory dir;
    const std::string shared = dir.file("shared");
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms::all);
    for (const std::string& name : {std::string("tindro-zevad-:0.lock"),
                                    "tindro-zevad-" + std::to_string(::getuid()) + ".lock"}) {
        std::filesystem::create_symlink(dir.file("target"), shared + "/" + name);
    }
    const std::string own = dir.file("cache/tindro-zevad");
    for (const std::string& runtime : {std::string(), dir.file("missing"), shared}) {
        SCOPED_TRACE(runtime);
        RuntimeDirLock first(runtime, own, ":0");
        ASSERT_TRUE(first.acquire());
        EXPECT_FALSE(RuntimeDirLock(runtime, own, ":0").acquire());
        EXPECT_FALSE(RuntimeDirLock(shared, own, ":0").acquire());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("target")));
    struct stat info {};
    ASSERT_EQ(::stat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace tz

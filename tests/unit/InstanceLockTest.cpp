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

TEST(RuntimeDirLock, SecondLockFailsWhileTheFirstLives) {
    test::TestDirectory dir;
    {
        RuntimeDirLock first(dir.path());
        ASSERT_TRUE(first.acquire());
        RuntimeDirLock second(dir.path());
        EXPECT_FALSE(second.acquire());
    }
    RuntimeDirLock third(dir.path());
    EXPECT_TRUE(third.acquire());
}

TEST(RuntimeDirLock, KilledHolderFreesTheLock) {
    test::TestDirectory dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RuntimeDirLock lock(dir.path());
        const char held = lock.acquire() ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        for (;;) {
            ::pause();
        }
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_FALSE(RuntimeDirLock(dir.path()).acquire());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(RuntimeDirLock(dir.path()).acquire());
}

TEST(RuntimeDirLock, FallbackIsAPrivateFileAndNeverALink) {
    test::TestDirectory shared;
    const std::string name = "tindro-zevad-" + std::to_string(::getuid()) + ".lock";
    {
        RuntimeDirLock first("", shared.path());
        ASSERT_TRUE(first.acquire());
        struct stat info {};
        ASSERT_EQ(::stat(shared.file(name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_FALSE(RuntimeDirLock(shared.file("missing"), shared.path()).acquire());
    }
    // A link planted in the shared folder is not followed; with no usable
    // lock file the start is not refused.
    std::filesystem::remove(shared.file(name));
    std::filesystem::create_symlink(shared.file("target"), shared.file(name));
    EXPECT_TRUE(RuntimeDirLock("", shared.path()).acquire());
    EXPECT_FALSE(std::filesystem::exists(shared.file("target")));
}

}  // namespace
}  // namespace tz

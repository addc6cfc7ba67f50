#include "platform/posix/RuntimeDirLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace tz {

namespace {

std::string runtimeFolderFromEnvironment() {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    return value ? value : "";
}

// The folder must be a real folder of this user that nobody else can write
// into, as the runtime folder always is.
bool isPrivateFolder(const std::string& folder) {
    if (folder.empty() || folder.front() != '/') {
        return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Opens or creates the lock file without following a symbolic link, and
// keeps it only when it is a plain file of this user: in a shared folder
// another user could have put something else there first.
int openOwnFile(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

RuntimeDirLock::RuntimeDirLock() : RuntimeDirLock(runtimeFolderFromEnvironment()) {}

RuntimeDirLock::RuntimeDirLock(std::string runtimeFolder, std::string fallbackFolder)
    : runtimeFolder_(std::move(runtimeFolder)), fallbackFolder_(std::move(fallbackFolder)) {}

RuntimeDirLock::~RuntimeDirLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int RuntimeDirLock::openLockFile() const {
    if (isPrivateFolder(runtimeFolder_)) {
        const int fd = openOwnFile(runtimeFolder_ + "/tindro-zevad.lock");
        if (fd >= 0) {
            return fd;
        }
    }
    return openOwnFile(fallbackFolder_ + "/tindro-zevad-" + std::to_string(::getuid()) + ".lock");
}

bool RuntimeDirLock::acquire() {
    if (fd_ >= 0) {
        return true;
    }
    const int fd = openLockFile();
    if (fd < 0) {
        return true;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        fd_ = fd;
        return true;
    }
    const bool heldElsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    return !heldElsewhere;
}

}  // namespace tz

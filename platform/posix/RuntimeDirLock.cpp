#include "platform/posix/RuntimeDirLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace tz {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ownFolderFromEnvironment() {
    std::string cache = environment("XDG_CACHE_HOME");
    if (cache.empty() || cache.front() != '/') {
        const std::string home = environment("HOME");
        if (home.empty()) {
            return "";
        }
        cache = home + "/.cache";
    }
    return cache + "/tindro-zevad";
}

// "host:number", the same for every way of writing one display: the screen
// number is dropped and "unix:0" is ":0".
std::string displayKey(const std::string& display) {
    const std::size_t colon = display.rfind(':');
    std::string key = display;
    if (colon != std::string::npos) {
        std::string host = display.substr(0, colon);
        if (host == "unix") {
            host.clear();
        }
        const std::string number = display.substr(colon + 1);
        key = host + ":" + number.substr(0, number.find('.'));
    }
    std::replace(key.begin(), key.end(), '/', '_');
    return key;
}

int openNoIntr(int folder, const char* name, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::openat(folder, name, flags | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens the folder when it is a real folder (not a link) of this user that
// nobody else can write into, as the runtime folder always is. With `make`,
// a missing folder is made with access for this user alone first.
int openPrivateFolder(const std::string& folder, bool make) {
    if (folder.empty() || folder.front() != '/') {
        return -1;
    }
    if (make) {
        const std::size_t slash = folder.rfind('/');
        if (slash > 0) {
            ::mkdir(folder.substr(0, slash).c_str(), 0700);
        }
        ::mkdir(folder.c_str(), 0700);
    }
    const int fd = openNoIntr(AT_FDCWD, folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Opens or creates the lock file in the opened folder, never through a link.
int openLockIn(int folder, const std::string& name) {
    const int fd = openNoIntr(folder, name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW, 0600);
    ::close(folder);
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

RuntimeDirLock::RuntimeDirLock()
    : RuntimeDirLock(environment("XDG_RUNTIME_DIR"), ownFolderFromEnvironment(),
                     environment("DISPLAY")) {}

RuntimeDirLock::RuntimeDirLock(std::string runtimeFolder, std::string ownFolder,
                               std::string display)
    : runtimeFolder_(std::move(runtimeFolder)),
      ownFolder_(std::move(ownFolder)),
      fileName_("tindro-zevad-" + displayKey(display) + ".lock") {}

RuntimeDirLock::~RuntimeDirLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int RuntimeDirLock::openLockFile() const {
    const int runtime = openPrivateFolder(runtimeFolder_, false);
    const int fd = runtime < 0 ? -1 : openLockIn(runtime, fileName_);
    if (fd >= 0) {
        return fd;
    }
    const int own = openPrivateFolder(ownFolder_, true);
    return own < 0 ? -1 : openLockIn(own, fileName_);
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

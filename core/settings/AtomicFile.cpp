#include "core/settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace tz {

int FileOps::createTemporary(std::string& pathTemplate) {
    const auto x = pathTemplate.rfind("XXXXXX");
    if (x == std::string::npos) {
        errno = EINVAL;
        return -1;
    }
    const auto suffixLength = static_cast<int>(pathTemplate.size() - x - 6);
    return ::mkostemps(pathTemplate.data(), suffixLength, O_CLOEXEC);
}

ssize_t FileOps::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

bool FileOps::flush(int fd) {
    return ::fsync(fd) == 0;
}

bool FileOps::close(int fd) {
    return ::close(fd) == 0;
}

bool FileOps::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void FileOps::remove(const std::string& path) {
    ::unlink(path.c_str());
}

FileOps& systemFileOps() {
    static FileOps ops;
    return ops;
}

namespace {

bool writeAll(FileOps& ops, int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ops.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

namespace {

// A temporary file is named ".tindro-zevad-" + six random letters or digits +
// ".unfinished-save": no name a person would give a file of their own.
constexpr std::string_view kTemporaryPrefix = ".tindro-zevad-";
constexpr std::string_view kTemporarySuffix = ".unfinished-save";
constexpr std::size_t kTemporaryRandomLength = 6;  // mkostemps's XXXXXX

bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryRandomLength + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    const std::string_view random = name.substr(kTemporaryPrefix.size(), kTemporaryRandomLength);
    return std::all_of(random.begin(), random.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// Where a save of `path` really goes: a symbolic link is followed to the file
// it names (through further links), so the link itself stays as it is.
// Nothing when the links go round in a loop or too deep.
std::optional<std::string> finalTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        const auto status = std::filesystem::symlink_status(path, error);
        if (error || !std::filesystem::is_symlink(status)) {
            return path;
        }
        const auto target = std::filesystem::read_symlink(path, error);
        if (error) {
            return std::nullopt;
        }
        path = target.is_absolute() ? target.string() : folderOf(path) + "/" + target.string();
    }
    return std::nullopt;
}

}  // namespace

void removeStaleTemporaries(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        struct stat info {};
        if (isTemporaryName(entry.path().filename().string()) &&
            ::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid()) {
            ::unlink(entry.path().c_str());
        }
    }
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, FileOps& ops) {
    const auto target = finalTarget(path);
    if (!target) {
        return false;
    }
    struct stat old {};
    const bool exists = ::stat(target->c_str(), &old) == 0;
    // A file this user may not write stays as it is, although the folder
    // would let a rename replace it.
    if (exists && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    std::string temporary = folderOf(*target) + "/" + std::string(kTemporaryPrefix) + "XXXXXX" +
                            std::string(kTemporarySuffix);
    const int fd = ops.createTemporary(temporary);
    if (fd < 0) {
        return false;
    }
    if (exists) {
        // The new file takes the old one's place with its owner and permissions.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        // A new file gets the usual permissions for a user's file, not mkstemp's 0600.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const bool written = writeAll(ops, fd, bytes) && ops.flush(fd);
    const bool closed = ops.close(fd);
    if (!written || !closed || !ops.rename(temporary, *target)) {
        ops.remove(temporary);
        return false;
    }
    return true;
}

bool createParentFolders(const std::string& path, mode_t mode) {
    const std::string folder = folderOf(path);
    if (folder.empty()) {
        return true;  // the root folder
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (errno != ENOENT || !createParentFolders(folder, mode)) {
        return false;
    }
    return ::mkdir(folder.c_str(), mode) == 0 || errno == EEXIST;
}

std::optional<std::string> readFilePrefix(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    char buffer[8192];
    while (content.size() < maxBytes) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (content.size() > maxBytes) {
        content.resize(maxBytes);
    }
    return content;
}

bool saveFileIfChanged(const std::string& path, std::string_view bytes, FileOps& ops) {
    const auto current = readFilePrefix(path, bytes.size() + 1);
    if (current && *current == bytes) {
        return true;
    }
    createParentFolders(path, 0700);
    return writeFileAtomically(path, bytes, ops);
}

}  // namespace tz

#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace tz {

int FileOps::createTemporary(std::string& pathTemplate) {
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
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

constexpr std::string_view kTemporaryPrefix = ".tindro-zevad-";
constexpr std::size_t kTemporarySuffixLength = 6;  // mkostemp's XXXXXX

}  // namespace

void removeStaleTemporaries(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == kTemporaryPrefix.size() + kTemporarySuffixLength &&
            name.starts_with(kTemporaryPrefix) && entry.is_regular_file(error)) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, FileOps& ops) {
    std::string temporary = folderOf(path) + "/" + std::string(kTemporaryPrefix) + "XXXXXX";
    const int fd = ops.createTemporary(temporary);
    if (fd < 0) {
        return false;
    }
    // A new file gets the usual permissions for a user's file, not mkstemp's 0600.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    const bool written = writeAll(ops, fd, bytes) && ops.flush(fd);
    const bool closed = ops.close(fd);
    if (!written || !closed || !ops.rename(temporary, path)) {
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

}  // namespace tz

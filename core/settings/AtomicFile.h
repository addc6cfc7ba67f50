#pragma once
#include <sys/types.h>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tz {

// The few file operations an atomic replace needs. Tests substitute their own
// to make any step fail.
class FileOps {
  public:
    virtual ~FileOps() = default;
    // Creates a unique file from a template whose last XXXXXX (followed by a
    // fixed suffix, or by nothing) is replaced; -1 on failure.
    virtual int createTemporary(std::string& pathTemplate);
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    virtual bool flush(int fd);
    virtual bool close(int fd);
    virtual bool rename(const std::string& from, const std::string& to);
    virtual void remove(const std::string& path);
};

FileOps& systemFileOps();

// Replaces the file at `path` with `bytes` through a temporary file in the
// same folder and a rename, so the file is never seen empty or truncated.
// A symbolic link is kept: the file it leads to is replaced, in its own
// folder. The new file keeps the old one's permission bits (and owner, where
// the user may give it). A file this user may not write is not replaced.
// Returns false (and leaves the old file as it was) when any step fails.
bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         FileOps& ops = systemFileOps());

// Creates the folder that will hold `path` when it is missing, together with
// any missing folders above it, each with `mode`. True when the folder exists
// afterwards.
bool createParentFolders(const std::string& path, mode_t mode);

// Removes the temporary files that writes into `folder` left behind when the
// program was killed in the middle of one: regular files of this user whose
// whole name has the temporary files' form. Only for a folder no other
// running instance writes into.
void removeStaleTemporaries(const std::string& folder);

// The whole content of a regular file, at most `maxBytes` of it; nothing when
// it cannot be opened.
std::optional<std::string> readFilePrefix(const std::string& path, std::size_t maxBytes);

// How the program saves its files: a file that already holds exactly `bytes`
// is left alone (repeated saves of the same choice cost no disk write); else a
// missing folder for it is created first (mode 0700, as XDG asks of the
// user's configuration folder) and the file is replaced atomically. False
// when it could not be written.
bool saveFileIfChanged(const std::string& path, std::string_view bytes,
                       FileOps& ops = systemFileOps());

}  // namespace tz

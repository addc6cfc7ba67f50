#include "harness/Sandbox.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tz::e2e {

namespace fs = std::filesystem;

namespace {

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::optional<std::string> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

Sandbox::Sandbox(const fs::path& distDir) {
    if (!fs::is_directory(distDir)) {
        throw std::runtime_error("program folder not found: " + distDir.string() +
                                 " (build the program first)");
    }
    std::string pattern = (fs::temp_directory_path() / "tz-e2e-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    root_ = buffer.data();
    programFolder_ = root_ / "program";
    home_ = root_ / "home";
    configHome_ = home_ / ".config";
    runtimeDir_ = root_ / "runtime";

    try {
        fs::copy(distDir, programFolder_,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
#ifdef TZ_E2E_PROGRAM
        // The tests run the build of the program whose update check asks a
        // server on this machine, so no start waits for the network.
        if (fs::equivalent(distDir, TZ_DIST_DIR) && fs::exists(TZ_E2E_PROGRAM)) {
            fs::copy_file(TZ_E2E_PROGRAM, programFolder_ / "tindro-zevad",
                          fs::copy_options::overwrite_existing);
        }
#endif
        fs::create_directories(configHome_);
        fs::create_directories(runtimeDir_);
        fs::permissions(runtimeDir_, fs::perms::owner_all, fs::perm_options::replace);
        fs::create_directories(root_ / "logs");
        fs::create_directories(tmpDir());
    } catch (...) {
        std::error_code ec;
        fs::remove_all(root_, ec);
        throw;
    }
}

Sandbox::~Sandbox() {
    std::error_code ec;
    // Give write permission back first so a read-only folder can be removed.
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
    fs::remove_all(root_, ec);
}

void Sandbox::writeSettings(std::string_view bytes) const {
    writeBytes(settingsPath(), bytes);
}

std::optional<std::string> Sandbox::readSettings() const {
    return readBytes(settingsPath());
}

std::optional<std::string> Sandbox::settingsLine(int n) const {
    const auto text = readSettings();
    if (!text) {
        return std::nullopt;
    }
    std::istringstream lines(*text);
    std::string line;
    for (int k = 0; k < n; ++k) {
        if (!std::getline(lines, line)) {
            return std::nullopt;
        }
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

void Sandbox::writeFile(const fs::path& relative, std::string_view bytes) const {
    writeBytes(programFolder_ / relative, bytes);
}

std::optional<std::string> Sandbox::readFile(const fs::path& relative) const {
    return readBytes(programFolder_ / relative);
}

void Sandbox::removeFile(const fs::path& relative) const {
    fs::remove(programFolder_ / relative);
}

void Sandbox::makeProgramFolderReadOnly() const {
    fs::permissions(programFolder_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

fs::path Sandbox::newLogPath(std::string_view stem) {
    return root_ / "logs" / (std::string(stem) + "-" + std::to_string(++logCount_) + ".log");
}

}  // namespace tz::e2e

#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tz::e2e {

// A fresh temporary root holding a copy of the program folder, a private HOME
// (with XDG_CONFIG_HOME inside), a private XDG_RUNTIME_DIR and TMPDIR, so
// parallel runs share no files, sockets or locks. Everything is removed on
// destruction.
class Sandbox {
  public:
    static constexpr const char* kExecutableName = "tindro-zevad";
    static constexpr const char* kSettingsName = "Tindro Zevad.ini";

    // Copies `distDir` recursively into the program folder; throws when it is missing.
    explicit Sandbox(const std::filesystem::path& distDir);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& programFolder() const { return programFolder_; }
    const std::filesystem::path& home() const { return home_; }
    const std::filesystem::path& runtimeDir() const { return runtimeDir_; }
    const std::filesystem::path& configHome() const { return configHome_; }
    std::filesystem::path tmpDir() const { return root_ / "tmp"; }
    std::filesystem::path executable() const { return programFolder_ / kExecutableName; }
    std::filesystem::path settingsPath() const { return programFolder_ / kSettingsName; }

    // The settings file, bytes exactly as given / as stored.
    void writeSettings(std::string_view bytes) const;
    std::optional<std::string> readSettings() const;
    // Line `n` (1-based) of the settings file, CR LF separated; nullopt when absent.
    std::optional<std::string> settingsLine(int n) const;

    // Paths relative to the program folder.
    void writeFile(const std::filesystem::path& relative, std::string_view bytes) const;
    std::optional<std::string> readFile(const std::filesystem::path& relative) const;
    void removeFile(const std::filesystem::path& relative) const;

    // Takes write permission away from the program folder. Note: root ignores
    // permission bits, so this only restricts a non-root program.
    void makeProgramFolderReadOnly() const;

    // A new, unused log file path under root()/logs.
    std::filesystem::path newLogPath(std::string_view stem);

  private:
    std::filesystem::path root_;
    std::filesystem::path programFolder_;
    std::filesystem::path home_;
    std::filesystem::path runtimeDir_;
    std::filesystem::path configHome_;
    int logCount_ = 0;
};

}  // namespace tz::e2e

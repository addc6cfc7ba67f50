// The Debian package end to end: installed for real with apt-get, started from
// /usr/bin as an ordinary user on a private Xvfb, then removed again. The
// installed program folder is read-only to that user, so a click kind chosen
// on the bar must land in the user's configuration folder and come back at the
// next start.
#include <pwd.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness/BarDriver.h"
#include "harness/Process.h"
#include "harness/Recorder.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace tz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPackage = "tindro-zevad";
const fs::path kProgramFolder = "/usr/lib/tindro-zevad";
const fs::path kCommand = "/usr/bin/tindro-zevad";
const std::string kAppId = "io.github.tindrozevad.TindroZevad";
// Written before the package is installed and removed once it is gone, so the
// test's clean-up step knows the installed package is the test's own.
const fs::path kMarker = fs::path(TZ_PACKAGE_TEST_DIR) / "installed-by-test";
constexpr Point kElsewhere{900, 800};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a command as root, its output appended to `log`; true when it exits 0.
bool run(const std::vector<std::string>& argv, const fs::path& log) {
    SpawnOptions options;
    options.executable = argv.front();
    options.args = argv;
    options.outputPath = log.string();
    const auto status = waitForPid(spawnProcess(options), std::chrono::minutes(5));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

bool packageInstalled() {
    const fs::path log = fs::temp_directory_path() / ("tz-dpkg-query-" + std::to_string(getpid()));
    const bool installed = run({"/usr/bin/dpkg-query", "-W", "-f=${Status}\\n", kPackage}, log) &&
                           readText(log).find("ok installed") != std::string::npos;
    fs::remove(log);
    return installed;
}

std::optional<fs::path> builtPackage() {
    for (const auto& entry : fs::directory_iterator(TZ_BUILD_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(std::string(kPackage) + "_" + TZ_VERSION + "_") &&
            name.ends_with(".deb")) {
            return entry.path();
        }
    }
    return std::nullopt;
}

std::set<std::string> listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(fs::relative(entry.path(), folder).string());
    }
    return names;
}

// Line `n` (1-based) of a CR LF file.
std::optional<std::string> lineOf(const fs::path& path, int n) {
    if (!fs::exists(path)) {
        return std::nullopt;
    }
    const std::string text = readText(path);
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        start = text.find("\r\n", start);
        if (start == std::string::npos) {
            return std::nullopt;
        }
        start += 2;
    }
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
        return std::nullopt;
    }
    return text.substr(start, end - start);
}

// The package installed for the test's length; removed on destruction too,
// whatever failed in between.
class InstalledPackage {
  public:
    InstalledPackage(const fs::path& deb, const fs::path& log) : log_(log) {
        std::ofstream(kMarker) << deb.string() << "\n";
        // The libraries come with the build's own packages; recommended extras
        // (xdg-utils) are not fetched, so the machine keeps what it had.
        installed_ =
            run({"/usr/bin/env", "DEBIAN_FRONTEND=noninteractive", "apt-get", "install", "-y",
                 "--no-install-recommends", "-o", "DPkg::Lock::Timeout=120", deb.string()},
                log_);
    }
    ~InstalledPackage() { remove(); }
    InstalledPackage(const InstalledPackage&) = delete;
    InstalledPackage& operator=(const InstalledPackage&) = delete;

    bool installed() const { return installed_; }

    bool remove() {
        if (removed_) {
            return true;
        }
        removed_ = run({"/usr/bin/env", "DEBIAN_FRONTEND=noninteractive", "apt-get", "remove", "-y",
                        "-o", "DPkg::Lock::Timeout=120", kPackage},
                       log_) &&
                   !packageInstalled();
        if (removed_) {
            fs::remove(kMarker);
        }
        return removed_;
    }

  private:
    fs::path log_;
    bool installed_ = false;
    bool removed_ = false;
};

// A fresh HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR owned by the user.
class UserFolders {
  public:
    UserFolders(uid_t uid, gid_t gid) {
        std::string pattern = (fs::temp_directory_path() / "tz-package-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        root_ = pattern;
        fs::create_directories(home());
        fs::create_directories(configHome());
        fs::create_directories(runtimeDir());
        fs::create_directories(logs());
        fs::permissions(root_,
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::permissions(runtimeDir(), fs::perms::owner_all, fs::perm_options::replace);
        for (const auto& folder : {home(), configHome(), runtimeDir()}) {
            if (chown(folder.c_str(), uid, gid) != 0) {
                throw std::runtime_error("chown failed for " + folder.string());
            }
        }
    }
    ~UserFolders() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    UserFolders(const UserFolders&) = delete;
    UserFolders& operator=(const UserFolders&) = delete;

    fs::path home() const { return root_ / "home"; }
    fs::path configHome() const { return root_ / "config"; }
    fs::path runtimeDir() const { return root_ / "runtime"; }
    fs::path logs() const { return root_ / "logs"; }
    fs::path settings() const { return configHome() / "tindro-zevad" / "Tindro Zevad.ini"; }

  private:
    fs::path root_;
};

// The installed command, started as `user` through setpriv.
class UserProgram {
  public:
    UserProgram(const passwd& user, const UserFolders& folders, const std::string& display,
                const fs::path& log)
        : log_(log) {
        SpawnOptions options;
        options.executable = "/usr/bin/setpriv";
        options.args = {"setpriv", "--reuid=" + std::to_string(user.pw_uid),
                        "--regid=" + std::to_string(user.pw_gid), "--init-groups",
                        kCommand.string()};
        options.environment = std::vector<std::string>{
            "DISPLAY=" + display,
            "HOME=" + folders.home().string(),
            "XDG_CONFIG_HOME=" + folders.configHome().string(),
            "XDG_RUNTIME_DIR=" + folders.runtimeDir().string(),
            "PATH=/usr/local/bin:/usr/bin:/bin",
            "LANG=C.UTF-8",
            "LC_ALL=C.UTF-8",
        };
        options.outputPath = log.string();
        options.workingDir = folders.home().string();
        pid_ = spawnProcess(options);
    }
    ~UserProgram() { stop(); }
    UserProgram(const UserProgram&) = delete;
    UserProgram& operator=(const UserProgram&) = delete;

    pid_t pid() const { return pid_; }
    std::string log() const { return readText(log_); }

    // SIGTERM, then SIGKILL to the whole group; true when it ended on SIGTERM.
    bool stop() {
        if (status_) {
            return true;
        }
        kill(pid_, SIGTERM);
        status_ = waitForPid(pid_, std::chrono::seconds(10));
        if (status_) {
            return true;
        }
        kill(-pid_, SIGKILL);
        status_ = waitForPid(pid_, std::chrono::seconds(5));
        return false;
    }

  private:
    fs::path log_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};

TEST(Package, InstallsRunsAsAUserWithSettingsInTheConfigFolderAndRemovesCleanly) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root: the test installs the package with apt-get";
    }
    if (packageInstalled() && !fs::exists(kMarker)) {
        GTEST_SKIP() << kPackage << " is installed on this machine; the test leaves it alone";
    }
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr) << "no user 'nobody' to run the program as";
    const passwd user = *nobody;
    const auto deb = builtPackage();
    ASSERT_TRUE(deb) << "no " << kPackage << "_" << TZ_VERSION << "_*.deb in " << TZ_BUILD_DIR
                     << " (make package)";

    UserFolders folders(user.pw_uid, user.pw_gid);
    const fs::path aptLog = folders.logs() / "apt.log";
    InstalledPackage package(*deb, aptLog);
    ASSERT_TRUE(package.installed()) << "apt-get install failed:\n" << readText(aptLog);

    // What the package put where the system looks for it.
    ASSERT_TRUE(fs::is_symlink(kCommand));
    EXPECT_EQ(fs::canonical(kCommand), kProgramFolder / "tindro-zevad");
    const std::vector<fs::path> installedFiles = {
        kProgramFolder / "Lang/English.lng",
        kProgramFolder / "Click/Click1.wav",
        kProgramFolder / "Click/Click2.wav",
        kProgramFolder / "help-en.html",
        fs::path("/usr/share/applications/" + kAppId + ".desktop"),
        fs::path("/usr/share/metainfo/" + kAppId + ".metainfo.xml"),
        fs::path("/usr/share/icons/hicolor/48x48/apps/" + kAppId + ".png"),
        fs::path("/usr/share/icons/hicolor/scalable/apps/" + kAppId + ".svg"),
        "/usr/share/man/man1/tindro-zevad.1.gz",
        "/usr/share/doc/tindro-zevad/copyright"};
    for (const fs::path& file : installedFiles) {
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    }
    const auto programFiles = listing(kProgramFolder);

    XvfbServer xvfb;
    X11Client x11(xvfb.display());
    Recorder recorder(xvfb.display());

    // First run: pick the right click on the bar.
    {
        UserProgram program(user, folders, xvfb.display(), folders.logs() / "first.log");
        BarDriver bar(x11, program.pid());
        ASSERT_TRUE(bar.waitParked(30s)) << "the bar never came and hid\n" << program.log();
        ASSERT_TRUE(bar.moveOnto(bar::Button::Right, 10s)) << "the bar did not appear";
        ASSERT_TRUE(waitUntil([&] { return lineOf(folders.settings(), 8) == "5"; }, 10s))
            << "no click kind 5 in " << folders.settings() << ":\n"
            << readText(folders.settings()) << "\nprogram log:\n"
            << program.log();
        x11.movePointer(kElsewhere);
        EXPECT_TRUE(program.stop()) << "the program did not end on SIGTERM";
    }
    struct stat info {};
    ASSERT_EQ(stat(folders.settings().parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(info.st_uid, user.pw_uid);
    ASSERT_EQ(stat(folders.settings().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, user.pw_uid);

    // Second run: the saved right click is in force at once.
    {
        x11.movePointer(recorder.centre());
        recorder.clear();
        UserProgram program(user, folders, xvfb.display(), folders.logs() / "second.log");
        EXPECT_TRUE(recorder.waitForEvents(2, 40s)) << "no click after the restart\n"
                                                    << program.log();
        sleepFor(500ms);
        EXPECT_EQ(recorder.events(), (std::vector<ButtonEvent>{press(3), release(3)}));
        x11.movePointer(kElsewhere);
        EXPECT_TRUE(program.stop()) << "the program did not end on SIGTERM";
    }
    EXPECT_EQ(lineOf(folders.settings(), 8), "5");
    EXPECT_EQ(listing(kProgramFolder), programFiles) << "something was written beside the program";

    ASSERT_TRUE(package.remove()) << "apt-get remove failed:\n" << readText(aptLog);
    EXPECT_FALSE(fs::exists(kProgramFolder));
    EXPECT_FALSE(fs::exists(fs::symlink_status(kCommand)));
}

}  // namespace
}  // namespace tz::e2e

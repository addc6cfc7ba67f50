// An installed program folder the user cannot write to, holding a settings
// file the user cannot replace: the program must run and click as usual, keep
// a new click kind in the user's own settings file (starting from the program
// folder's values) for this run and the next, and leave the program folder as
// it was.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

class ReadOnlyFolderTest : public ProgramFixture {
  protected:
    // Root ignores permission bits, so a root test runs the program as nobody
    // through setpriv; the real executable then lies beside its starter.
    bool makeProgramFolderUnwritable() {
        if (::geteuid() == 0) {
            const std::string setpriv = "/usr/bin/setpriv";
            if (::access(setpriv.c_str(), X_OK) != 0) {
                return false;
            }
            const fs::path real = sandbox_.executable().string() + ".bin";
            fs::rename(sandbox_.executable(), real);
            std::ofstream(sandbox_.executable())
                << "#!/bin/sh\nexec " << setpriv << " --reuid=" << kNobody << " --regid=" << kNobody
                << " --clear-groups \"$0.bin\" \"$@\"\n";
            fs::permissions(sandbox_.executable(),
                            fs::perms::owner_all | fs::perms::group_exec | fs::perms::group_read |
                                fs::perms::others_exec | fs::perms::others_read);
            // nobody must reach the sandbox and own its runtime folder.
            fs::permissions(sandbox_.root(), fs::perms::group_exec | fs::perms::others_exec,
                            fs::perm_options::add);
            fs::permissions(sandbox_.tmpDir(), fs::perms::all | fs::perms::sticky_bit);
            if (::chown(sandbox_.runtimeDir().c_str(), kNobody, kNobody) != 0 ||
                ::chown(sandbox_.configHome().c_str(), kNobody, kNobody) != 0) {
                return false;
            }
        }
        sandbox_.makeProgramFolderReadOnly();
        return true;
    }
};

TEST_F(ReadOnlyFolderTest, ProgramClicksAndKeepsANewClickKindInTheUsersOwnFile) {
    if (!makeProgramFolderUnwritable()) {
        GTEST_SKIP() << "running as root without setpriv: cannot take write access away";
    }
    const auto before = folderEntries(sandbox_.programFolder());

    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NE(procStatus(run().pid(), "Uid:"), 0)
        << "the program runs as root, which may write anywhere";
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(1), release(1)}));

    ASSERT_NO_FATAL_FAILURE(moveOnto(bar::Button::Right));
    sleepFor(1s);  // the file it saves to lies elsewhere
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(3), release(3)}))
        << "the right click chosen on the bar did not take effect";
    EXPECT_EQ(restAt({recorder_.centre().x + 60, recorder_.centre().y + 40}, 2),
              (std::vector<ButtonEvent>{press(3), release(3)}))
        << "the choice did not last for the run";

    EXPECT_TRUE(run().running());
    EXPECT_TRUE(otherProgramWindows().empty()) << "the program showed a window\n" << windows();
    EXPECT_EQ(sandbox_.readSettings(), kSettings);
    EXPECT_EQ(folderEntries(sandbox_.programFolder()), before);

    std::string saved = kSettings;
    saved[saved.size() - 3] = '5';
    std::ifstream own(sandbox_.configHome() / "tindro-zevad" / "Tindro Zevad.ini",
                      std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(own), {}), saved);

    run().stop();
    ASSERT_NO_FATAL_FAILURE(startParked());
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(3), release(3)}))
        << "the next run did not start with the saved right click";
}

}  // namespace
}  // namespace tz::e2e

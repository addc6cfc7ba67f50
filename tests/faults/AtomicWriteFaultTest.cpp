// The steps of a settings save that the unit tests do not fail yet: the data
// not reaching the disk, the temporary file failing to close, and a write
// that makes no progress. Each must leave the previous file byte for byte and
// no temporary file behind, and must not hang.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/SettingsFile.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

const std::string kPrevious = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n";

class FailingOps : public FileOps {
  public:
    enum class Step { Flush, Close, NoProgress };
    explicit FailingOps(Step step) : step_(step) {}
    ssize_t write(int fd, const char* data, std::size_t size) override {
        return step_ == Step::NoProgress ? 0 : FileOps::write(fd, data, size);
    }
    bool flush(int fd) override { return step_ != Step::Flush && FileOps::flush(fd); }
    bool close(int fd) override {
        // The descriptor is released all the same, as close(2) does on error.
        const bool closed = FileOps::close(fd);
        return step_ != Step::Close && closed;
    }

  private:
    Step step_;
};

TEST(AtomicWriteFaults, FailedFlushCloseOrStalledWriteKeepsThePreviousFile) {
    for (auto step :
         {FailingOps::Step::Flush, FailingOps::Step::Close, FailingOps::Step::NoProgress}) {
        SCOPED_TRACE(static_cast<int>(step));
        test::TestDirectory dir;
        dir.write(kSettingsFileName, kPrevious);
        FailingOps ops(step);
        Settings changed = parseSettings(kPrevious);
        changed.tolerance = 7;
        changed.startMode = 5;
        EXPECT_FALSE(writeSettingsFile(dir.file(kSettingsFileName), changed, ops));
        EXPECT_EQ(dir.read(kSettingsFileName), kPrevious);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

}  // namespace
}  // namespace tz

#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tz::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TestDirectory {
  public:
    TestDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tz-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TestDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::string path_;
};

}  // namespace tz::test

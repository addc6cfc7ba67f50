#pragma once
// Test helpers: a temporary folder, and a rule applied to a list of inputs.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

namespace tz::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TestDirectory {
  public:
    TestDirectory() { ::mkdtemp(path_.data()); }
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
    std::string path_ = (std::filesystem::temp_directory_path() / "tz-test-XXXXXX").string();
};

// What `rule` gives for each input, in order.
template <typename Rule, typename Input>
auto each(Rule rule, std::initializer_list<Input> inputs) {
    std::vector<std::decay_t<decltype(rule(*inputs.begin()))>> results;
    for (const Input& input : inputs) results.push_back(rule(input));
    return results;
}

}  // namespace tz::test

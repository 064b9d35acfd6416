#pragma once
// A fresh empty folder under the system's temporary folder for one test, removed with everything
// in it when the test ends; the same on Linux and Windows.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace metopt::testsupport {

class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix) {
        static std::atomic<unsigned> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            const std::string name =
                prefix + "-" + std::to_string(stamp) + "-" + std::to_string(serial.fetch_add(1));
            path_ = (base / name).generic_string();
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace metopt::testsupport

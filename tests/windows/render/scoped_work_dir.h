// Runs a test in a fresh directory of its own, so "log.txt" starts missing.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class ScopedWorkDir {
  public:
    explicit ScopedWorkDir(const std::string& name)
        : previous_(std::filesystem::current_path()),
          dir_(std::filesystem::temp_directory_path() / ("qf_render_" + name)) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~ScopedWorkDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    static std::string LogBytes() {
        std::ifstream in("log.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

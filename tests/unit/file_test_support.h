// file_test_support.h: a harness for the file, ini and settings tests: each
// test runs in its own scratch working directory with its own settings
// store file and secure mode off, and every file game code left open is
// closed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files/files_builtins.h"
#include "platform/settings_store.h"
#include "runner/game_data.h"
#include "test_function_util.h"

namespace filetest {

namespace fs = std::filesystem;

class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("vexlo_files_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
    Settings_UseFile((dir_ / "settings.db").string());
    Secure_SetMode(false);
  }
  void TearDown() override {
    Files_CloseAll();
    CallBuiltin("ini_close", {});
    CallBuiltin("file_find_close", {});
    CallBuiltin("registry_set_root", {R(0)});
    Secure_SetMode(false);
    Settings_UseFile("");
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }

  static void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
  fs::path old_cwd_;
  ErrorCapture errors_;
};

}  // namespace filetest

// test_support_file.cpp: the private temporary directory (choice of base,
// naming, removal) and the crash-safe file write.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "common/support_file.h"

namespace fs = std::filesystem;

namespace {

// A scratch directory per test, and the temp variables restored afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() /
               ("vexlo_tempdir_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(scratch_);
    fs::create_directories(scratch_ / "exe");
    for (const char* name : kVariables) {
      const char* v = std::getenv(name);
      saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
      ::unsetenv(name);
    }
  }
  void TearDown() override {
    TempDir_Remove();
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    fs::remove_all(scratch_);
  }

  std::string ExeDir() const { return (scratch_ / "exe").string(); }

  void WriteTempDirFile(const std::string& content) {
    std::ofstream(scratch_ / "exe" / "tempdir.txt") << content;
  }

  // The directory made, checked to be base/vx_ttt_<0..99999>.
  void ExpectCreatedUnder(const fs::path& base) {
    std::vector<std::string> messages;
    ASSERT_TRUE(TempDir_Create(ExeDir(), [&](const std::string& m) { messages.push_back(m); }));
    EXPECT_TRUE(messages.empty());
    fs::path dir = TempDir_Path();
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(fs::weakly_canonical(dir.parent_path()), fs::weakly_canonical(base));
    std::string name = dir.filename().string();
    ASSERT_EQ(name.rfind("vx_ttt_", 0), 0u) << name;
    int number = std::stoi(name.substr(7));
    EXPECT_GE(number, 0);
    EXPECT_LT(number, 100000);
  }

  static constexpr const char* kVariables[] = {"temp", "tmp", "TMPDIR"};
  fs::path scratch_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(TempDirTest, BaseFromTempdirFileWithMissingParents) {
  fs::path base = scratch_ / "from_file" / "deeper";
  WriteTempDirFile(base.string() + "\r\nsecond line ignored\n");
  ::setenv("temp", (scratch_ / "from_env").c_str(), 1);
  ExpectCreatedUnder(base);
}

TEST_F(TempDirTest, BaseFromEnvironmentInOrder) {
  struct Case { std::vector<const char*> set; const char* expected; };
  for (const Case& c : {Case{{"temp", "tmp", "TMPDIR"}, "temp"}, {{"tmp", "TMPDIR"}, "tmp"},
                        {{"TMPDIR"}, "TMPDIR"}}) {
    for (const char* name : kVariables) ::unsetenv(name);
    for (const char* name : c.set) ::setenv(name, (scratch_ / name).c_str(), 1);
    ExpectCreatedUnder(scratch_ / c.expected);
    TempDir_Remove();
  }
}

TEST_F(TempDirTest, UnusableBaseFallsBackToTmp) {
  std::ofstream(scratch_ / "a_file") << "x";
  ::setenv("TMPDIR", (scratch_ / "a_file" / "below").c_str(), 1);
  ExpectCreatedUnder("/tmp");
}

TEST_F(TempDirTest, UniqueFileIsInsideAndNew) {
  ::setenv("TMPDIR", scratch_.c_str(), 1);
  ASSERT_TRUE(TempDir_Create(ExeDir(), nullptr));
  fs::path file = TempDir_UniqueFile(".wav");
  EXPECT_EQ(file.parent_path(), fs::path(TempDir_Path()));
  EXPECT_EQ(file.filename().string()[0], 'a');
  EXPECT_EQ(file.extension(), ".wav");
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(TempDirTest, RemoveDeletesContentButNeverFollowsLinks) {
  ::setenv("TMPDIR", scratch_.c_str(), 1);
  ASSERT_TRUE(TempDir_Create(ExeDir(), nullptr));
  fs::path dir = TempDir_Path();
  fs::create_directories(dir / "sub" / "deeper");
  std::ofstream(dir / "sub" / "deeper" / "f.txt") << "x";
  std::ofstream(dir / "top.bin") << "y";
  fs::create_directories(scratch_ / "outside");
  std::ofstream(scratch_ / "outside" / "keep.txt") << "keep";
  fs::create_directory_symlink(scratch_ / "outside", dir / "sub" / "link_dir");
  fs::create_symlink(scratch_ / "outside" / "keep.txt", dir / "link_file");

  TempDir_Remove();
  EXPECT_FALSE(fs::exists(dir));
  EXPECT_TRUE(TempDir_Path().empty());
  EXPECT_TRUE(fs::exists(scratch_ / "outside" / "keep.txt"));
  TempDir_Remove();  // nothing left to remove: no effect
}

TEST_F(TempDirTest, AtomicWriteReplacesWholeFile) {
  std::string path = (scratch_ / "save.dat").string();
  std::vector<uint8_t> out;
  EXPECT_FALSE(File_ReadAll(path, out));
  ASSERT_TRUE(File_WriteAtomic(path, "first content", 13));
  ASSERT_TRUE(File_WriteAtomic(path, "new", 3));
  ASSERT_TRUE(File_ReadAll(path, out));
  EXPECT_EQ(std::string(out.begin(), out.end()), "new");
  ASSERT_TRUE(File_WriteAtomic(path, nullptr, 0));
  ASSERT_TRUE(File_ReadAll(path, out));
  EXPECT_TRUE(out.empty());
  // Only the file itself is left (besides the exe folder).
  int entries = 0;
  for (const auto& e : fs::directory_iterator(scratch_)) entries += e.path().filename() != "exe";
  EXPECT_EQ(entries, 1);
}

TEST_F(TempDirTest, AtomicWriteFailsCleanly) {
  EXPECT_FALSE(File_WriteAtomic((scratch_ / "missing" / "f.dat").string(), "x", 1));
  EXPECT_FALSE(fs::exists(scratch_ / "missing"));
  std::vector<uint8_t> out;
  EXPECT_FALSE(File_ReadAll(scratch_.string(), out)) << "a directory is not a file";
}

}  // namespace

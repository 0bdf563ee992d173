// test_file_bin.cpp: binary files: modes, bytes, positions, sizes,
// rewriting, slots, messages and secure mode.
#include <sys/stat.h>

#include "file_test_support.h"

using namespace filetest;

namespace {

using FileBinTest = ScratchTest;

double Call(const char* name, std::vector<RValue> args) { return CallBuiltin(name, args).val; }

TEST_F(FileBinTest, WriteSeekReadSizeRewrite) {
  int f = static_cast<int>(Call("file_bin_open", {S(u"data.bin"), R(2)}));
  ASSERT_EQ(f, 1);
  for (double b : {1.0, 255.0, 256.0 + 7, -1.0, 2.5}) Call("file_bin_write_byte", {R(f), R(b)});
  EXPECT_EQ(Call("file_bin_size", {R(f)}), 5);
  EXPECT_EQ(Call("file_bin_position", {R(f)}), 5);
  Call("file_bin_seek", {R(f), R(1)});
  EXPECT_EQ(Call("file_bin_read_byte", {R(f)}), 255);
  EXPECT_EQ(Call("file_bin_read_byte", {R(f)}), 7);    // low 8 bits
  EXPECT_EQ(Call("file_bin_read_byte", {R(f)}), 255);  // -1
  Call("file_bin_write_byte", {R(f), R(9)});           // a write right after a read
  EXPECT_EQ(Call("file_bin_position", {R(f)}), 5);
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
  EXPECT_EQ(Call("file_bin_read_byte", {R(f)}), 0);
  EXPECT_EQ(errors_.Message(), "Error reading byte.");  // end of file
  Call("file_bin_close", {R(f)});
  EXPECT_EQ(ReadFile("data.bin"), std::string("\x01\xff\x07\xff\x09", 5));

  // An existing file opens at 0 without truncation; rewrite empties it.
  f = static_cast<int>(Call("file_bin_open", {S(u"data.bin"), R(1)}));
  EXPECT_EQ(Call("file_bin_position", {R(f)}), 0);
  EXPECT_EQ(Call("file_bin_size", {R(f)}), 5);
  Call("file_bin_rewrite", {R(f)});
  EXPECT_EQ(Call("file_bin_size", {R(f)}), 0);
  Call("file_bin_write_byte", {R(f), R(65)});
  Call("file_bin_close", {R(f)});
  EXPECT_EQ(ReadFile("data.bin"), "A");
}

TEST_F(FileBinTest, ReadOnlyModeCannotWriteAndMissingFilesAreCreated) {
  int f = static_cast<int>(Call("file_bin_open", {S(u"new.bin"), R(0)}));
  EXPECT_EQ(f, 1);
  EXPECT_TRUE(fs::exists("new.bin"));
  errors_.Reset();
  Call("file_bin_write_byte", {R(f), R(1)});
  EXPECT_EQ(errors_.Message(), "Error writing byte.");
}

TEST_F(FileBinTest, MessagesOfUnopenedFiles) {
  struct Case {
    const char* function;
    std::vector<RValue> args;
    const char* message;
  } cases[] = {
      {"file_bin_rewrite", {R(1)}, "Trying to rewrite unopened file."},
      {"file_bin_close", {R(0)}, "Trying to close unopened file."},
      {"file_bin_size", {R(33)}, "File is not opened."},
      {"file_bin_position", {R(-1)}, "File is not opened."},
      {"file_bin_seek", {R(3), R(0)}, "File is not opened."},
      {"file_bin_read_byte", {R(2)}, "File is not opened."},
      {"file_bin_write_byte", {R(2), R(0)}, "File is not opened."},
  };
  for (const Case& c : cases) {
    errors_.Reset();
    CallBuiltin(c.function, c.args);
    EXPECT_EQ(errors_.Message(), c.message) << c.function;
  }
  int f = static_cast<int>(Call("file_bin_open", {S(u"a.bin"), R(2)}));
  errors_.Reset();
  Call("file_bin_seek", {R(f), R(-4)});
  EXPECT_EQ(errors_.Message(), "Error seeking.");
  errors_.Reset();
  fs::create_directory("folder");
  EXPECT_EQ(Call("file_bin_open", {S(u"folder"), R(0)}), -1);
  EXPECT_EQ(errors_.Message(), "Error opening binary file.");
}

TEST_F(FileBinTest, APipeIsRefusedInsteadOfBlockingTheGame) {
  ASSERT_EQ(::mkfifo("pipe", 0600), 0);
  EXPECT_EQ(Call("file_bin_open", {S(u"pipe"), R(0)}), -1);
  EXPECT_EQ(errors_.Message(), "Error opening binary file.");
  EXPECT_EQ(Call("file_text_open_read", {S(u"pipe")}), -1);
}

TEST_F(FileBinTest, ThirtyTwoSlots) {
  for (int i = 1; i <= 32; ++i) ASSERT_EQ(Call("file_bin_open", {S(u"a.bin"), R(0)}), i);
  EXPECT_EQ(Call("file_bin_open", {S(u"a.bin"), R(0)}), -1);
  EXPECT_EQ(errors_.Message(), "Cannot open another file (maximum exceeded).");
}

TEST_F(FileBinTest, SecureModeAllowsReadingWithAPathOnly) {
  fs::create_directory("data");
  WriteFile("data/in.bin", "z");
  Secure_SetMode(true);
  int f = static_cast<int>(Call("file_bin_open", {S(u"data/in.bin"), R(0)}));
  EXPECT_GT(f, 0);
  EXPECT_EQ(Call("file_bin_read_byte", {R(f)}), 'z');
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
  for (double mode : {1.0, 2.0}) {
    errors_.Reset();
    EXPECT_EQ(Call("file_bin_open", {S(u"data/in.bin"), R(mode)}), -1);
    EXPECT_EQ(errors_.Message(), "In secure mode you cannot write file data/in.bin");
  }
  // Reading creates nothing outside the working directory either.
  errors_.Reset();
  EXPECT_EQ(Call("file_bin_open", {S(u"data/missing.bin"), R(0)}), -1);
  EXPECT_FALSE(fs::exists("data/missing.bin"));
  errors_.Reset();
  EXPECT_EQ(Call("file_bin_open", {S(u"../x.bin"), R(0)}), -1);
  EXPECT_EQ(errors_.Message(), "In secure mode you cannot read file ../x.bin");
}

}  // namespace

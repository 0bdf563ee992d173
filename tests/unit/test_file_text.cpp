// test_file_text.cpp: text files and the legacy file: the number format, the
// two number parsers, lines and line breaks, slots, messages, secure mode,
// and that a text file being written never shows half its content.
#include <sys/wait.h>
#include <unistd.h>

#include "file_test_support.h"
#include "files/file_text.h"

using namespace filetest;

namespace {

using FileTextTest = ScratchTest;

TEST(FileRealText, Format) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {{12.5, " 12.500000"}, {-2.5, " -2.500000"}, {3, " 3"},
               {0.0000001, " 0"},    {1.0 / 3, " 0.333333"}, {0, " 0"},
               {-0.25, " -0.250000"}, {1e15, " 1000000000000000"}, {2.0000009, " 2"}, {2.1, " 2.100000"}};
  for (const Case& c : cases) EXPECT_EQ(File_RealText(c.x), c.text) << c.x;
}

TEST_F(FileTextTest, WritesNumbersStringsAndCrLf) {
  int f = static_cast<int>(CallBuiltin("file_text_open_write", {S(u"out.txt")}).val);
  ASSERT_EQ(f, 1);
  CallBuiltin("file_text_write_string", {R(f), S(u"caf\u00e9")});
  CallBuiltin("file_text_write_real", {R(f), R(1.0 / 3)});
  CallBuiltin("file_text_writeln", {R(f)});
  CallBuiltin("file_text_write_real", {R(f), R(-2.5)});
  CallBuiltin("file_text_close", {R(f)});
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
  EXPECT_EQ(ReadFile("out.txt"), "caf\xc3\xa9 0.333333\r\n -2.500000");
}

TEST_F(FileTextTest, ReadsNumbersAsTheTextFormDoes) {
  WriteFile("in.txt", "  -12.25abc\r\n12 34\n1,5\n- 7.-5\n\n.5.6x");
  int f = static_cast<int>(CallBuiltin("file_text_open_read", {S(u"in.txt")}).val);
  ASSERT_EQ(f, 1);
  EXPECT_EQ(CallBuiltin("file_text_read_real", {R(f)}).val, -12.25);
  EXPECT_EQ(CallBuiltin("file_text_read_string", {R(f)}).str, u"bc");
  EXPECT_EQ(CallBuiltin("file_text_eoln", {R(f)}).val, 1);
  CallBuiltin("file_text_readln", {R(f)});
  EXPECT_EQ(CallBuiltin("file_text_read_real", {R(f)}).val, 12);
  EXPECT_EQ(CallBuiltin("file_text_read_string", {R(f)}).str, u"34");
  CallBuiltin("file_text_readln", {R(f)});
  EXPECT_EQ(CallBuiltin("file_text_read_real", {R(f)}).val, 1.5);
  CallBuiltin("file_text_readln", {R(f)});
  // A minus and blanks again right after the separator.
  EXPECT_DOUBLE_EQ(CallBuiltin("file_text_read_real", {R(f)}).val, -7.5);
  CallBuiltin("file_text_readln", {R(f)});
  EXPECT_EQ(CallBuiltin("file_text_read_real", {R(f)}).val, 0);  // empty line
  EXPECT_EQ(CallBuiltin("file_text_eof", {R(f)}).val, 0);
  CallBuiltin("file_text_readln", {R(f)});
  EXPECT_EQ(CallBuiltin("file_text_read_real", {R(f)}).val, 0.5);  // the second "." ends it
  EXPECT_EQ(CallBuiltin("file_text_read_string", {R(f)}).str, u"6x");
  EXPECT_EQ(CallBuiltin("file_text_eof", {R(f)}).val, 1);
  EXPECT_EQ(CallBuiltin("file_text_eoln", {R(f)}).val, 1);
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
}

TEST_F(FileTextTest, LegacyFileUsesItsOwnNumberParser) {
  WriteFile("in.txt", "12 34\r\n-1 2.5 x\r\nlast");
  CallBuiltin("file_open_read", {S(u"in.txt")});
  EXPECT_EQ(CallBuiltin("file_read_real", {}).val, 1234);
  CallBuiltin("file_readln", {});
  EXPECT_DOUBLE_EQ(CallBuiltin("file_read_real", {}).val, -12.5);
  CallBuiltin("file_readln", {});
  EXPECT_EQ(CallBuiltin("file_read_string", {}).str, u"last");
  EXPECT_EQ(CallBuiltin("file_eof", {}).val, 1);
  CallBuiltin("file_close", {});
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();

  CallBuiltin("file_open_write", {S(u"out.txt")});
  CallBuiltin("file_write_string", {S(u"a")});
  CallBuiltin("file_write_real", {R(12.5)});
  CallBuiltin("file_writeln", {});
  CallBuiltin("file_close", {});
  CallBuiltin("file_open_append", {S(u"out.txt")});
  CallBuiltin("file_write_string", {S(u"b")});
  CallBuiltin("file_close", {});
  EXPECT_EQ(ReadFile("out.txt"), "a 12.500000\r\nb");
}

TEST_F(FileTextTest, MessagesOfWrongStatesAndIds) {
  struct Case {
    const char* function;
    std::vector<RValue> args;
    const char* message;
  } cases[] = {
      {"file_text_read_string", {R(1)}, "File is not opened for reading."},
      {"file_text_eof", {R(40)}, "File is not opened for reading."},
      {"file_text_write_string", {R(1), S(u"x")}, "File not opened for writing."},
      {"file_text_close", {R(0)}, "Trying to close unexisting text file."},
      {"file_text_close", {R(33)}, "Trying to close unexisting text file."},
      {"file_read_string", {}, "File not opened for reading."},
      {"file_read_real", {}, "File not opened for reading."},
      {"file_eof", {}, "File is not opened for reading."},
      {"file_writeln", {}, "File not opened for writing."},
  };
  for (const Case& c : cases) {
    errors_.Reset();
    CallBuiltin(c.function, c.args);
    EXPECT_EQ(errors_.Message(), c.message) << c.function;
  }
  errors_.Reset();
  CallBuiltin("file_text_close", {R(5)});  // a closed slot in range is ignored
  EXPECT_FALSE(errors_.Occurred());
  EXPECT_EQ(CallBuiltin("file_text_open_read", {S(u"missing.txt")}).val, -1);
  EXPECT_FALSE(errors_.Occurred());  // a missing file is not an error
  // A folder is not a text file.
  fs::create_directory("folder");
  EXPECT_EQ(CallBuiltin("file_text_open_read", {S(u"folder")}).val, -1);
  EXPECT_EQ(errors_.Message(), "Error opening file for reading.");
}

TEST_F(FileTextTest, ThirtyTwoSlotsThenTheMaximumMessage) {
  WriteFile("in.txt", "x");
  for (int i = 1; i <= 32; ++i)
    ASSERT_EQ(CallBuiltin("file_text_open_read", {S(u"in.txt")}).val, i);
  EXPECT_FALSE(errors_.Occurred());
  EXPECT_EQ(CallBuiltin("file_text_open_write", {S(u"other.txt")}).val, -1);
  EXPECT_EQ(errors_.Message(), "Cannot open another file (maximum exceeded).");
  // The binary table is separate.
  EXPECT_EQ(CallBuiltin("file_bin_open", {S(u"in.txt"), R(0)}).val, 1);
  CallBuiltin("file_text_close", {R(7)});
  EXPECT_EQ(CallBuiltin("file_text_open_read", {S(u"in.txt")}).val, 7);  // lowest free slot
}

TEST_F(FileTextTest, SecureModeRefusesPathsForWritingAndDotDotAlways) {
  fs::create_directory("data");
  Secure_SetMode(true);
  int f = static_cast<int>(CallBuiltin("file_text_open_write", {S(u"save.txt")}).val);
  EXPECT_EQ(f, 1);
  EXPECT_FALSE(errors_.Occurred());
  CallBuiltin("file_text_close", {R(f)});
  struct Case {
    const char* function;
    const char16_t* name;
    const char* message;
  } cases[] = {
      {"file_text_open_write", u"data/save.txt", "In secure mode you cannot write file data/save.txt"},
      {"file_text_open_write", u"data\\save.txt", "In secure mode you cannot write file data\\save.txt"},
      {"file_text_open_append", u"data/save.txt", "In secure mode you cannot append to file data/save.txt"},
      {"file_text_open_read", u"../secret.txt", "In secure mode you cannot read file ../secret.txt"},
      {"file_text_open_read", u"data/../../x", "In secure mode you cannot read file data/../../x"},
      {"file_open_write", u"a/b", "In secure mode you cannot write file a/b"},
  };
  for (const Case& c : cases) {
    errors_.Reset();
    RValue r = CallBuiltin(c.function, {S(c.name)});
    EXPECT_EQ(errors_.Message(), c.message) << c.function;
    if (std::string(c.function).rfind("file_text", 0) == 0) {
      EXPECT_EQ(r.val, -1);
    }
  }
  EXPECT_FALSE(fs::exists("data/save.txt"));
  // Reading with a path that stays inside is allowed.
  WriteFile("data/in.txt", "7");
  errors_.Reset();
  f = static_cast<int>(CallBuiltin("file_text_open_read", {S(u"data\\in.txt")}).val);
  EXPECT_GT(f, 0);
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
}

// The old content stays under the name until the file is closed, and a
// process that dies while writing leaves it untouched.
TEST_F(FileTextTest, WritingNeverLeavesAHalfWrittenFile) {
  WriteFile("save.txt", "old complete content");
  int f = static_cast<int>(CallBuiltin("file_text_open_write", {S(u"save.txt")}).val);
  CallBuiltin("file_text_write_string", {R(f), S(u"new")});
  EXPECT_EQ(ReadFile("save.txt"), "old complete content");
  CallBuiltin("file_text_close", {R(f)});
  EXPECT_EQ(ReadFile("save.txt"), "new");

  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RValue id = CallBuiltin("file_text_open_append", {S(u"save.txt")});
    CallBuiltin("file_text_write_string", {id, S(u" and half of more")});
    ::_exit(0);  // dies without closing, as a crash would
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(ReadFile("save.txt"), "new");
}

}  // namespace

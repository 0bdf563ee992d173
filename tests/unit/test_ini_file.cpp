// test_ini_file.cpp: ini files: the number parser and number text, reading
// and changing a file while keeping everything else in it, the builtins
// with their messages, and hostile files.
#include "file_test_support.h"
#include "files/ini_file.h"

using namespace filetest;

namespace {

using IniTest = ScratchTest;

TEST(IniNumbers, ParserCases) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"1.5e3", 1500}, {"2,5", 2.5},    {"1e+5", 1},     {"-1e-2", -0.01},
               {"--3", 3},      {"", 0},         {"abc", 0},      {" 5", 0},
               {"+5", 0},       {"7x9", 7},      {"1.2.3", 1.2},  {"1e2e3", 100},
               {"1e2.5", 100},  {"-2E-1", -0.2}, {"1e999", 0},    {"0", 0},
               {"12", 12},      {"3-", -3},      {"1e-", 1}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Ini_ParseReal(c.text), c.value) << c.text;
}

TEST(IniNumbers, TextReadsBack) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {{1500, "1500"}, {0.5, "0.5"}, {-2.25, "-2.25"}, {1e20, "1E20"},
               {1.5e-7, "1.5E-7"}, {0, "0"}};
  for (const Case& c : cases) {
    EXPECT_EQ(Ini_RealText(c.x), c.text);
    EXPECT_DOUBLE_EQ(Ini_ParseReal(Ini_RealText(c.x)), c.x);
  }
}

TEST(IniLines, ChangesKeepEverythingElse) {
  const std::string original =
      "; settings of the game\r\n"
      "[Video]\r\n"
      "  Width = 640\r\n"
      "height=480\r\n"
      "\r\n"
      "[Sound]\r\n"
      "volume=\"80\"\r\n"
      "garbage line\r\n";
  TIniFile ini;
  ini.Parse(original);
  EXPECT_EQ(ini.Serialize(), original);
  EXPECT_EQ(ini.Read("video", "WIDTH"), "640");
  EXPECT_EQ(ini.Read("Sound", "volume"), "80");  // quotes removed
  EXPECT_FALSE(ini.Read("Sound", "width"));
  EXPECT_FALSE(ini.Read("Missing", "x"));
  EXPECT_TRUE(ini.SectionExists("SOUND"));

  ini.Write("Video", "width", "800");
  ini.Write("Video", "depth", "32");
  ini.Write("Keys", "fire", "space");
  EXPECT_EQ(ini.Serialize(),
            "; settings of the game\r\n"
            "[Video]\r\n"
            "  Width =800\r\n"
            "height=480\r\n"
            "depth=32\r\n"
            "\r\n"
            "[Sound]\r\n"
            "volume=\"80\"\r\n"
            "garbage line\r\n"
            "[Keys]\r\n"
            "fire=space\r\n");
  EXPECT_TRUE(ini.DeleteKey("video", "HEIGHT"));
  EXPECT_FALSE(ini.DeleteKey("video", "height"));
  EXPECT_TRUE(ini.DeleteSection("Sound"));
  EXPECT_EQ(ini.Serialize(),
            "; settings of the game\r\n"
            "[Video]\r\n"
            "  Width =800\r\n"
            "depth=32\r\n"
            "\r\n"
            "[Keys]\r\n"
            "fire=space\r\n");
}

TEST(IniLines, MixedLineBreaksSurviveExactly) {
  const std::string original = "junk\r\nmore\nodd\r\r\n[x]\nk=v\r";
  TIniFile ini;
  ini.Parse(original);
  EXPECT_EQ(ini.Serialize(), original);
  EXPECT_EQ(ini.Read("x", "k"), "v");  // a stray carriage return is a blank
  ini.Write("x", "n", "1");            // the first break of the file is used for new lines
  EXPECT_EQ(ini.Serialize(), "junk\r\nmore\nodd\r\r\n[x]\nk=v\r\r\nn=1\r\n");
}

TEST(IniLines, ValuesCannotAddLines) {
  TIniFile ini;
  ini.Parse("[a]\nk=1\n");
  ini.Write("a", "k", "x\r\n[evil]\nk=2");
  EXPECT_FALSE(ini.SectionExists("evil"));
  EXPECT_EQ(ini.Serialize(), "[a]\nk=x  [evil] k=2\n");  // the file's own line breaks kept
}

TEST_F(IniTest, BuiltinsRoundTripThroughTheFile) {
  WriteFile("game.ini", "; keep me\n[player]\nname=Ann\n");
  CallBuiltin("ini_open", {S(u"game.ini")});
  EXPECT_EQ(CallBuiltin("ini_read_string", {S(u"player"), S(u"name"), S(u"?")}).str, u"Ann");
  EXPECT_EQ(CallBuiltin("ini_read_string", {S(u"player"), S(u"town"), S(u"?")}).str, u"?");
  EXPECT_EQ(CallBuiltin("ini_read_real", {S(u"player"), S(u"score"), R(2.5)}).val, 2.5);
  CallBuiltin("ini_write_real", {S(u"player"), S(u"score"), R(1500)});
  CallBuiltin("ini_write_string", {S(u"player"), S(u"town"), S(u"M\u00fcnster")});
  EXPECT_EQ(ReadFile("game.ini"), "; keep me\n[player]\nname=Ann\nscore=1500\ntown=M\xc3\xbcnster\n");
  EXPECT_EQ(CallBuiltin("ini_key_exists", {S(u"player"), S(u"score")}).val, 1);
  EXPECT_EQ(CallBuiltin("ini_section_exists", {S(u"enemy")}).val, 0);
  // A change made by someone else is seen.
  WriteFile("game.ini", "[player]\nscore=2,5\n");
  EXPECT_EQ(CallBuiltin("ini_read_real", {S(u"player"), S(u"score"), R(0)}).val, 2.5);
  CallBuiltin("ini_key_delete", {S(u"player"), S(u"score")});
  CallBuiltin("ini_section_delete", {S(u"player")});
  EXPECT_EQ(ReadFile("game.ini"), "");
  CallBuiltin("ini_close", {});
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();

  // The next run of the game reads what this one wrote.
  CallBuiltin("ini_open", {S(u"new.ini")});
  EXPECT_FALSE(fs::exists("new.ini"));  // opening writes nothing
  CallBuiltin("ini_write_string", {S(u"s"), S(u"k"), S(u"v")});
  CallBuiltin("ini_close", {});
  CallBuiltin("ini_open", {S(u"new.ini")});
  EXPECT_EQ(CallBuiltin("ini_read_string", {S(u"s"), S(u"k"), S(u"")}).str, u"v");
  EXPECT_EQ(ReadFile("new.ini"), "[s]\r\nk=v\r\n");
}

TEST_F(IniTest, MessagesAndAPathKeepsThePreviousFileOpen) {
  struct Case {
    const char* function;
    std::vector<RValue> args;
    const char* message;
  } cases[] = {
      {"ini_read_string", {S(u"a"), S(u"b"), S(u"")}, "Trying to read from undefined INI file"},
      {"ini_read_real", {S(u"a"), S(u"b"), R(0)}, "Trying to read from undefined INI file"},
      {"ini_key_exists", {S(u"a"), S(u"b")}, "Trying to read from undefined INI file"},
      {"ini_section_exists", {S(u"a")}, "Trying to read from undefined INI file"},
      {"ini_write_string", {S(u"a"), S(u"b"), S(u"")}, "Trying to write to undefined INI file"},
      {"ini_write_real", {S(u"a"), S(u"b"), R(0)}, "Trying to write to undefined INI file"},
      {"ini_key_delete", {S(u"a"), S(u"b")}, "Trying to change undefined INI file"},
      {"ini_section_delete", {S(u"a")}, "Trying to change undefined INI file"},
  };
  for (const Case& c : cases) {
    errors_.Reset();
    CallBuiltin(c.function, c.args);
    EXPECT_EQ(errors_.Message(), c.message) << c.function;
  }
  WriteFile("first.ini", "[a]\nb=first\n");
  CallBuiltin("ini_open", {S(u"first.ini")});
  for (const char16_t* bad : {u"sub/x.ini", u"sub\\x.ini", u"..", u"../x.ini"}) {
    errors_.Reset();
    CallBuiltin("ini_open", {S(bad)});
    EXPECT_EQ(errors_.Message(), "INI files must be located in the same directory as the program");
  }
  EXPECT_EQ(CallBuiltin("ini_read_string", {S(u"a"), S(u"b"), S(u"")}).str, u"first");
}

TEST_F(IniTest, HostileFilesGiveDefaults) {
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  WriteFile("garbage.ini", garbage);
  CallBuiltin("ini_open", {S(u"garbage.ini")});
  EXPECT_EQ(CallBuiltin("ini_read_real", {S(u"x"), S(u"y"), R(4)}).val, 4);
  CallBuiltin("ini_write_string", {S(u"x"), S(u"y"), S(u"z")});
  EXPECT_EQ(CallBuiltin("ini_read_string", {S(u"x"), S(u"y"), S(u"")}).str, u"z");
  EXPECT_EQ(ReadFile("garbage.ini").substr(0, garbage.size()), garbage);  // kept

  std::string long_line = "[big]\nkey=" + std::string(10 << 20, '9') + "\n";
  WriteFile("big.ini", long_line);
  CallBuiltin("ini_open", {S(u"big.ini")});
  EXPECT_EQ(CallBuiltin("ini_read_real", {S(u"big"), S(u"key"), R(1)}).val, 0);  // too large: 0
  EXPECT_EQ(CallBuiltin("ini_read_string", {S(u"big"), S(u"key"), S(u"")}).str.size(),
            size_t{10} << 20);
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
}

}  // namespace

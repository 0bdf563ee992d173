// Script calls, argument slots and checks, execute_string, script_execute,
// variable_ functions and the runtime error report.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "code_test_support.h"

using codetest::CodeTest;
using codetest::W;

namespace {

class CodeScriptTest : public CodeTest {};

TEST_F(CodeScriptTest, CodeScriptNamedLikeABuiltinWins) {
  AddScript("sqrt", "return 'mine'");
  EXPECT_EQ(Eval("sqrt(4)"), "\"mine\"");
}

TEST_F(CodeScriptTest, CodeScriptArgumentCountCheck) {
  AddScript("three", "trace(argument0, argument1, argument2)");
  Game().settings.code_flags = 2;
  std::string out = Run("three(1, 2)");
  EXPECT_EQ(out, "1 2 0\nerror: Illegal argument count calling script \"three\".\rScript requires 3 arguments, 2 have been supplied.");
  Game().settings.code_flags = 0;
  codetest::Output().clear();
  EXPECT_EQ(Run("three(1, 2)"), "1 2 0\n");
}

TEST_F(CodeScriptTest, CodeScriptArgumentArrayAcceptsMore) {
  AddScript("first", "return argument[0] + argument1");
  Game().settings.code_flags = 2;
  EXPECT_EQ(Eval("first(1, 2, 3)"), "3");
  EXPECT_EQ(Run("u = first(1)"),
            "error: Illegal argument count calling script \"first\".\rScript requires at least 2 arguments, 1 have been supplied.");
}

TEST_F(CodeScriptTest, CodeScriptArgumentsAreSavedAndRestored) {
  AddScript("one", "trace(argument_count, argument0, argument1); argument1 = 'changed'");
  AddScript("caller", "one(7); trace(argument_count, argument1)");
  EXPECT_EQ(Run("caller(1, 'b')"), "1 7 0\n2 b\n");
  EXPECT_EQ(g_Arguments.count, 0);
}

TEST_F(CodeScriptTest, CodeScriptResultAndError) {
  AddScript("bad", "u = 1 / argument0");
  AddScript("good", "return argument0 * 2");
  EXPECT_EQ(Eval("good(4)"), "8");
  EXPECT_EQ(Run("u = bad(0)"), "error: Division by 0.");
  EXPECT_EQ(CodeErrorState().text.rfind("In script bad:\r", 0), 0u);
}

TEST_F(CodeScriptTest, CodeScriptExecuteString) {
  EXPECT_EQ(Eval("execute_string('return argument0 + argument1', 2, 3)"), "5");
  EXPECT_EQ(Eval("execute_string('u = ')"), "0");
  EXPECT_NE(Error_State().error_last.find("COMPILATION ERROR in string to be executed\rError in code"),
            std::string::npos);
  EXPECT_EQ(Run("execute_string('k = 1 / 0'); trace('goes on')"), "goes on\n");
}

TEST_F(CodeScriptTest, CodeScriptExecuteFile) {
  std::string path = ::testing::TempDir() + "vexlo_exec_file.txt";
  {
    std::ofstream file(path, std::ios::binary);
    file << "u = argument0\r\nreturn u * 3\n";
  }
  EXPECT_EQ(Eval("execute_file('" + path + "', 5)"), "15");
  EXPECT_EQ(Eval("execute_file('/nonexistent/file.txt')"), "0");
  std::remove(path.c_str());
}

TEST_F(CodeScriptTest, CodeScriptExecute) {
  AddScript("twice", "return argument0 * 2");
  EXPECT_EQ(Eval("script_execute(twice, 21)"), "42");
  EXPECT_EQ(Eval("script_execute(99, 1)"), "0");
  EXPECT_NE(Error_State().error_last.find("Trying to execute non-existing script."), std::string::npos);
  EXPECT_EQ(CompileError("script_execute(0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16)"),
            "Wrong number of arguments to function or script. @1:56");
}

TEST_F(CodeScriptTest, CodeScriptCompileAll) {
  AddScript("fine", "u = 1");
  AddScript("broken", "u = ");
  EXPECT_FALSE(Code_CompileScripts());
  EXPECT_TRUE(Error_State().aborting);
  EXPECT_EQ(Error_State().error_last.rfind("COMPILATION ERROR in Script: broken\rError in code", 0), 0u);
}

TEST_F(CodeScriptTest, CodeVariableFunctions) {
  EXPECT_EQ(Run("variable_global_set('gv', 3); trace(variable_global_exists('gv'), global.gv, "
                "variable_global_exists('nope'))"),
            "1 3 0\n");
  codetest::Output().clear();
  EXPECT_EQ(Run("variable_global_array2_set('ga', 1, 2, 'u'); trace(variable_global_array2_get('ga', 1, 2), "
                "global.ga[1, 2], variable_global_get('missing'))"),
            "u u 0\n");
  codetest::Output().clear();
  EXPECT_EQ(Run("variable_local_set('lv', 9); trace(lv, variable_local_get('lv'), variable_local_exists('lv'), "
                "variable_local_exists('speed'), variable_local_exists('none'))"),
            "9 9 1 1 0\n");
  codetest::Output().clear();
  EXPECT_EQ(Run("variable_local_array_set('la', 40000, 1); trace('on')"), "on\n");
  EXPECT_NE(Error_State().error_last.find("Array index >= 32000"), std::string::npos);
}

// The array functions and code address the same positions: one index is
// the position, two are row and column.
TEST_F(CodeScriptTest, CodeVariableArrayFunctionsMatchCodeIndices) {
  struct Case {
    const char* program;
    const char* output;
  };
  const Case cases[] = {
      {"variable_global_array_set('ga', 2, 5); trace(global.ga[2], global.ga[0, 2])", "5 5\n"},
      {"global.gb[3] = 'x'; trace(variable_global_array_get('gb', 3))", "x\n"},
      {"global.gc[1, 4] = 7; trace(variable_global_array2_get('gc', 1, 4), "
       "variable_global_array_get('gc', 4))",
       "7 0\n"},
      {"variable_local_array_set('la', 6, 'six'); trace(la[6], self.la[0, 6])", "six six\n"},
      {"lb[2] = 8; trace(variable_local_array_get('lb', 2), variable_local_array2_get('lb', 0, 2))",
       "8 8\n"},
      {"variable_global_array2_set('gd', 2, 1, 3); trace(global.gd[2, 1])", "3\n"},
  };
  for (const Case& c : cases) {
    codetest::Output().clear();
    EXPECT_EQ(Run(c.program), c.output) << c.program;
  }
}

// argument[i] with strict argument counts: an index the call did not supply
// is reported and the read fails, so the script fails. An index outside the
// 16 slots never reads argument0.
TEST_F(CodeScriptTest, CodeScriptArgumentArrayReadsOnlySuppliedSlots) {
  AddScript("peek", "trace('before'); u = argument[argument0]; trace('read', u)");
  AddScript("poke", "argument[20] = 'x'; trace('stored')");
  struct Case {
    int code_flags;
    const char* program;
    const char* output;
    const char* reported;  // the first reported error, "" for none
  };
  const Case cases[] = {
      {2, "peek(0)", "before\nread 0\n", ""},
      {2, "peek(1)",
       "before\nerror: Unknown variable argument or array index out of bounds",
       "Illegal array index in script \"peek\".\rtrying to access argument[1], but only 1 "
       "arguments have been supplied."},
      {2, "peek(20)",
       "before\nerror: Unknown variable argument or array index out of bounds",
       "Illegal array index in script \"peek\".\rtrying to access argument[20], but only 1 "
       "arguments have been supplied."},
      {0, "peek(1)", "before\nread 0\n", ""},  // slots not supplied hold 0
      {0, "peek(20)", "before\nerror: Unknown variable argument or array index out of bounds", ""},
      {1, "peek(20)", "before\nread 0\n", ""},  // uninitialised variables read 0
      {3, "peek(20)", "before\nread 0\n",
       "Illegal array index in script \"peek\".\rtrying to access argument[20], but only 1 "
       "arguments have been supplied."},
      {0, "poke(1)", "error: Cannot assign to the variable", ""},
  };
  for (const Case& c : cases) {
    Game().settings.code_flags = c.code_flags;
    Error_State() = RErrorReportState();
    codetest::Output().clear();
    EXPECT_EQ(Run(c.program), c.output) << c.program << " flags " << c.code_flags;
    std::string reported = Error_State().error_last;
    if (*c.reported == 0) {
      EXPECT_EQ(reported, "") << c.program;
    } else {
      EXPECT_NE(reported.find(c.reported), std::string::npos) << reported;
    }
  }
  Game().settings.code_flags = 0;
}

class CodeErrorTest : public CodeTest {
 protected:
  void SetUp() override {
    CodeTest::SetUp();
    aborts = 0;
    Code_AbortHook = [] { ++aborts; };
    old_dir = std::filesystem::current_path();
    dir = std::filesystem::path(::testing::TempDir()) / "vexlo_code_error";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::filesystem::remove(dir / "game_errors.log");
  }
  void TearDown() override {
    Code_AbortHook = nullptr;
    std::filesystem::current_path(old_dir);
    CodeTest::TearDown();
  }
  std::string Log() {
    std::ifstream file(dir / "game_errors.log", std::ios::binary);
    std::stringstream s;
    s << file.rdbuf();
    return s.str();
  }
  static int aborts;
  std::filesystem::path old_dir, dir;
};
int CodeErrorTest::aborts = 0;

TEST_F(CodeErrorTest, CodeErrorSilentReportOnlyRecords) {
  Error_Show_Action("first", false);
  EXPECT_TRUE(Error_State().error_occurred);
  const std::string& text = Error_State().error_last;
  EXPECT_EQ(text.rfind("ERROR in\r\naction number 1\r\nof ", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 10), ":\r\n\r\nfirst") << text;
  EXPECT_EQ(aborts, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "game_errors.log"));
}

TEST_F(CodeErrorTest, CodeErrorAbortOnErrors) {
  Game().settings.abort_on_errors = true;
  Error_Show("one", false);
  Error_Show("two", false);
  EXPECT_EQ(aborts, 1);
  EXPECT_EQ(Error_State().error_last, "one");
}

TEST_F(CodeErrorTest, CodeErrorLogTruncatesOnceThenAppends) {
  { std::ofstream old(dir / "game_errors.log"); old << "stale"; }
  Game().settings.log_errors = true;
  Error_Show("a\r\nb", false);
  Error_Show("c", false);
  EXPECT_EQ(Log(), "a\nb\n\n\nc\n\n\n");
}

TEST_F(CodeErrorTest, CodeErrorFatalPrefixAndWindowChoice) {
  bool offered_ignore = false;
  static bool* offered = &offered_ignore;
  Game().settings.show_errors = true;
  Code_ErrorWindowHook = [](const std::string&, bool fatal) {
    *offered = !fatal;
    return false;  // closed without Ignore
  };
  Error_Show_Action("boom", false);
  Code_ErrorWindowHook = nullptr;
  EXPECT_TRUE(offered_ignore);
  EXPECT_EQ(aborts, 1);
  EXPECT_TRUE(Error_State().aborting);
  Error_Show_Action("later", true);
  EXPECT_EQ(Error_State().error_last.find("later"), std::string::npos);
}

}  // namespace

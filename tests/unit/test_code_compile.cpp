// Scanner, resolver, parser and post-processing: tokens, compile errors with
// their positions, the error text layout and constant folding.
#include <gtest/gtest.h>

#include "code/code_phase.h"
#include "code_test_support.h"

using codetest::CodeTest;
using codetest::W;

namespace {

class CodeCompileTest : public CodeTest {
 protected:
  // The scanned tokens as "symbol:text" joined by blanks.
  std::string Tokens(const std::string& text) {
    CCode code(W(text), false);
    RTokenList1 tokens;
    if (!Code_Scan(code, tokens)) return "error: " + CodeErrorState().message;
    std::string out;
    for (const RToken1& t : tokens) {
      if (!out.empty()) out += ' ';
      out += std::to_string(t.symbol) + ":" + ToUtf8(t.str) + "@" + std::to_string(t.position);
    }
    return out;
  }
};

TEST_F(CodeCompileTest, CodeLexTokens) {
  struct Case {
    const char* text;
    const char* tokens;
  } cases[] = {
      {"", "-2:@4"},
      {"  // only a comment", "-2:@24"},
      {"a//b\nc", "0:a@1 0:c@6 -2:@10"},
      {"$FF $ $1.5", "1:$FF@1 1:$@5 1:$1@7 1:.5@9 -2:@14"},
      {".5 5. 1.2.3", "1:.5@1 1:5.@4 1:1.2.3@7 -2:@15"},
      {"<> != := =", "207:<>@1 207:!=@4 101::=@7 101:=@10 -2:@14"},
      {"Begin begin end { }", "0:Begin@1 11:begin@7 12:end@13 11:{@17 12:}@19 -2:@23"},
      {"and or not xor div mod", "201:and@1 202:or@5 203:not@8 216:xor@12 214:div@16 215:mod@20 -2:@26"},
      {"a<<b>>c", "0:a@1 221:<<@2 0:b@4 222:>>@5 0:c@7 -2:@11"},
      {"/*/ u", "0:u@5 -2:@9"},
      {"u /* never closed", "0:u@1 -2:@21"},
      {"'it\"s' \"a'b\"", "2:it\"s@1 2:a'b@8 -2:@16"},
      {"%", "error: Unexpected symbol."},
      {"a ? b", "error: Unexpected symbol."},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST_F(CodeCompileTest, CodeLexNumberValues) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"$FF", 255}, {"$", 0}, {"$ff", 255}, {"1.2.3", 1.23}, {"1..5", 1.5}, {"5.", 5},
      {".5", 0.5},  {"0.1", 0.1}, {"123456", 123456},
  };
  for (const Case& c : cases) EXPECT_EQ(Code_NumberValue(W(c.text)), c.value) << c.text;
}

TEST_F(CodeCompileTest, CodeLexUnterminatedStringKeepsTheBlanks) {
  EXPECT_EQ(Eval("'abc"), "\"abc   \"");
}

TEST_F(CodeCompileTest, CodeLexCallAfterLineBreak) {
  EXPECT_EQ(Run("trace\r\n  (1)"), "1\n");
}

TEST_F(CodeCompileTest, CodeCompileErrors) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"{ a = 1 } b = 2", "Program ends before end of the code. @1:11"},
      {"a = ;", "Unexpected symbol in expression. @1:5"},
      {"u = 1\r\ny = ;", "Unexpected symbol in expression. @2:6"},
      {"u = 1\ny = ;", "Unexpected symbol in expression. @2:5"},
      {"{ u = 1", "Symbol } expected. @1:7"},
      {"if u", "Unexpected end of code reached. @1:4"},
      {"switch (1) u = 1", "Symbol { expected. @1:12"},
      {"switch (1) { case 1: u = 1", "Symbol } expected. @1:26"},
      {"for i = 0", "Symbol ( expected. @1:5"},
      {"for (i = 0; i < 1; i += 1 u = 1", "Symbol ) expected. @1:27"},
      {"u = abs(1", "Symbol ) expected. @1:9"},
      {"u = abs(1 2)", "Symbol , or ) expected. @1:11"},
      {"u = (1 + 2", "Symbol ) expected. @1:10"},
      {"u = a[1", "Symbol ] expected. @1:7"},
      {"u = a[1 2]", "Symbol , or ] expected. @1:9"},
      {"u = a[1, 2, 3]", "Only 1- and 2-dimensional arrays are supported. @1:13"},
      {"case 1 u = 2", "Symbol : expected. @1:8"},
      {"default u = 2", "Symbol : expected. @1:9"},
      {"do u = 1", "Keyword until expected. @1:8"},
      {"5 = 3", "Variable name expected. @1:3"},
      {"u = a.;", "Variable name expected. @1:7"},
      {"u", "Assignment operator expected. @1:1"},
      {"u k", "Assignment operator expected. @1:3"},
      {"var u speed", "Cannot redeclare a builtin variable. @1:7"},
      {"u = 'a'.k", "Left hand side must be a real value. @1:5"},
      {"u = 1 / 0", "Division by 0. @1:9"},
      {"u = 1 mod 0", "Modulo by 0. @1:11"},
      {"u = 'a' + 1", "Wrong type of arguments to +. @1:11"},
      {"u = -'a'", "Wrong type of arguments to unary operator. @1:6"},
      {"u = unknown_thing(1)", "Unknown function or script: unknown_thing @1:5"},
      {"u = abs(1, 2)", "Wrong number of arguments to function or script. @1:13"},
      {"u = max(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17)",
       "Wrong number of arguments to function or script. @1:50"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompileError(c.text), c.error) << c.text;
}

TEST_F(CodeCompileTest, CodeCompileAccepts) {
  const char* cases[] = {
      "",
      "   /* nothing */ ",
      "a = 1 b = 2",
      "a = 1;;; b = 2;",
      "var a b, c; a = 1",
      "if a then b = 1 else b = 2",
      "if (a) b = 1; else b = 2;",
      "for (i = 0 i < 3 i += 1) u = i",
      "u = max(1, 2,)",
      "(u) = 1",
      "u = a[]",
      "u = a[1,]",
      "; u = 1",
      "case 1: default:",
      "var;",
      "begin u := 1 end",
  };
  for (const char* text : cases) EXPECT_EQ(CompileError(text), "ok") << text;
}

TEST_F(CodeCompileTest, CodeCompileErrorText) {
  RCodeCompileError error;
  EXPECT_EQ(Code_CompileText(W("a = ;"), CODE_PROGRAM, &error), nullptr);
  EXPECT_EQ(error.text,
            "Error in code at line 1:\r   a = ;\r      ^\rat position 5: Unexpected symbol in expression.");
  EXPECT_EQ(Code_CompileText(W("u = 1\r\ny = ;"), CODE_PROGRAM, &error), nullptr);
  EXPECT_EQ(error.text,
            "Error in code at line 2:\r   \ny = ;\r       ^\rat position 6: Unexpected symbol in expression.");
  // Bare line feeds end the line shown, as they end lines for the counter.
  EXPECT_EQ(Code_CompileText(W("u = 1\ny = ;\nz = 2"), CODE_PROGRAM, &error), nullptr);
  EXPECT_EQ(error.text,
            "Error in code at line 2:\r   y = ;\r      ^\rat position 5: Unexpected symbol in expression.");
  EXPECT_EQ(Code_CompileText(W("1 +"), CODE_EXPRESSION, &error), nullptr);
  EXPECT_EQ(error.text, "Error in expression:1 +\r position 3: Unexpected symbol in expression.");
}

TEST_F(CodeCompileTest, CodeCompileExpressions) {
  EXPECT_EQ(Eval(""), "0");
  EXPECT_EQ(Eval("3 4"), "3");
  EXPECT_EQ(Eval("1 + 2 * 3"), "7");
  EXPECT_EQ(Eval("1 || 0 && 0"), "0");  // (1 || 0) && 0
  EXPECT_EQ(Eval("6 & 3 == 2"), "1");   // (6 & 3) == 2
  EXPECT_EQ(Eval("3 < 2 < 1"), "1");    // 0 < 1
  EXPECT_EQ(Eval("-2 * 3"), "-6");
  EXPECT_EQ(Eval("1 = 1"), "1");
  EXPECT_EQ(Eval("- -2"), "2");
}

TEST_F(CodeCompileTest, CodeCompileFoldsConstants) {
  CCode code(W("1 + 2 * 3"), true);
  ASSERT_TRUE(code.Compile());
  EXPECT_EQ(code.i_kind, CODE_CONSTANT);
  EXPECT_EQ(code.i_value.val, 7);
  CCode program(W("u = (2 - 2) * k"), false);
  ASSERT_TRUE(program.Compile());
  const RToken& product = program.i_token.items[0].items[1];
  EXPECT_EQ(product.kind, NODE_BINARY);
  EXPECT_EQ(product.items[0].kind, NODE_CONSTANT);
  EXPECT_EQ(product.items[1].kind, NODE_SIMPLE_VARIABLE);
}

TEST_F(CodeCompileTest, CodeCompileMarksLocalsAfterTheDeclaration) {
  CCode code(W("u = 1; { var u; } u = 2; other.u = 3"), false);
  ASSERT_TRUE(code.Compile());
  const auto& items = code.i_token.items;
  EXPECT_EQ(items[0].items[0].ind2, DESIGNATOR_PLAIN);
  EXPECT_EQ(items[2].items[0].ind2, DESIGNATOR_LOCAL);
  EXPECT_EQ(items[3].items[0].ind2, DESIGNATOR_OTHER);
}

TEST_F(CodeCompileTest, CodeCompileRecordsArgumentUse) {
  CCode a(W("u = argument2 + argument0"), false);
  ASSERT_TRUE(a.Compile());
  EXPECT_EQ(a.i_Args, 3);
  EXPECT_FALSE(a.i_ArgArray);
  CCode b(W("u = argument[1]"), false);
  ASSERT_TRUE(b.Compile());
  EXPECT_EQ(b.i_Args, 0);
  EXPECT_TRUE(b.i_ArgArray);
}

TEST_F(CodeCompileTest, CodeCompileTwiceIsAnError) {
  CCode code(W("u = 1"), false);
  ASSERT_TRUE(code.Compile());
  EXPECT_FALSE(code.Compile());
  EXPECT_EQ(CodeErrorState().message, "Internal Error: Recompiling compiled code.");
}

TEST_F(CodeCompileTest, CodeCompileDeepNestingFailsCleanly) {
  std::string deep = "u = " + std::string(5000, '(') + "1" + std::string(5000, ')');
  EXPECT_EQ(CompileError(deep).rfind("Code nested too deeply.", 0), 0u);
  std::string chain = "u = 1";
  for (int i = 0; i < 5000; ++i) chain += " + 1";
  EXPECT_EQ(CompileError(chain).rfind("Code nested too deeply.", 0), 0u);
  std::string ifs;
  for (int i = 0; i < 5000; ++i) ifs += "if 1 ";
  EXPECT_EQ(CompileError(ifs + "u = 1").rfind("Code nested too deeply.", 0), 0u);
  std::string fine = "u = 1";
  for (int i = 0; i < 300; ++i) fine += " + 1";
  EXPECT_EQ(Eval(fine.substr(4)), "301");
}

TEST_F(CodeCompileTest, CodeCompileResolvesResourcesAndScriptsFirst) {
  AddScript("abs", "return 42");
  EXPECT_EQ(Eval("abs(-1)"), "42");
  EXPECT_EQ(Eval("abs"), "0");  // a script name elsewhere is its index
}

TEST_F(CodeCompileTest, CodeCheckTextGivesLineAndColumn) {
  int line = 0, col = 0;
  std::string message;
  EXPECT_TRUE(Code_CheckText(W("u = 1"), CODE_PROGRAM, line, col, message));
  EXPECT_FALSE(Code_CheckText(W("u = 1\ny = )"), CODE_PROGRAM, line, col, message));
  EXPECT_EQ(line, 2);
  EXPECT_EQ(col, 5);
  EXPECT_EQ(message, "Unexpected symbol in expression.");
}

}  // namespace

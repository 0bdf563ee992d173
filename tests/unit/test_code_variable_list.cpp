// test_code_variable_list.cpp: variable lookups through a syntax-tree node's
// slot cache: one node read against lists of different layouts, and lists
// loaded from a stream that names one variable twice.
#include <gtest/gtest.h>

#include "code/code_exec.h"
#include "code/variable_class.h"
#include "code_test_support.h"
#include "common/support_stream.h"

using codetest::CodeTest;
using codetest::W;

namespace {

class CodeVariableListTest : public CodeTest {
 protected:
  std::string RunFor(const CCode& code, CInstance* inst) {
    codetest::Output().clear();
    RValue result;
    if (!Code_Run(code, inst, inst, result)) return "error: " + CodeErrorState().message;
    return codetest::Output();
  }
};

TEST_F(CodeVariableListTest, CodeVarListOneNodeManyLayouts) {
  // self holds a before b, other b before a, a third instance only b: the
  // same nodes must find each instance's own entry or report it missing.
  ASSERT_EQ(Run("a = 1; b = 2; with (other) { b = 20; a = 10 }"), "");
  CInstance* third = Instance_Add(100003, 1);
  third->i_vars.SetVar(Variable_Index("b"), 0, RValue::Real(30));
  RCodeCompileError error;
  std::unique_ptr<CCode> code = Code_CompileText(W("trace(a, b); a += 1; b[2] = a"), CODE_PROGRAM, &error);
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(RunFor(*code, self), "1 2\n");
  EXPECT_EQ(RunFor(*code, other), "10 20\n");
  EXPECT_EQ(RunFor(*code, self), "2 2\n");
  EXPECT_EQ(RunFor(*code, third), "error: Unknown variable a");
  EXPECT_EQ(RunFor(*code, other), "11 20\n");
  codetest::Output().clear();
  EXPECT_EQ(Run("trace(b[2], other.b[2], a, other.a)"), "3 12 3 12\n");
}

TEST(CodeVariableList, CodeVarListDuplicateFromStreamReadsTheLast) {
  constexpr int32_t kInd = 100005;
  CVariableList written;
  for (double v : {1.0, 2.0}) {
    RVariable var;
    var.ind = kInd;
    var.simplevalue = RValue::Real(v);
    written.v_vars.push_back(var);
  }
  CStream stream;
  written.SaveToStream(stream);
  stream.Seek(0);
  CVariableList list;
  list.LoadFromStream(stream);
  ASSERT_EQ(list.v_numb(), 2);
  int32_t hint = 0;  // points at the first, shadowed entry
  ASSERT_NE(list.SlotHinted(kInd, 0, hint), nullptr);
  EXPECT_EQ(list.SlotHinted(kInd, 0, hint)->val, 2.0);
  hint = 0;
  list.RefHinted(kInd, 0, hint) = RValue::Real(5);
  EXPECT_EQ(list.Slot(kInd, 0)->val, 5.0);
  EXPECT_EQ(list.v_vars[0].simplevalue.val, 1.0);
}

// Whole operands take the interpreter's integer path, others the general
// one; both must agree with the truncating remainder.
TEST_F(CodeVariableListTest, CodeVarListModOfWholeAndFractionalOperands) {
  const std::pair<const char*, const char*> cases[] = {
      {"-7 mod 3", "-1"},  {"7 mod -3", "1"},   {"-6 mod 3", "0"},
      {"9007199254740991 mod 2", "1"},        {"9007199254740991 mod 7", "3"},
      {"9007199254740992 mod 7", "4"},        {"5.5 mod 2", "1.50"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Eval(text), expected) << text;
}

}  // namespace

// The ds_* builtins from game code: id tables and their reuse, the error
// for missing ids, argument counts, results returned to game code and the
// reading of texts through the builtins.
#include <gtest/gtest.h>

#include "code_test_support.h"
#include "datastructures/datastructures_builtins.h"

namespace {

constexpr const char* kNoStructure = "Data structure with index does not exist.";

class DsFunctions : public codetest::CodeTest {
 protected:
  void SetUp() override {
    CodeTest::SetUp();
    Datastructures_Reset();
  }
  void TearDown() override {
    Datastructures_Reset();
    CodeTest::TearDown();
  }
  // Runs a program; its trace output alone.
  std::string Run(const std::string& text) {
    codetest::Output().clear();
    return CodeTest::Run(text);
  }
  bool Reported(const std::string& text) {
    return Error_State().error_last.find(text) != std::string::npos;
  }
};

TEST_F(DsFunctions, EveryFunctionHasItsArgumentCount) {
  struct Case {
    const char* name;
    int argc;
  } cases[] = {
      {"ds_set_precision", 1}, {"ds_stack_create", 0}, {"ds_stack_copy", 2},
      {"ds_queue_dequeue", 1}, {"ds_list_insert", 3}, {"ds_list_sort", 2},
      {"ds_map_add", 3}, {"ds_map_find_first", 1}, {"ds_priority_change_priority", 3},
      {"ds_priority_delete_max", 1}, {"ds_grid_create", 2}, {"ds_grid_resize", 3},
      {"ds_grid_set", 4}, {"ds_grid_set_region", 6}, {"ds_grid_add_disk", 5},
      {"ds_grid_multiply_grid_region", 8}, {"ds_grid_get", 3}, {"ds_grid_get_mean", 5},
      {"ds_grid_get_disk_min", 4}, {"ds_grid_value_y", 6}, {"ds_grid_value_disk_x", 5},
      {"ds_grid_read", 2},
  };
  for (const Case& c : cases) {
    int id = Function_Find(c.name);
    ASSERT_GE(id, 0) << c.name;
    EXPECT_EQ(Function_Get(id).argc, c.argc) << c.name;
  }
  int count = 0;
  for (int i = 0; i < Function_Count(); ++i) count += Function_Get(i).name.rfind("ds_", 0) == 0;
  EXPECT_EQ(count, 110);
  EXPECT_EQ(CompileError("ds_list_add(0)"), "Wrong number of arguments to function or script. @1:14");
}

TEST_F(DsFunctions, IdsAreReusedAndIndependentPerKind) {
  EXPECT_EQ(Run("trace(ds_list_create(), ds_list_create(), ds_stack_create());"
                "ds_list_destroy(0); trace(ds_list_create(), ds_list_create());"),
            "0 1 0\n0 2\n");
}

TEST_F(DsFunctions, MissingIdsReportAndReturnZero) {
  const char* calls[] = {
      "ds_stack_pop(0)", "ds_queue_head(3)", "ds_list_find_value(-1, 0)", "ds_map_find_first(0.6)",
      "ds_priority_find_max(0)", "ds_grid_get(0, 0, 0)", "ds_list_size(0)", "ds_map_write(5)",
  };
  for (const char* call : calls) {
    Error_State() = RErrorReportState();
    EXPECT_EQ(Eval(call), "0") << call;
    EXPECT_TRUE(Reported(kNoStructure)) << call;
  }
  // A destroyed id is missing too; rounding finds 0.4 as id 0.
  Run("global.l = ds_list_create(); ds_list_add(0.4, 'x'); ds_list_destroy(0);");
  Error_State() = RErrorReportState();
  EXPECT_EQ(Eval("ds_list_size(0)"), "0");
  EXPECT_TRUE(Reported(kNoStructure));
  Error_State() = RErrorReportState();
  Run("ds_list_destroy(0);");
  EXPECT_TRUE(Reported(kNoStructure));
  // Copy needs both ids; the target keeps its contents otherwise.
  Error_State() = RErrorReportState();
  EXPECT_EQ(Run("m = ds_map_create(); ds_map_add(m, 1, 2); ds_map_copy(m, 7); trace(ds_map_size(m));"), "1\n");
  EXPECT_TRUE(Reported(kNoStructure));
}

TEST_F(DsFunctions, ValuesRoundTripThroughGameCode) {
  EXPECT_EQ(Run("s = ds_stack_create(); ds_stack_push(s, 'a'); ds_stack_push(s, 2);"
                "trace(ds_stack_size(s), ds_stack_top(s), ds_stack_pop(s), ds_stack_pop(s), ds_stack_pop(s), ds_stack_empty(s));"),
            "2 2 2 a 0 1\n");
  EXPECT_EQ(Run("q = ds_queue_create(); ds_queue_enqueue(q, 1); ds_queue_enqueue(q, 'b');"
                "trace(ds_queue_head(q), ds_queue_tail(q), ds_queue_dequeue(q), ds_queue_size(q));"),
            "1 b 1 1\n");
  EXPECT_EQ(Run("l = ds_list_create(); ds_list_add(l, 3); ds_list_add(l, 1); ds_list_insert(l, 1.4, 'z');"
                "ds_list_sort(l, 0.5); trace(ds_list_find_value(l, 0), ds_list_find_value(l, 2), ds_list_find_index(l, 'z'));"
                "ds_list_sort(l, 0.4); trace(ds_list_find_value(l, 0));"),
            "1 z 2\nz\n");
  EXPECT_EQ(Run("m = ds_map_create(); ds_map_add(m, 'k', 5); ds_map_add(m, 2, 'two');"
                "trace(ds_map_find_value(m, 'k'), ds_map_exists(m, 'x'), ds_map_find_first(m), ds_map_find_next(m, 2), ds_map_find_last(m));"),
            "5 0 2 k k\n");
  EXPECT_EQ(Run("p = ds_priority_create(); ds_priority_add(p, 'lo', 1); ds_priority_add(p, 'hi', 9);"
                "ds_priority_change_priority(p, 'lo', 10);"
                "trace(ds_priority_find_max(p), ds_priority_find_priority(p, 'hi'), ds_priority_delete_min(p), ds_priority_size(p));"),
            "lo 9 hi 1\n");
  EXPECT_EQ(Run("g = ds_grid_create(3, 3); ds_grid_set_region(g, 0, 0, 2, 2, 1); ds_grid_add_disk(g, 1, 1, 1, 10);"
                "ds_grid_multiply(g, 1, 1, 3);"
                "trace(ds_grid_get_sum(g, 0, 0, 2, 2), ds_grid_get_max(g, 0, 0, 2, 2), ds_grid_value_x(g, 0, 0, 2, 2, 33),"
                "ds_grid_value_disk_exists(g, 0, 0, 0.5, 11), ds_grid_width(g));"),
            "81 33 1 0 3\n");
}

TEST_F(DsFunctions, TextsThroughTheBuiltins) {
  EXPECT_EQ(Run("l = ds_list_create(); trace(ds_list_write(l));"), "2D01000000000000\n");
  EXPECT_EQ(Run("s = ds_stack_create(); ds_stack_push(s, 1); trace(ds_stack_write(s));"),
            "650000000100000000000000000000000000F03F00000000\n");
  // Reading a stack's text into a map: silently nothing.
  Error_State() = RErrorReportState();
  EXPECT_EQ(Run("m = ds_map_create(); ds_map_add(m, 1, 1); ds_map_read(m, ds_stack_write(s)); trace(ds_map_size(m));"),
            "1\n");
  EXPECT_FALSE(Error_State().error_occurred);
  // A malformed text is reported and leaves the list as it was; the code goes on.
  EXPECT_EQ(Run("ds_list_add(l, 5); ds_list_read(l, '2D010000FFFFFF7F'); trace(ds_list_size(l));"
                "ds_list_read(l, '2D01000001000000GG'); trace(ds_list_find_value(l, 0));"),
            "1\n5\n");
  EXPECT_TRUE(Error_State().error_occurred);
  // A grid text copies a grid.
  EXPECT_EQ(Run("g = ds_grid_create(2, 2); ds_grid_set(g, 1, 0, 'c'); h = ds_grid_create(0, 0);"
                "ds_grid_read(h, ds_grid_write(g)); trace(ds_grid_width(h), ds_grid_get(h, 1, 0));"),
            "2 c\n");
}

TEST_F(DsFunctions, GridSizesFromGameCode) {
  Error_State() = RErrorReportState();
  EXPECT_EQ(Eval("ds_grid_create(100000, 100000)"), "-1");
  EXPECT_TRUE(Error_State().error_occurred);
  EXPECT_EQ(Run("g = ds_grid_create(-2, 3); trace(g, ds_grid_width(g), ds_grid_height(g));"), "0 0 3\n");
}

TEST_F(DsFunctions, PrecisionFromGameCode) {
  EXPECT_EQ(Run("l = ds_list_create(); ds_list_add(l, 1); trace(ds_list_find_index(l, 1.000000005));"
                "ds_set_precision(0); trace(ds_list_find_index(l, 1.000000005));"
                "ds_set_precision(-0.5); trace(ds_list_find_index(l, 1.4));"),
            "0\n-1\n0\n");
}

}  // namespace

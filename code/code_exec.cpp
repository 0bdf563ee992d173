// code_exec.cpp: the tree-walking interpreter. Statements return a status
// code; expressions evaluate into a caller-provided value so that no value is
// allocated per operation. Variables are read and written by designator
// (local, plain, global, self, other, all, object, instance id) and array
// position; calls go to builtin handlers, scripts or extension functions.
// Nodes marked after compilation (Code_PrepareTree) take direct paths: reals
// read straight from leaves, side-effect-free ("pure") expressions computed
// in doubles, simple and array assignments stored without temporaries. A
// direct path that meets anything unusual (a string, a missing variable, an
// operator error) gives way to the generic one, which repeats only reads.
#include "code/code_exec.h"

#include <sys/resource.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_errortext.h"
#include "code/code_game.h"
#include "code/code_operator.h"
#include "code/code_script.h"
#include "code/code_function.h"
#include "code/code_variable.h"
#include "world/instance_class.h"
#include "world/instance_list.h"

const char* const kRecursionMessage =
    "Code nested too deeply: more than 4000 script calls or code runs inside each other.";

namespace {

constexpr int kArgumentSlots = 16;
constexpr int kFramesPerChunk = 64;

int g_depth = 0;
int64_t g_budget = -1;
uintptr_t g_stack_base = 0;  // frame address of the outermost run
uintptr_t g_stack_low = 0;   // the lowest address the runs may reach
uintptr_t g_stack_high = UINTPTR_MAX;  // the highest (for a stack that grows up)

// The stack the outermost run may use: three quarters of the stack limit,
// at most 48 MiB.
size_t StackBudget() {
  static size_t budget = [] {
    rlimit limit{};
    size_t bytes = 8u << 20;
    if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
      bytes = static_cast<size_t>(limit.rlim_cur);
    else if (getrlimit(RLIMIT_STACK, &limit) == 0)
      bytes = 64u << 20;
    return std::min<size_t>(bytes / 4 * 3, 48u << 20);
  }();
  return budget;
}

uintptr_t StackHere() { return reinterpret_cast<uintptr_t>(__builtin_frame_address(0)); }

// Either direction of growth is allowed for; outside a run the bounds are
// 0 and the maximum, so nothing is exhausted.
inline bool StackExhausted() {
  uintptr_t here = StackHere();
  return here < g_stack_low || here > g_stack_high;
}

// Frames of 16 argument values in chunks that never move.
class ValueStack {
 public:
  RValue* Push() {
    size_t chunk = top_ / kFramesPerChunk;
    if (chunk == chunks_.size())
      chunks_.push_back(std::make_unique<RValue[]>(kArgumentSlots * kFramesPerChunk));
    RValue* frame = chunks_[chunk].get() + (top_ % kFramesPerChunk) * kArgumentSlots;
    ++top_;
    return frame;
  }
  // Returns the frame with its first used values (the others were never
  // changed) back at the real 0.
  void Pop(RValue* frame, int used) {
    for (int i = 0; i < used; ++i) {
      frame[i].kind = VALUE_REAL;
      frame[i].val = 0.0;
      if (!frame[i].str.empty()) frame[i].str.clear();
    }
    --top_;
  }

 private:
  std::vector<std::unique_ptr<RValue[]>> chunks_;
  size_t top_ = 0;
};

ValueStack g_frames;  // constant-initialised: no guard on each call

inline void SetReal(RValue& v, double x) {
  v.kind = VALUE_REAL;
  v.val = x;
}

// Stores a real; a stale string in out is dropped, as in CopyValue.
inline void StoreReal(RValue& out, double x) {
  out.kind = VALUE_REAL;
  out.val = x;
  if (!out.str.empty()) out.str.clear();
}

// Copies a value; a real copies no string (a stale string in out is
// dropped, so no unused text travels on).
inline void CopyValue(RValue& out, const RValue& in) {
  out.kind = in.kind;
  out.val = in.val;
  if (in.kind == VALUE_STRING) out.str = in.str;
  else if (!out.str.empty()) out.str.clear();
}

inline int Fail(const RExecContext& ctx, int position, std::string_view message) {
  CodeError(*ctx.code, position, message);
  return STATUS_ERROR;
}

bool BudgetExhausted() {
  if (g_budget < 0) return false;
  if (g_budget == 0) return true;
  --g_budget;
  return false;
}

int64_t SaturatingRound(double x) {
  // Whole numbers (indices, designators) round to themselves.
  if (std::fabs(x) < 0x1p53) {
    int64_t whole = static_cast<int64_t>(x);
    if (static_cast<double>(whole) == x) return whole;
  }
  int64_t n;
  if (TryRound(x, n)) return n;
  return x < 0 ? INT64_MIN : INT64_MAX;
}

int AssignOperator(int symbol) {
  switch (symbol) {
    case 102: return 210;
    case 103: return 211;
    case 104: return 212;
    case 105: return 213;
    case 114: return 217;
    case 115: return 218;
    default: return 219;  // 116
  }
}

class Interpreter {
 public:
  explicit Interpreter(RExecContext& ctx) : ctx_(ctx) {}

  int Exec(const RToken& node);
  int Eval(const RToken& node, RValue& out);

 private:
  // Where a variable access goes: designator, index and array position.
  struct Target {
    int64_t designator;
    int32_t ind;
    int32_t position;
    int32_t* hint;  // the variable node's slot cache
  };

  CVariableList* LeafList(const RToken& node);
  const RValue* LeafValue(const RToken& node);
  bool LeafReal(const RToken& node, double& x);
  RValue& LeafRef(const RToken& node);
  int EvalBinary(const RToken& node, RValue& out);
  int ResolveTarget(const RToken& node, Target& target);
  int Index(const RToken& node, int64_t& out);
  bool Read(const Target& target, RValue& out);
  bool Store(const Target& target, RValue& value);
  RValue* UserSlot(const Target& target, bool create);
  int Missing(const RToken& node, const Target& target, int position, RValue& out);
  int ReadVariable(const RToken& node, RValue& out);
  int Call(const RToken& node, RValue& out);
  int Assign(const RToken& node);
  int Block(const RToken& node);
  // Exec with the common statements (assignments, blocks) called directly.
  int Statement(const RToken& node) {
    if (node.kind == NODE_ASSIGN) return Assign(node);
    if (node.kind == NODE_BLOCK) return Block(node);
    return Exec(node);
  }
  int Complete(const RToken& node, const Target& target, RValue& value);
  bool PureTarget(const RToken& node, Target& target);
  bool PureReal(const RToken& node, double& x);
  bool PureInner(const RToken& node, double& x);
  const RValue* ElementSlot(const RToken& node);
  bool PureIndex(const RToken& node, int64_t& out);
  int If(const RToken& node);
  int While(const RToken& node);
  int Do(const RToken& node);
  int For(const RToken& node);
  int Repeat(const RToken& node);
  int With(const RToken& node);
  int WithBody(const RToken& body, CInstance* inst);
  int Switch(const RToken& node);
  int Condition(const RToken& node, const char* message, bool& truth);

  RExecContext& ctx_;
};

// Loop bodies: 0 and continue go on, break ends the loop with 0, error and
// exit end it and pass on. Returns true when the loop must stop with *status.
inline bool LoopStops(int body, int& status) {
  if (body == STATUS_OK || body == STATUS_CONTINUE) return false;
  status = body == STATUS_BREAK ? STATUS_OK : body;
  return true;
}

// The list that holds a user variable with a scope, or null (no locals yet,
// or no scope).
[[gnu::always_inline]] inline CVariableList* Interpreter::LeafList(const RToken& node) {
  switch (node.scope) {
    case SCOPE_LOCAL: return ctx_.locals;
    case SCOPE_PLAIN:
      return Variable_IsDeclaredGlobal(node.ind) ? &Variable_Globals() : &ctx_.self->i_vars;
    case SCOPE_SELF: return &ctx_.self->i_vars;
    case SCOPE_OTHER: return &ctx_.other->i_vars;
    case SCOPE_GLOBAL: return &Variable_Globals();
    default: return nullptr;
  }
}

// The stored value of a leaf variable, or null when the node is no such
// leaf or the variable is missing (the generic path then decides).
inline const RValue* Interpreter::LeafValue(const RToken& node) {
  if (node.leaf == LEAF_ARGUMENT) return &g_Arguments.slot[node.argument];
  if (node.leaf != LEAF_VARIABLE) return nullptr;
  CVariableList* list = LeafList(node);
  if (list == nullptr) return nullptr;
  RVariable* var = list->FindHinted(node.ind, node.slot_hint);
  return var == nullptr ? nullptr : &var->simplevalue;
}

// The real value of a leaf that reads without side effects or errors; false
// sends the caller to the generic path (which evaluates the node itself).
[[gnu::always_inline]] inline bool Interpreter::LeafReal(const RToken& node, double& x) {
  const RValue* value;
  switch (node.leaf) {
    case LEAF_REAL_CONSTANT: x = node.value.val; return true;
    case LEAF_VARIABLE: {
      CVariableList* list = LeafList(node);
      if (list == nullptr) return false;
      RVariable* var = list->FindHinted(node.ind, node.slot_hint);
      if (var == nullptr) return false;
      value = &var->simplevalue;
      break;
    }
    case LEAF_ARGUMENT: value = &g_Arguments.slot[node.argument]; break;
    default: return false;
  }
  if (value->kind != VALUE_REAL) return false;
  x = value->val;
  return true;
}

// The slot of a leaf user variable, created (with the locals list) when
// missing.
inline RValue& Interpreter::LeafRef(const RToken& node) {
  if (node.scope == SCOPE_LOCAL && ctx_.locals == nullptr) ctx_.locals = new CVariableList();
  return LeafList(node)->RefHinted(node.ind, 0, node.slot_hint);
}

// A pure index: its real, rounded and inside 0 .. 31999; false otherwise.
[[gnu::always_inline]] inline bool Interpreter::PureIndex(const RToken& node, int64_t& out) {
  double x;
  if (!PureReal(node, x)) return false;
  out = SaturatingRound(x);
  return out >= 0 && out < kArrayRowSize;
}

// The stored element of a pure array access, or null (the generic path
// then evaluates it and reports what is wrong).
[[gnu::noinline]] const RValue* Interpreter::ElementSlot(const RToken& node) {
  int64_t i, j = 0;
  if (!PureIndex(node.items[1], i)) return nullptr;
  if (node.items.size() == 3 && !PureIndex(node.items[2], j)) return nullptr;
  int32_t position = static_cast<int32_t>(node.items.size() == 3 ? i * kArrayRowSize + j : i);
  CVariableList* list = LeafList(node);
  if (list == nullptr) return nullptr;
  return list->SlotHinted(node.ind, position, node.slot_hint);
}

// The value of a pure node when every part is a real and every operator
// takes its fast path; false sends the caller to the generic evaluation,
// which repeats the reads (they have no effect) and reports any error.
[[gnu::always_inline]] inline bool Interpreter::PureReal(const RToken& node, double& x) {
  if (node.leaf != LEAF_NONE) return LeafReal(node, x);
  return PureInner(node, x);
}

// PureReal of an operator or array element: leaves are read in place, so
// only inner nodes recurse.
[[gnu::noinline]] bool Interpreter::PureInner(const RToken& node, double& x) {
  switch (node.kind) {
    case NODE_BINARY: {
      double r;
      return PureReal(node.items[0], x) && PureReal(node.items[1], r) &&
             Code_BinaryRealFast(node.ind, x, r);
    }
    case NODE_UNARY:
      if (!PureReal(node.items[0], x)) return false;
      switch (node.ind) {
        case 203: x = x < 0.5 ? 1.0 : 0.0; return true;
        case 210: return true;
        case 211: x = -x; return true;
        default: return false;
      }
    case NODE_VARIABLE: {
      const RValue* slot = ElementSlot(node);
      if (slot == nullptr || slot->kind != VALUE_REAL) return false;
      x = slot->val;
      return true;
    }
    default: return LeafReal(node, x);
  }
}

int Interpreter::Condition(const RToken& node, const char* message, bool& truth) {
  double x;
  if (node.pure && PureReal(node, x)) {
    truth = IsTrue(x);
    return STATUS_OK;
  }
  RValue value;
  int st = Eval(node, value);
  if (st != STATUS_OK) return st;
  if (value.kind != VALUE_REAL) return Fail(ctx_, node.position, message);
  truth = IsTrue(value.val);
  return STATUS_OK;
}

int Interpreter::Index(const RToken& node, int64_t& out) {
  double x;
  if (node.pure && PureReal(node, x)) {
    out = SaturatingRound(x);
  } else {
    RValue value;
    int st = Eval(node, value);
    if (st != STATUS_OK) return st;
    if (value.kind != VALUE_REAL) return Fail(ctx_, node.position, "Wrong type of array index");
    out = SaturatingRound(value.val);
  }
  if (out < 0) return Fail(ctx_, node.position, "Negative array index");
  if (out >= kArrayRowSize) return Fail(ctx_, node.position, "Array index >= 32000");
  return STATUS_OK;
}

int Interpreter::ResolveTarget(const RToken& node, Target& target) {
  target.ind = node.ind;
  target.position = 0;
  target.hint = &node.slot_hint;
  if (node.kind == NODE_SIMPLE_VARIABLE) {
    target.designator = node.ind2;
    return STATUS_OK;
  }
  const RToken& designator = node.items[0];
  if (designator.kind == NODE_CONSTANT && designator.value.kind == VALUE_REAL) {
    target.designator = SaturatingRound(designator.value.val);
  } else {
    RValue value;
    int st = Eval(designator, value);
    if (st != STATUS_OK) return st;
    if (value.kind != VALUE_REAL) return Fail(ctx_, designator.position, "Wrong type of variable index");
    target.designator = SaturatingRound(value.val);
  }
  size_t count = node.items.size();
  if (count >= 2) {
    int64_t i, j = 0;
    int st = Index(node.items[1], i);
    if (st != STATUS_OK) return st;
    if (count == 3) {
      st = Index(node.items[2], j);
      if (st != STATUS_OK) return st;
      target.position = static_cast<int32_t>(i * kArrayRowSize + j);
    } else {
      target.position = static_cast<int32_t>(i);
    }
  }
  return STATUS_OK;
}

// The slot of a user variable in a list (locals, globals, self, other),
// or null when the target is not such a list or (create false) is missing.
RValue* Interpreter::UserSlot(const Target& target, bool create) {
  CVariableList* list;
  switch (target.designator) {
    case DESIGNATOR_LOCAL:
      if (ctx_.locals == nullptr) {
        if (!create) return nullptr;
        ctx_.locals = new CVariableList();
      }
      list = ctx_.locals;
      break;
    case DESIGNATOR_PLAIN:
      if (target.ind < kUserVariableBase) return nullptr;
      list = Variable_IsDeclaredGlobal(target.ind) ? &Variable_Globals() : &ctx_.self->i_vars;
      break;
    case DESIGNATOR_GLOBAL: list = &Variable_Globals(); break;
    case DESIGNATOR_SELF:
      if (target.ind < kUserVariableBase) return nullptr;
      list = &ctx_.self->i_vars;
      break;
    case DESIGNATOR_OTHER:
      if (target.ind < kUserVariableBase) return nullptr;
      list = &ctx_.other->i_vars;
      break;
    default: return nullptr;
  }
  if (create) return &list->RefHinted(target.ind, target.position, *target.hint);
  return list->SlotHinted(target.ind, target.position, *target.hint);
}

bool Interpreter::Read(const Target& target, RValue& out) {
  if (target.ind >= kUserVariableBase) {
    switch (target.designator) {
      case DESIGNATOR_PLAIN:
      case DESIGNATOR_SELF:
      case DESIGNATOR_OTHER: {
        // A user variable of a list: the node's slot cache finds it.
        RValue* slot = UserSlot(target, false);
        if (slot == nullptr) return false;
        CopyValue(out, *slot);
        return true;
      }
      default: break;
    }
  }
  switch (target.designator) {
    case DESIGNATOR_LOCAL:
    case DESIGNATOR_GLOBAL: {
      RValue* slot = UserSlot(target, false);
      if (slot == nullptr) return false;
      CopyValue(out, *slot);
      return true;
    }
    case DESIGNATOR_PLAIN:
      if (Variable_IsDeclaredGlobal(target.ind)) {
        const RValue* slot = Variable_Globals().Slot(target.ind, target.position);
        if (slot == nullptr) return false;
        out = *slot;
        return true;
      }
      return Variable_InstanceGet(ctx_.self, target.ind, target.position, out);
    case DESIGNATOR_NOONE: return false;
    case DESIGNATOR_SELF: return Variable_InstanceGet(ctx_.self, target.ind, target.position, out);
    case DESIGNATOR_OTHER: return Variable_InstanceGet(ctx_.other, target.ind, target.position, out);
    default: {
      CInstance* inst = Variable_DesignatedInstance(target.designator);
      return inst != nullptr && Variable_InstanceGet(inst, target.ind, target.position, out);
    }
  }
}

// Stores value (which may be moved from) into the target.
bool Interpreter::Store(const Target& target, RValue& value) {
  RValue* slot = UserSlot(target, true);
  if (slot != nullptr) {
    *slot = std::move(value);
    return true;
  }
  switch (target.designator) {
    case DESIGNATOR_LOCAL:
    case DESIGNATOR_GLOBAL: return true;  // handled above
    case DESIGNATOR_PLAIN:
    case DESIGNATOR_SELF: return Variable_InstanceSet(ctx_.self, target.ind, target.position, value);
    case DESIGNATOR_OTHER: return Variable_InstanceSet(ctx_.other, target.ind, target.position, value);
    case DESIGNATOR_NOONE: return false;
    default: return Variable_DesignatedSet(target.designator, target.ind, target.position, value);
  }
}

int Interpreter::Missing(const RToken& node, const Target& target, int position, RValue& out) {
  if (CodeGame_UninitialisedAsZero()) {
    out = RValue();
    return STATUS_OK;
  }
  std::string message = "Unknown variable " + Variable_Name(target.ind);
  if (target.position != 0) message += " or array index out of bounds";
  return Fail(ctx_, position, message);
}

[[gnu::noinline]] int Interpreter::ReadVariable(const RToken& node, RValue& out) {
  Target target;
  int st = ResolveTarget(node, target);
  if (st != STATUS_OK) return st;
  if (Read(target, out)) return STATUS_OK;
  return Missing(node, target, node.position, out);
}

[[gnu::noinline]] int Interpreter::Call(const RToken& node, RValue& out) {
  ArgumentFrame args;
  int n = node.itemnumb();
  for (int i = 0; i < n; ++i) {
    const RToken& argument = node.items[static_cast<size_t>(i)];
    double x;
    if (argument.pure && PureReal(argument, x)) {
      StoreReal(args[i], x);
      continue;
    }
    int st = Eval(argument, args[i]);
    if (st != STATUS_OK) return st;
  }
  if (node.ind < FUNCTION_SCRIPT_BASE) {
    SetReal(out, 0.0);
    if (!out.str.empty()) out.str.clear();
    if (node.routine == nullptr) return STATUS_OK;
    try {
      node.routine(out, ctx_.self, ctx_.other, n, args.values());
    } catch (const ArithmeticError& e) {
      // A handler should report its own faults; one that escapes is
      // reported here and the code goes on, as after any builtin error.
      Error_Show_Action(e.what(), false);
      out = RValue();
    }
    return STATUS_OK;
  }
  if (BudgetExhausted()) return Fail(ctx_, node.position, "Step budget exhausted.");
  if (g_depth >= kMaxRunDepth || StackExhausted()) return Fail(ctx_, node.position, kRecursionMessage);
  bool ok;
  if (node.ind < FUNCTION_EXTENSION_BASE) {
    args.Used(n);  // a script reads its arguments only
    ok = Code_CallScript(node.ind - FUNCTION_SCRIPT_BASE, ctx_.self, ctx_.other, out, true,
                         args.values(), n);
    if (!ok && !CodeErrorState().flag) Fail(ctx_, node.position, "Trying to execute non-existing script.");
  } else {
    ok = Code_ExtensionCallHook != nullptr &&
         Code_ExtensionCallHook(node.ind - FUNCTION_EXTENSION_BASE, ctx_.self, ctx_.other, n,
                                args.values(), out);
    if (!ok && !CodeErrorState().flag) Fail(ctx_, node.position, "Extension function call failed.");
  }
  return ok ? STATUS_OK : STATUS_ERROR;
}

[[gnu::noinline]] int Interpreter::Assign(const RToken& node) {
  const RToken& variable = node.items[0];
  const RToken& expression = node.items[1];
  Target target;
  RValue value;
  if (variable.leaf == LEAF_VARIABLE) {
    // A simple user variable: nothing to resolve first, so the value is
    // computed, then stored or combined straight in its slot.
    double x;
    bool compound = node.ind != 101;
    if (expression.pure && PureReal(expression, x)) {
      if (!compound) {
        StoreReal(LeafRef(variable), x);
        return STATUS_OK;
      }
      RValue* slot = const_cast<RValue*>(LeafValue(variable));
      if (slot != nullptr && slot->kind == VALUE_REAL &&
          Code_BinaryRealFast(AssignOperator(node.ind), slot->val, x))
        return STATUS_OK;
      StoreReal(value, x);
    } else {
      int st = Eval(expression, value);
      if (st != STATUS_OK) return st;
      if (!compound) {
        RValue& slot = LeafRef(variable);
        if (value.kind == VALUE_REAL) StoreReal(slot, value.val);
        else slot = std::move(value);
        return STATUS_OK;
      }
    }
    ResolveTarget(variable, target);  // cannot fail for a simple variable
    return Complete(node, target, value);
  }
  if (variable.pure && variable.kind == NODE_VARIABLE && PureTarget(variable, target)) {
    // An array element with pure indices: resolved without temporaries.
    double x;
    if (node.ind == 101 && expression.pure && PureReal(expression, x)) {
      StoreReal(*UserSlot(target, true), x);
      return STATUS_OK;
    }
    int st = Eval(expression, value);
    if (st != STATUS_OK) return st;
    return Complete(node, target, value);
  }
  int st = ResolveTarget(variable, target);
  if (st != STATUS_OK) return st;
  st = Eval(expression, value);
  if (st != STATUS_OK) return st;
  return Complete(node, target, value);
}

// The target of a pure array element when its indices are in range; false
// leaves the resolution (and its errors) to ResolveTarget.
bool Interpreter::PureTarget(const RToken& node, Target& target) {
  int64_t i, j = 0;
  bool two = node.items.size() == 3;
  if (!PureIndex(node.items[1], i) || (two && !PureIndex(node.items[2], j))) return false;
  switch (node.scope) {
    case SCOPE_LOCAL: target.designator = DESIGNATOR_LOCAL; break;
    case SCOPE_PLAIN: target.designator = DESIGNATOR_PLAIN; break;
    case SCOPE_SELF: target.designator = DESIGNATOR_SELF; break;
    case SCOPE_OTHER: target.designator = DESIGNATOR_OTHER; break;
    case SCOPE_GLOBAL: target.designator = DESIGNATOR_GLOBAL; break;
    default: return false;
  }
  target.ind = node.ind;
  target.position = static_cast<int32_t>(two ? i * kArrayRowSize + j : i);
  target.hint = &node.slot_hint;
  return true;
}

// The rest of an assignment once the target is resolved and the value
// computed: a compound operator combines it with the current value, then
// the result is stored.
int Interpreter::Complete(const RToken& node, const Target& target, RValue& value) {
  const RToken& variable = node.items[0];
  int st;
  if (node.ind != 101) {  // a compound operator
    int op = AssignOperator(node.ind);
    // Fast path: a user variable in a list, updated in place.
    RValue* slot = UserSlot(target, false);
    if (slot != nullptr) {
      if (slot->kind == VALUE_REAL && value.kind == VALUE_REAL &&
          Code_BinaryRealFast(op, slot->val, value.val))
        return STATUS_OK;
      return Code_Binary(*ctx_.code, node.position, op, *slot, value) ? STATUS_OK : STATUS_ERROR;
    }
    RValue current;
    if (!Read(target, current)) {
      st = Missing(variable, target, node.position, current);
      if (st != STATUS_OK) return st;
    }
    if (!Code_Binary(*ctx_.code, node.position, op, current, value)) return STATUS_ERROR;
    value = std::move(current);
  }
  if (!Store(target, value)) return Fail(ctx_, node.position, "Cannot assign to the variable");
  return STATUS_OK;
}

int Interpreter::If(const RToken& node) {
  bool truth;
  int st = Condition(node.items[0], "Expression expected", truth);
  if (st != STATUS_OK) return st;
  if (truth) return Exec(node.items[1]);
  if (node.items.size() > 2) return Exec(node.items[2]);
  return STATUS_OK;
}

[[gnu::noinline]] int Interpreter::While(const RToken& node) {
  for (;;) {
    bool truth;
    int st = Condition(node.items[0], "Boolean expression expected", truth);
    if (st != STATUS_OK) return st;
    if (!truth) return STATUS_OK;
    if (BudgetExhausted()) return Fail(ctx_, node.position, "Step budget exhausted.");
    if (LoopStops(Statement(node.items[1]), st)) return st;
  }
}

[[gnu::noinline]] int Interpreter::Do(const RToken& node) {
  for (;;) {
    if (BudgetExhausted()) return Fail(ctx_, node.position, "Step budget exhausted.");
    int st;
    if (LoopStops(Statement(node.items[0]), st)) return st;
    bool truth;
    st = Condition(node.items[1], "Boolean expression expected", truth);
    if (st != STATUS_OK) return st;
    if (truth) return STATUS_OK;
  }
}

[[gnu::noinline]] int Interpreter::For(const RToken& node) {
  int st = Exec(node.items[0]);
  if (st != STATUS_OK) return st;
  for (;;) {
    bool truth;
    st = Condition(node.items[1], "Expression expected", truth);
    if (st != STATUS_OK) return st;
    if (!truth) return STATUS_OK;
    if (BudgetExhausted()) return Fail(ctx_, node.position, "Step budget exhausted.");
    if (LoopStops(Statement(node.items[3]), st)) return st;
    st = Statement(node.items[2]);
    if (st != STATUS_OK) return st;
  }
}

[[gnu::noinline]] int Interpreter::Repeat(const RToken& node) {
  RValue count;
  int st = Eval(node.items[0], count);
  if (st != STATUS_OK) return st;
  if (count.kind != VALUE_REAL) return Fail(ctx_, node.items[0].position, "Repeat count must be a number");
  int64_t n = SaturatingRound(count.val);
  for (int64_t i = 0; i < n; ++i) {
    if (BudgetExhausted()) return Fail(ctx_, node.position, "Step budget exhausted.");
    if (LoopStops(Statement(node.items[1]), st)) return st;
  }
  return STATUS_OK;
}

int Interpreter::WithBody(const RToken& body, CInstance* inst) {
  CInstance* saved_self = ctx_.self;
  CInstance* saved_other = ctx_.other;
  ctx_.other = ctx_.self;
  ctx_.self = inst;
  int st = Exec(body);
  ctx_.self = saved_self;
  ctx_.other = saved_other;
  return st;
}

[[gnu::noinline]] int Interpreter::With(const RToken& node) {
  RValue value;
  int st = Eval(node.items[0], value);
  if (st != STATUS_OK) return st;
  if (value.kind != VALUE_REAL) return Fail(ctx_, node.items[0].position, "Object id expected");
  int64_t d = SaturatingRound(value.val);
  const RToken& body = node.items[1];
  switch (d) {
    case DESIGNATOR_LOCAL: return Fail(ctx_, node.position, "Cannot use local in with statement.");
    case DESIGNATOR_GLOBAL: return Fail(ctx_, node.position, "Cannot use global in with statement.");
    case DESIGNATOR_NOONE: return STATUS_OK;
    case DESIGNATOR_OTHER: st = WithBody(body, ctx_.other); return st == STATUS_BREAK || st == STATUS_CONTINUE ? STATUS_OK : st;
    case DESIGNATOR_SELF:
    case DESIGNATOR_PLAIN: st = WithBody(body, ctx_.self); return st == STATUS_BREAK || st == STATUS_CONTINUE ? STATUS_OK : st;
    default: break;
  }
  std::vector<std::unique_ptr<CInstance>>& list = Instance_List();
  if (d >= kFirstInstanceId) {
    CInstance* inst = d > INT32_MAX ? nullptr : Instance_Find(static_cast<int32_t>(d), true);
    if (inst == nullptr) return STATUS_OK;
    st = WithBody(body, inst);
    return st == STATUS_BREAK || st == STATUS_CONTINUE ? STATUS_OK : st;
  }
  // All instances, or those of an object and its descendants: the count is
  // taken once, so instances created by the body are not visited; each one
  // is taken afresh, and those destroyed meanwhile are skipped.
  bool all = d == DESIGNATOR_ALL;
  int32_t object = static_cast<int32_t>(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
  size_t n = all ? list.size() : static_cast<size_t>(Instance_ObjNumberRecursive(object));
  st = STATUS_OK;
  for (size_t i = 0; i < n; ++i) {
    CInstance* inst = all ? (i < list.size() ? list[i].get() : nullptr)
                          : Instance_ObjInstanceRecursive(object, static_cast<int>(i));
    if (inst == nullptr || inst->i_marked) continue;
    if (BudgetExhausted()) return Fail(ctx_, node.position, "Step budget exhausted.");
    if (LoopStops(WithBody(body, inst), st)) return st;
  }
  return STATUS_OK;
}

[[gnu::noinline]] int Interpreter::Switch(const RToken& node) {
  RValue value;
  int st = Eval(node.items[0], value);
  if (st != STATUS_OK) return st;
  size_t count = node.items.size();
  size_t start = count;
  RValue label;
  for (size_t i = 1; i < count; ++i) {
    const RToken& item = node.items[i];
    if (item.kind == NODE_DEFAULT) {
      start = i + 1;
      break;
    }
    if (item.kind != NODE_CASE) continue;
    st = Eval(item.items[0], label);
    if (st != STATUS_OK) return st;
    bool match = label.kind == value.kind &&
                 (value.kind == VALUE_REAL ? label.val == value.val : label.str == value.str);
    if (match) {
      start = i + 1;
      break;
    }
  }
  for (size_t i = start; i < count; ++i) {
    const RToken& item = node.items[i];
    if (item.kind == NODE_CASE || item.kind == NODE_DEFAULT) continue;
    st = Exec(item);
    if (st == STATUS_BREAK) return STATUS_OK;
    if (st != STATUS_OK) return st;
  }
  return STATUS_OK;
}

// Both operands are always evaluated, left first. Reals from leaves take
// the fast path without temporaries; errors go to Code_Binary, which
// reports them at the right operand.
int Interpreter::EvalBinary(const RToken& node, RValue& out) {
  const RToken& left = node.items[0];
  const RToken& right = node.items[1];
  double l, r;
  if (node.pure && PureReal(node, l)) {
    StoreReal(out, l);
    return STATUS_OK;
  }
  int st = Eval(left, out);
  if (st != STATUS_OK) return st;
  if (out.kind == VALUE_REAL && LeafReal(right, r)) {
    double x = out.val;
    if (Code_BinaryRealFast(node.ind, x, r)) {
      out.val = x;
      return STATUS_OK;
    }
  }
  RValue value;
  st = Eval(right, value);
  if (st != STATUS_OK) return st;
  if (out.kind == VALUE_REAL && value.kind == VALUE_REAL && Code_BinaryRealFast(node.ind, out.val, value.val))
    return STATUS_OK;
  return Code_Binary(*ctx_.code, right.position, node.ind, out, value) ? STATUS_OK : STATUS_ERROR;
}

// The first non-zero status ends a block and is its status.
int Interpreter::Block(const RToken& node) {
  for (const RToken& item : node.items) {
    int st = Statement(item);
    if (st != STATUS_OK) return st;
  }
  return STATUS_OK;
}

int Interpreter::Exec(const RToken& node) {
  switch (node.kind) {
    case NODE_ASSIGN: return Assign(node);
    case NODE_CALL: return Call(node, *ctx_.result);
    case NODE_BLOCK: return Block(node);
    case NODE_IF: return If(node);
    case NODE_WHILE: return While(node);
    case NODE_DO: return Do(node);
    case NODE_FOR: return For(node);
    case NODE_REPEAT: return Repeat(node);
    case NODE_WITH: return With(node);
    case NODE_SWITCH: return Switch(node);
    case NODE_EXIT: return STATUS_EXIT;
    case NODE_RETURN: {
      int st = Eval(node.items[0], *ctx_.result);
      return st == STATUS_OK ? STATUS_EXIT : st;
    }
    case NODE_BREAK: return STATUS_BREAK;
    case NODE_CONTINUE: return STATUS_CONTINUE;
    case NODE_VAR: return STATUS_OK;
    case NODE_GLOBALVAR:
      for (const RToken& name : node.items) Variable_DeclareGlobal(name.ind);
      return STATUS_OK;
    case NODE_CASE: return Fail(ctx_, node.position, "Case statement only allowed inside switch statement.");
    case NODE_DEFAULT:
      return Fail(ctx_, node.position, "Default statement only allowed inside switch statement.");
    default: return Fail(ctx_, node.position, "Statement expected.");
  }
}

int Interpreter::Eval(const RToken& node, RValue& out) {
  switch (node.kind) {
    case NODE_CONSTANT: CopyValue(out, node.value); return STATUS_OK;
    case NODE_SIMPLE_VARIABLE: {
      if (const RValue* value = LeafValue(node)) {
        CopyValue(out, *value);
        return STATUS_OK;
      }
      if (node.ind < kUserVariableBase &&
          ((node.ind2 == DESIGNATOR_PLAIN && !Variable_IsDeclaredGlobal(node.ind)) ||
           node.ind2 == DESIGNATOR_SELF)) {
        // Builtin variables of self (x, speed, ...).
        if (Variable_InstanceGet(ctx_.self, node.ind, 0, out)) return STATUS_OK;
      }
      return ReadVariable(node, out);
    }
    case NODE_VARIABLE:
      if (node.pure) {
        if (const RValue* slot = ElementSlot(node)) {
          CopyValue(out, *slot);
          return STATUS_OK;
        }
      }
      return ReadVariable(node, out);
    case NODE_BINARY: return EvalBinary(node, out);
    case NODE_UNARY: {
      const RToken& operand = node.items[0];
      int st = Eval(operand, out);
      if (st != STATUS_OK) return st;
      return Code_Unary(*ctx_.code, operand.position, node.ind, out) ? STATUS_OK : STATUS_ERROR;
    }
    case NODE_CALL: return Call(node, out);
    default: return Fail(ctx_, node.position, "(Sub-)expression expected.");
  }
}

// Counts nested runs and remembers where the outermost one's stack began.
struct RunDepth {
  RunDepth() {
    if (g_depth++ == 0) {
      g_stack_base = StackHere();
      size_t budget = StackBudget();
      g_stack_low = g_stack_base > budget ? g_stack_base - budget : 0;
      g_stack_high = UINTPTR_MAX - g_stack_base > budget ? g_stack_base + budget : UINTPTR_MAX;
    }
  }
  ~RunDepth() {
    if (--g_depth == 0) {
      g_stack_base = 0;
      g_stack_low = 0;
      g_stack_high = UINTPTR_MAX;
    }
  }
};

}  // namespace

ArgumentFrame::ArgumentFrame() : values_(g_frames.Push()), used_(kArgumentSlots) {}
ArgumentFrame::~ArgumentFrame() { g_frames.Pop(values_, used_); }

int Code_RunDepth() { return g_depth; }
void Code_SetStepBudget(int64_t steps) { g_budget = steps; }

bool Code_Run(const CCode& code, CInstance* self, CInstance* other, RValue& result) {
  CodeError_Clear();
  if (!code.i_compiled) {
    CodeError(code, 0, "Internal Error: Executing non-compiled code.");
    return false;
  }
  if (code.i_kind == CODE_CONSTANT) {
    result = code.i_value;
    return true;
  }
  if (self == nullptr || other == nullptr) {
    CodeError(code, 0, "Internal Error: Executing code for nil instance.");
    return false;
  }
  RunDepth depth;
  if (g_depth > kMaxRunDepth || StackExhausted()) {
    CodeError(code, 0, kRecursionMessage);
    return false;
  }
  RExecContext ctx;
  ctx.self = self;
  ctx.other = other;
  ctx.code = &code;
  ctx.result = &result;
  struct LocalsGuard {
    RExecContext& ctx;
    ~LocalsGuard() { delete ctx.locals; }
  } guard{ctx};
  Interpreter interpreter(ctx);
  const RToken& root = code.i_token;
  int st;
  if (code.i_kind == CODE_EXPRESSION) {
    st = interpreter.Eval(root, result);
  } else if (root.kind == NODE_EMPTY_PROGRAM) {
    st = STATUS_OK;
  } else if (root.kind == NODE_BLOCK) {
    st = interpreter.Exec(root);
  } else {
    CodeError(code, root.position, "This is not a program.");
    st = STATUS_ERROR;
  }
  return st != STATUS_ERROR;
}

bool Code_RunAction(const CCode& code, CInstance* self, CInstance* other, RValue& result) {
  if (Code_Run(code, self, other, result)) return true;
  Error_Show_Action(CodeErrorState().text, false);
  CodeError_Clear();
  return false;
}

bool Code_RunForValue(const CCode& code, CInstance* self, CInstance* other, RValue& result) {
  if (Code_Run(code, self, other, result)) return true;
  result = RValue::String(u"ERROR");
  return false;
}

namespace {

// argument0 .. argument15: the slot of a builtin variable index, or -1.
int ArgumentSlotOf(int32_t ind) {
  int first = Variable_BuiltinFind("argument0");
  if (first < 0 || ind < first || ind >= first + kArgumentSlots) return -1;
  int slot = ind - first;
  if (Variable_BuiltinGet(ind).name != "argument" + std::to_string(slot)) return -1;
  return slot;
}

// The scope of a variable node whose designator is a constant.
uint8_t ScopeOf(const RToken& node) {
  if (node.ind < kUserVariableBase) return SCOPE_NONE;
  int64_t designator;
  if (node.kind == NODE_SIMPLE_VARIABLE) {
    designator = node.ind2;
  } else if (node.kind == NODE_VARIABLE && !node.items.empty() && node.items[0].kind == NODE_CONSTANT &&
             node.items[0].value.kind == VALUE_REAL) {
    designator = SaturatingRound(node.items[0].value.val);
  } else {
    return SCOPE_NONE;
  }
  switch (designator) {
    case DESIGNATOR_LOCAL: return SCOPE_LOCAL;
    case DESIGNATOR_PLAIN: return SCOPE_PLAIN;
    case DESIGNATOR_SELF: return SCOPE_SELF;
    case DESIGNATOR_OTHER: return SCOPE_OTHER;
    case DESIGNATOR_GLOBAL: return SCOPE_GLOBAL;
    default: return SCOPE_NONE;
  }
}

uint8_t LeafOf(const RToken& node) {
  if (node.kind == NODE_CONSTANT) return node.value.kind == VALUE_REAL ? LEAF_REAL_CONSTANT : LEAF_NONE;
  if (node.kind != NODE_SIMPLE_VARIABLE) return LEAF_NONE;
  if (node.ind < kUserVariableBase) {
    bool plain = node.ind2 == DESIGNATOR_PLAIN || node.ind2 == DESIGNATOR_SELF;
    return plain && ArgumentSlotOf(node.ind) >= 0 ? LEAF_ARGUMENT : LEAF_NONE;
  }
  return node.scope == SCOPE_NONE ? LEAF_NONE : LEAF_VARIABLE;
}

bool PureOf(const RToken& node) {
  if (node.leaf != LEAF_NONE) return true;
  switch (node.kind) {
    case NODE_UNARY: return node.items.size() == 1 && node.items[0].pure;
    case NODE_BINARY: return node.items.size() == 2 && node.items[0].pure && node.items[1].pure;
    case NODE_VARIABLE: {
      // An array element of a user variable with a scope and pure indices.
      size_t n = node.items.size();
      if (node.scope == SCOPE_NONE || n < 2 || n > 3) return false;
      return node.items[1].pure && (n == 2 || node.items[2].pure);
    }
    default: return false;
  }
}

}  // namespace

void Code_PrepareTree(RToken& root) {
  for (RToken& child : root.items) Code_PrepareTree(child);
  root.scope = ScopeOf(root);
  root.leaf = LeafOf(root);
  if (root.leaf == LEAF_ARGUMENT) root.argument = static_cast<uint8_t>(ArgumentSlotOf(root.ind));
  root.pure = PureOf(root);
}

// code_phase4.cpp: pass 4, post-processing. Visits children before their
// node with the list of names declared by var so far: marks later uses of
// those names local, turns variables with a constant designator and no index
// into simple variables, and folds operators on constants.
#include <algorithm>
#include <climits>
#include <vector>

#include "code/code_errortext.h"
#include "code/code_operator.h"
#include "code/code_phase.h"

namespace {

class PostProcessor {
 public:
  explicit PostProcessor(const CCode& code) : code_(code) {}

  bool Visit(RToken& node) {
    for (RToken& child : node.items) {
      if (!Visit(child)) return false;
    }
    switch (node.kind) {
      case NODE_VAR:
        for (const RToken& name : node.items) locals_.push_back(name.ind);
        return true;
      case NODE_VARIABLE: return Variable(node);
      case NODE_UNARY: return FoldUnary(node);
      case NODE_BINARY: return FoldBinary(node);
      default: return true;
    }
  }

 private:
  bool IsLocal(int32_t ind) const {
    return std::find(locals_.begin(), locals_.end(), ind) != locals_.end();
  }

  bool Variable(RToken& node) {
    RToken& designator = node.items[0];
    if (designator.kind != NODE_CONSTANT) return true;
    if (designator.value.kind == VALUE_REAL && designator.value.val == static_cast<double>(DESIGNATOR_PLAIN) &&
        IsLocal(node.ind)) {
      designator.value.val = static_cast<double>(DESIGNATOR_LOCAL);
    }
    if (node.itemnumb() != 1) return true;
    if (designator.value.kind != VALUE_REAL) {
      CodeError(code_, designator.position, "Left hand side must be a real value.");
      return false;
    }
    int64_t d;
    if (!TryRound(designator.value.val, d)) d = designator.value.val < 0 ? INT64_MIN : INT64_MAX;
    node.kind = NODE_SIMPLE_VARIABLE;
    node.ind2 = static_cast<int32_t>(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
    return true;
  }

  bool FoldUnary(RToken& node) {
    RToken& operand = node.items[0];
    if (operand.kind != NODE_CONSTANT) return true;
    RValue value = operand.value;
    if (!Code_Unary(code_, operand.position, node.ind, value)) return false;
    MakeConstant(node, std::move(value));
    return true;
  }

  bool FoldBinary(RToken& node) {
    RToken& left = node.items[0];
    RToken& right = node.items[1];
    if (left.kind != NODE_CONSTANT || right.kind != NODE_CONSTANT) return true;
    RValue value = left.value;
    if (!Code_Binary(code_, right.position, node.ind, value, right.value)) return false;
    MakeConstant(node, std::move(value));
    return true;
  }

  // The node becomes a constant in place, keeping its position.
  static void MakeConstant(RToken& node, RValue value) {
    node.kind = NODE_CONSTANT;
    node.ind = 0;
    node.value = std::move(value);
    node.items.clear();
  }

  const CCode& code_;
  std::vector<int32_t> locals_;
};

}  // namespace

bool Code_PostProcess(const CCode& code, RToken& root) {
  PostProcessor post(code);
  return post.Visit(root);
}

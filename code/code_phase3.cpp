// code_phase3.cpp: pass 3, the recursive-descent parser. Builds the syntax
// tree of a program (statements) or an expression from the resolved tokens,
// with the node positions and compile errors that error texts point at.
#include "code/code_errortext.h"
#include "code/code_function.h"
#include "code/code_game.h"
#include "code/code_phase.h"
#include "code/code_variable.h"

namespace {

constexpr int kMaxArguments = 16;

RToken MakeNode(int32_t kind, int32_t position) {
  RToken node;
  node.kind = kind;
  node.position = position;
  return node;
}

RToken MakeConstant(const RValue& value, int32_t position) {
  RToken node = MakeNode(NODE_CONSTANT, position);
  node.value = value;
  return node;
}

// Fixed argument count of a function index, -1 for any count, -100 for an
// index that names nothing.
int ArgumentCount(int32_t index) {
  if (index >= FUNCTION_EXTENSION_BASE) {
    if (Code_ExtensionArgCountHook == nullptr) return -100;
    return Code_ExtensionArgCountHook(index - FUNCTION_EXTENSION_BASE);
  }
  if (index >= FUNCTION_SCRIPT_BASE) return -1;
  if (index < 0 || index >= Function_Count()) return -100;
  return Function_Get(index).argc;
}

bool IsAssignOperator(int32_t symbol) {
  return (symbol >= SYM_ASSIGN && symbol <= SYM_DIV_ASSIGN) ||
         (symbol >= SYM_OR_ASSIGN && symbol <= SYM_XOR_ASSIGN);
}

bool IsUnaryOperator(int32_t symbol) {
  return symbol == SYM_NOT || symbol == SYM_PLUS || symbol == SYM_MINUS || symbol == SYM_BIT_NOT;
}

// Binary operator levels from the loosest (1) to the tightest (6).
bool AtLevel(int level, int32_t s) {
  switch (level) {
    case 1: return s == SYM_AND || s == SYM_OR || s == SYM_XOR;
    case 2: return s == SYM_ASSIGN || (s >= SYM_LESS && s <= SYM_GREATER);
    case 3: return s == SYM_BIT_OR || s == SYM_BIT_AND || s == SYM_BIT_XOR;
    case 4: return s == SYM_SHIFT_LEFT || s == SYM_SHIFT_RIGHT;
    case 5: return s == SYM_PLUS || s == SYM_MINUS;
    case 6: return s == SYM_MULTIPLY || s == SYM_DIVIDE || s == SYM_DIV || s == SYM_MOD;
    default: return false;
  }
}

class Parser {
 public:
  Parser(const CCode& code, const RTokenList2& tokens) : code_(code), tokens_(tokens) {}

  bool Program(RToken& root) {
    if (Sym() == SYM_END) {
      root = MakeNode(NODE_EMPTY_PROGRAM, Pos());
      return true;
    }
    if (Sym() == SYM_BEGIN) {
      if (!Block(root)) return false;
      if (Sym() != SYM_END) return Error("Program ends before end of the code.");
      return true;
    }
    root = MakeNode(NODE_BLOCK, Pos());
    while (Sym() != SYM_END) {
      root.items.emplace_back();
      if (!Statement(root.items.back())) return false;
    }
    return true;
  }

  bool Expression(RToken& root, bool top) {
    if (top && Sym() == SYM_END) {
      root = MakeConstant(RValue::Real(0), Pos());
      return true;
    }
    return Binary(root, 1);
  }

 private:
  int32_t Sym() const { return tokens_[i_].symbol; }
  int32_t Pos() const { return tokens_[i_].position; }
  const RToken2& Cur() const { return tokens_[i_]; }
  void Advance() {
    if (tokens_[i_].symbol != SYM_END) ++i_;
  }
  bool Error(const char* message) { return ErrorAt(Pos(), message); }
  bool ErrorAt(int32_t position, const char* message) {
    CodeError(code_, position, message);
    return false;
  }

  // Bounds the recursion so deeply nested text fails instead of exhausting
  // the stack.
  struct Nest {
    explicit Nest(int& depth) : depth_(depth) { ++depth_; }
    ~Nest() { --depth_; }
    int& depth_;
  };
  bool TooDeep() {
    if (depth_ <= kMaxNesting) return false;
    return !Error("Code nested too deeply.");
  }

  bool Statement(RToken& node) {
    Nest nest(depth_);
    if (TooDeep()) return false;
    if (!StatementBody(node)) return false;
    while (Sym() == SYM_SEMICOLON) Advance();
    return true;
  }

  bool StatementBody(RToken& node) {
    switch (Sym()) {
      case SYM_FUNCTION: return Call(node);
      case SYM_BEGIN: return Block(node);
      case SYM_IF: return If(node);
      case SYM_WHILE: return KeywordThen(node, NODE_WHILE, SYM_DO);
      case SYM_WITH: return KeywordThen(node, NODE_WITH, SYM_DO);
      case SYM_REPEAT: return KeywordThen(node, NODE_REPEAT, -100);
      case SYM_DO: return Do(node);
      case SYM_FOR: return For(node);
      case SYM_EXIT:
      case SYM_BREAK:
      case SYM_CONTINUE:
        node = MakeNode(Sym(), Pos());
        Advance();
        return true;
      case SYM_RETURN: return Return(node);
      case SYM_SWITCH: return Switch(node);
      case SYM_CASE: return Case(node);
      case SYM_DEFAULT: return Default(node);
      case SYM_VAR:
      case SYM_GLOBALVAR: return Declaration(node);
      case SYM_SEMICOLON:
        node = MakeNode(NODE_EMPTY, Pos());
        Advance();
        return true;
      case SYM_END: return Error("Unexpected end of code reached.");
      default: return Assignment(node);
    }
  }

  // Starts a statement node of kind at the token after its keyword.
  void Keyword(RToken& node, int32_t kind) {
    Advance();
    node = MakeNode(kind, Pos());
  }

  // Appends a child parsed by an expression or a statement.
  bool ChildExpression(RToken& node) {
    node.items.emplace_back();
    return Binary(node.items.back(), 1);
  }
  bool ChildStatement(RToken& node) {
    node.items.emplace_back();
    return Statement(node.items.back());
  }

  bool Block(RToken& node) {
    Keyword(node, NODE_BLOCK);
    while (Sym() != SYM_END_BLOCK) {
      if (Sym() == SYM_END) return Error("Symbol } expected.");
      if (!ChildStatement(node)) return false;
    }
    Advance();
    return true;
  }

  bool If(RToken& node) {
    Keyword(node, NODE_IF);
    if (!ChildExpression(node)) return false;
    if (Sym() == SYM_THEN) Advance();
    if (!ChildStatement(node)) return false;
    if (Sym() != SYM_ELSE) return true;
    Advance();
    return ChildStatement(node);
  }

  // while / with / repeat: an expression, an optional word, a body.
  bool KeywordThen(RToken& node, int32_t kind, int32_t optional) {
    Keyword(node, kind);
    if (!ChildExpression(node)) return false;
    if (Sym() == optional) Advance();
    return ChildStatement(node);
  }

  bool Do(RToken& node) {
    Keyword(node, NODE_DO);
    if (!ChildStatement(node)) return false;
    if (Sym() != SYM_UNTIL) return Error("Keyword until expected.");
    Advance();
    return ChildExpression(node);
  }

  bool For(RToken& node) {
    Keyword(node, NODE_FOR);
    if (Sym() != SYM_OPEN) return Error("Symbol ( expected.");
    Advance();
    if (!ChildStatement(node)) return false;
    if (Sym() == SYM_SEMICOLON) Advance();
    if (!ChildExpression(node)) return false;
    if (Sym() == SYM_SEMICOLON) Advance();
    if (!ChildStatement(node)) return false;
    if (Sym() != SYM_CLOSE) return Error("Symbol ) expected.");
    Advance();
    return ChildStatement(node);
  }

  bool Return(RToken& node) {
    Keyword(node, NODE_RETURN);
    return ChildExpression(node);
  }

  bool Switch(RToken& node) {
    Keyword(node, NODE_SWITCH);
    if (!ChildExpression(node)) return false;
    if (Sym() != SYM_BEGIN) return Error("Symbol { expected.");
    Advance();
    while (Sym() != SYM_END_BLOCK) {
      if (Sym() == SYM_END) return Error("Symbol } expected.");
      if (!ChildStatement(node)) return false;
    }
    Advance();
    return true;
  }

  bool Case(RToken& node) {
    Keyword(node, NODE_CASE);
    if (!ChildExpression(node)) return false;
    if (Sym() != SYM_COLON) return Error("Symbol : expected.");
    Advance();
    return true;
  }

  bool Default(RToken& node) {
    Keyword(node, NODE_DEFAULT);
    if (Sym() != SYM_COLON) return Error("Symbol : expected.");
    Advance();
    return true;
  }

  bool Declaration(RToken& node) {
    Keyword(node, tokens_[i_].symbol == SYM_VAR ? NODE_VAR : NODE_GLOBALVAR);
    while (Sym() == SYM_VARIABLE) {
      if (Cur().ind < kUserVariableBase) return Error("Cannot redeclare a builtin variable.");
      RToken name = MakeConstant(RValue(), Pos());
      name.ind = Cur().ind;
      node.items.push_back(std::move(name));
      Advance();
      if (Sym() == SYM_COMMA) Advance();
    }
    return true;
  }

  bool Assignment(RToken& node) {
    int32_t position = Pos();
    RToken target;
    if (!Postfix(target)) return false;
    if (target.kind != NODE_VARIABLE) return Error("Variable name expected.");
    if (!IsAssignOperator(Sym())) return Error("Assignment operator expected.");
    node = MakeNode(NODE_ASSIGN, position);
    node.ind = Sym();
    Advance();
    node.items.push_back(std::move(target));
    return ChildExpression(node);
  }

  bool Binary(RToken& node, int level) {
    if (level > 6) return Unary(node);
    if (!Binary(node, level + 1)) return false;
    // Each operator of a chain deepens the left spine of the tree.
    int chain = 0;
    struct Unwind {
      int& depth;
      int& chain;
      ~Unwind() { depth -= chain; }
    } unwind{depth_, chain};
    while (AtLevel(level, Sym())) {
      ++depth_;
      ++chain;
      if (TooDeep()) return false;
      RToken op = MakeNode(NODE_BINARY, Pos());
      op.ind = Sym();
      Advance();
      op.items.push_back(std::move(node));
      op.items.emplace_back();
      if (!Binary(op.items.back(), level + 1)) return false;
      node = std::move(op);
    }
    return true;
  }

  bool Unary(RToken& node) {
    Nest nest(depth_);
    if (TooDeep()) return false;
    if (!IsUnaryOperator(Sym())) return Postfix(node);
    node = MakeNode(NODE_UNARY, Pos());
    node.ind = Sym();
    Advance();
    node.items.emplace_back();
    return Postfix(node.items.back());
  }

  bool Postfix(RToken& node) {
    if (!Primary(node)) return false;
    int chain = 0;
    struct Unwind {
      int& depth;
      int& chain;
      ~Unwind() { depth -= chain; }
    } unwind{depth_, chain};
    while (Sym() == SYM_DOT) {
      ++depth_;
      ++chain;
      if (TooDeep()) return false;
      Advance();
      if (Sym() != SYM_VARIABLE) return Error("Variable name expected.");
      RToken designator = std::move(node);
      if (!Variable(node)) return false;
      node.items[0] = std::move(designator);
    }
    return true;
  }

  bool Primary(RToken& node) {
    switch (Sym()) {
      case SYM_CONSTANT:
        node = MakeConstant(Cur().val, Pos());
        Advance();
        return true;
      case SYM_FUNCTION: return Call(node);
      case SYM_VARIABLE: return Variable(node);
      case SYM_OPEN: {
        Nest nest(depth_);
        if (TooDeep()) return false;
        Advance();
        if (!Binary(node, 1)) return false;
        if (Sym() != SYM_CLOSE) return Error("Symbol ) expected.");
        Advance();
        return true;
      }
      default:
        if (IsUnaryOperator(Sym())) return Unary(node);
        return Error("Unexpected symbol in expression.");
    }
  }

  bool Call(RToken& node) {
    if (Sym() != SYM_FUNCTION) return Error("Function name expected.");
    node = MakeNode(NODE_CALL, Pos());
    node.ind = Cur().ind;
    Advance();
    if (Sym() != SYM_OPEN) return Error("Symbol ( expected.");
    Advance();
    while (Sym() != SYM_CLOSE) {
      if (Sym() == SYM_END) return Error("Symbol ) expected.");
      if (!ChildExpression(node)) return false;
      if (Sym() == SYM_COMMA) {
        Advance();
      } else if (Sym() == SYM_END) {
        return Error("Symbol ) expected.");
      } else if (Sym() != SYM_CLOSE) {
        return Error("Symbol , or ) expected.");
      }
    }
    int n = node.itemnumb();
    int fixed = ArgumentCount(node.ind);
    if (n > kMaxArguments || (fixed >= 0 && fixed != n))
      return Error("Wrong number of arguments to function or script.");
    if (node.ind >= 0 && node.ind < FUNCTION_SCRIPT_BASE) node.routine = Function_Get(node.ind).routine;
    Advance();
    return true;
  }

  bool Variable(RToken& node) {
    node = MakeNode(NODE_VARIABLE, Pos());
    node.ind = Cur().ind;
    node.items.push_back(MakeConstant(RValue::Real(DESIGNATOR_PLAIN), Pos()));
    Advance();
    if (Sym() != SYM_OPEN_BRACKET) return true;
    Advance();
    while (Sym() != SYM_CLOSE_BRACKET) {
      if (Sym() == SYM_END) return Error("Symbol ] expected.");
      if (node.itemnumb() == 3) return Error("Only 1- and 2-dimensional arrays are supported.");
      if (!ChildExpression(node)) return false;
      if (Sym() == SYM_COMMA) {
        Advance();
      } else if (Sym() == SYM_END) {
        return Error("Symbol ] expected.");
      } else if (Sym() != SYM_CLOSE_BRACKET) {
        return Error("Symbol , or ] expected.");
      }
    }
    Advance();
    return true;
  }

  const CCode& code_;
  const RTokenList2& tokens_;
  size_t i_ = 0;
  int depth_ = 0;
};

}  // namespace

bool Code_Parse(const CCode& code, const RTokenList2& tokens, bool expression, RToken& root) {
  Parser parser(code, tokens);
  return expression ? parser.Expression(root, true) : parser.Program(root);
}

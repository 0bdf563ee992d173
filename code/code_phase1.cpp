// code_phase1.cpp: pass 1, the scanner. Turns the source text (with three
// blanks appended so every one-character look-ahead can read) into tokens
// with 1-based positions; numbers, strings, identifiers, keywords and
// operators, skipping blanks, control characters and both comment forms.
#include <cmath>
#include <cstring>

#include "code/code_errortext.h"
#include "code/code_phase.h"

namespace {

struct Keyword {
  const char* text;
  int32_t symbol;
};

constexpr Keyword kKeywords[] = {
    {"begin", SYM_BEGIN},       {"end", SYM_END_BLOCK},     {"if", SYM_IF},
    {"then", SYM_THEN},         {"else", SYM_ELSE},         {"while", SYM_WHILE},
    {"do", SYM_DO},             {"for", SYM_FOR},           {"until", SYM_UNTIL},
    {"repeat", SYM_REPEAT},     {"exit", SYM_EXIT},         {"break", SYM_BREAK},
    {"continue", SYM_CONTINUE}, {"with", SYM_WITH},         {"return", SYM_RETURN},
    {"switch", SYM_SWITCH},     {"case", SYM_CASE},         {"default", SYM_DEFAULT},
    {"var", SYM_VAR},           {"globalvar", SYM_GLOBALVAR}, {"and", SYM_AND},
    {"or", SYM_OR},             {"not", SYM_NOT},           {"div", SYM_DIV},
    {"mod", SYM_MOD},           {"xor", SYM_XOR},
};

constexpr Keyword kTwoCharOperators[] = {
    {":=", SYM_ASSIGN},        {"+=", SYM_ADD_ASSIGN},    {"-=", SYM_SUB_ASSIGN},
    {"*=", SYM_MUL_ASSIGN},    {"/=", SYM_DIV_ASSIGN},    {"|=", SYM_OR_ASSIGN},
    {"&=", SYM_AND_ASSIGN},    {"^=", SYM_XOR_ASSIGN},    {"&&", SYM_AND},
    {"||", SYM_OR},            {"^^", SYM_XOR},           {"<=", SYM_LESS_EQUAL},
    {"==", SYM_EQUAL},         {"!=", SYM_NOT_EQUAL},     {"<>", SYM_NOT_EQUAL},
    {">=", SYM_GREATER_EQUAL}, {"<<", SYM_SHIFT_LEFT},    {">>", SYM_SHIFT_RIGHT},
};

int32_t OneCharSymbol(char16_t c) {
  switch (c) {
    case '{': return SYM_BEGIN;
    case '}': return SYM_END_BLOCK;
    case '=': return SYM_ASSIGN;
    case '(': return SYM_OPEN;
    case ')': return SYM_CLOSE;
    case ';': return SYM_SEMICOLON;
    case ',': return SYM_COMMA;
    case '[': return SYM_OPEN_BRACKET;
    case ']': return SYM_CLOSE_BRACKET;
    case '.': return SYM_DOT;
    case ':': return SYM_COLON;
    case '!': return SYM_NOT;
    case '<': return SYM_LESS;
    case '>': return SYM_GREATER;
    case '+': return SYM_PLUS;
    case '-': return SYM_MINUS;
    case '*': return SYM_MULTIPLY;
    case '/': return SYM_DIVIDE;
    case '|': return SYM_BIT_OR;
    case '&': return SYM_BIT_AND;
    case '^': return SYM_BIT_XOR;
    case '~': return SYM_BIT_NOT;
    default: return SYM_NONE;
  }
}

bool IsLetter(char16_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char16_t c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int HexValue(char16_t c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// The scanner over the extended text; index i is position i + 1.
class Scanner {
 public:
  explicit Scanner(const VString& source) : text_(source + u"   ") {}

  bool Run(const CCode& code, RTokenList1& out) {
    for (;;) {
      SkipBlanksAndComments();
      if (p_ >= text_.size()) {
        out.push_back({SYM_END, VString(), Position(p_)});
        return true;
      }
      RToken1 token = Next();
      if (token.symbol == SYM_NONE) {
        CodeError(code, token.position, "Unexpected symbol.");
        return false;
      }
      out.push_back(std::move(token));
    }
  }

  // Value of a number token's text, digit by digit as doubles; each step is
  // one rounding (the product is exact before the sum is rounded).
  static double NumberValue(const VString& s) {
    double value = 0.0;
    if (!s.empty() && s[0] == '$') {
      for (size_t i = 1; i < s.size(); ++i) value = value * 16.0 + HexValue(s[i]);
      return value;
    }
    bool fraction = false;
    double scale = 1.0;
    for (char16_t c : s) {
      if (c == '.') {
        fraction = true;
      } else if (!fraction) {
        value = std::fma(value, 10.0, c - '0');
      } else {
        scale = scale / 10.0;
        value = std::fma(scale, c - '0', value);
      }
    }
    return value;
  }

 private:
  static int32_t Position(size_t index) { return static_cast<int32_t>(index + 1); }
  char16_t At(size_t i) const { return i < text_.size() ? text_[i] : u'\0'; }

  void SkipBlanksAndComments() {
    for (;;) {
      while (p_ < text_.size() && text_[p_] <= 32) ++p_;
      if (p_ >= text_.size()) return;
      if (At(p_) == '/' && At(p_ + 1) == '/') {
        while (p_ < text_.size() && text_[p_] != '\r' && text_[p_] != '\n') ++p_;
        ++p_;  // the line break itself
      } else if (At(p_) == '/' && At(p_ + 1) == '*') {
        size_t q = p_;
        while (q + 1 < text_.size() && !(text_[q] == '*' && text_[q + 1] == '/')) ++q;
        p_ = q + 1 < text_.size() ? q + 2 : text_.size();
      } else {
        return;
      }
    }
  }

  RToken1 Next() {
    char16_t c = text_[p_];
    if (IsLetter(c)) return Identifier();
    if (IsDigit(c) || c == '$' || (c == '.' && IsDigit(At(p_ + 1)))) return Number();
    if (c == '\'' || c == '"') return String();
    return Operator();
  }

  RToken1 Identifier() {
    size_t start = p_;
    while (p_ < text_.size() && (IsLetter(text_[p_]) || IsDigit(text_[p_]))) ++p_;
    RToken1 token{SYM_IDENTIFIER, text_.substr(start, p_ - start), Position(start)};
    for (const Keyword& k : kKeywords) {
      if (Equals(token.str, k.text)) {
        token.symbol = k.symbol;
        break;
      }
    }
    return token;
  }

  RToken1 Number() {
    size_t start = p_;
    if (text_[p_] == '$') {
      ++p_;
      while (p_ < text_.size() && IsHexDigit(text_[p_])) ++p_;
    } else {
      while (p_ < text_.size() && (IsDigit(text_[p_]) || text_[p_] == '.')) ++p_;
    }
    return {SYM_NUMBER, text_.substr(start, p_ - start), Position(start)};
  }

  RToken1 String() {
    size_t start = p_;
    char16_t quote = text_[p_];
    size_t close = text_.find(quote, p_ + 1);
    size_t end = close == VString::npos ? text_.size() : close;
    RToken1 token{SYM_STRING, text_.substr(p_ + 1, end - p_ - 1), Position(start)};
    p_ = close == VString::npos ? text_.size() : close + 1;
    return token;
  }

  RToken1 Operator() {
    size_t start = p_;
    for (const Keyword& k : kTwoCharOperators) {
      if (At(p_) == k.text[0] && At(p_ + 1) == k.text[1]) {
        p_ += 2;
        return {k.symbol, text_.substr(start, 2), Position(start)};
      }
    }
    int32_t symbol = OneCharSymbol(text_[p_]);
    ++p_;
    return {symbol, symbol == SYM_NONE ? VString() : text_.substr(start, 1), Position(start)};
  }

  static bool Equals(const VString& s, const char* ascii) {
    size_t n = std::strlen(ascii);
    if (s.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
      if (s[i] != static_cast<char16_t>(ascii[i])) return false;
    }
    return true;
  }

  VString text_;
  size_t p_ = 0;
};

}  // namespace

bool Code_Scan(const CCode& code, RTokenList1& out) {
  out.clear();
  Scanner scanner(code.i_str);
  return scanner.Run(code, out);
}

double Code_NumberValue(const VString& text) { return Scanner::NumberValue(text); }

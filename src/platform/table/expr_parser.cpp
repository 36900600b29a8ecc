// Lexer and recursive-descent parser: text to a typed node program. Precedence, lowest first:
// .OR., .AND., .NOT./!, comparisons (= == <> # != < <= > >= $), + -, * / %, unary - +.

#include <algorithm>
#include <cctype>

#include "platform/table/expr_program.h"

namespace platform::table::detail {
namespace {

enum class Tok { End, Name, Number, String, True, False, And, Or, Not, Arrow, LParen, RParen, Comma, Symbol };

struct Token {
    Tok kind = Tok::End;
    std::size_t pos = 0;
    std::string_view text;  // names, numbers and symbols as written; strings without quotes
};

std::string upper_ascii(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool name_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool name_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

class Lexer {
  public:
    explicit Lexer(std::string_view text) : s_(text) {}

    [[noreturn]] void fail(std::size_t pos, const std::string& what) const { throw ExprError(std::string(s_), pos, what); }

    Token next() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) ++i_;
        Token t;
        t.pos = i_;
        if (i_ >= s_.size()) return t;
        char c = s_[i_];
        if (name_start(c)) {
            std::size_t b = i_;
            while (i_ < s_.size() && name_char(s_[i_])) ++i_;
            return {Tok::Name, b, s_.substr(b, i_ - b)};
        }
        if (digit(c) || (c == '.' && i_ + 1 < s_.size() && digit(s_[i_ + 1]))) {
            std::size_t b = i_;
            while (i_ < s_.size() && digit(s_[i_])) ++i_;
            if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1])) {
                ++i_;
                while (i_ < s_.size() && digit(s_[i_])) ++i_;
            }
            return {Tok::Number, b, s_.substr(b, i_ - b)};
        }
        if (c == '\'' || c == '"' || c == '[') {
            char close = c == '[' ? ']' : c;
            std::size_t end = s_.find(close, i_ + 1);
            if (end == std::string_view::npos) fail(i_, "unclosed string");
            t = {Tok::String, i_, s_.substr(i_ + 1, end - i_ - 1)};
            i_ = end + 1;
            return t;
        }
        if (c == '.') return dot_word();
        return symbol();
    }

  private:
    Token dot_word() {
        std::size_t b = i_;
        std::size_t end = s_.find('.', i_ + 1);
        std::string word = end == std::string_view::npos ? std::string() : upper_ascii(s_.substr(i_ + 1, end - i_ - 1));
        Tok kind = word == "T" || word == "Y" ? Tok::True
                 : word == "F" || word == "N" ? Tok::False
                 : word == "AND"              ? Tok::And
                 : word == "OR"               ? Tok::Or
                 : word == "NOT"              ? Tok::Not
                                              : Tok::End;
        if (kind == Tok::End) fail(b, "unexpected '.'");
        i_ = end + 1;
        return {kind, b, s_.substr(b, i_ - b)};
    }

    Token symbol() {
        std::size_t b = i_;
        auto two = s_.substr(i_, 2);
        for (std::string_view op : {"->", "==", "<>", "!=", "<=", ">="}) {
            if (two == op) {
                i_ += 2;
                return {op == "->" ? Tok::Arrow : Tok::Symbol, b, op};
            }
        }
        char c = s_[i_++];
        switch (c) {
            case '(': return {Tok::LParen, b, s_.substr(b, 1)};
            case ')': return {Tok::RParen, b, s_.substr(b, 1)};
            case ',': return {Tok::Comma, b, s_.substr(b, 1)};
            case '!': return {Tok::Not, b, s_.substr(b, 1)};
            case '+': case '-': case '*': case '/': case '%': case '=': case '<': case '>': case '#': case '$':
                return {Tok::Symbol, b, s_.substr(b, 1)};
            default: break;
        }
        std::string shown = static_cast<unsigned char>(c) < 0x20 ? "control character" : "'" + std::string(1, c) + "'";
        fail(b, "unexpected " + shown);
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

class Parser {
  public:
    Parser(std::string_view text, Binder& binder) : lex_(text) {
        p_.text = std::string(text);
        p_.binder = &binder;
        advance();
    }

    Program run() {
        if (tok_.kind == Tok::End) fail(tok_.pos, "empty expression");
        p_.root = parse_or();
        if (tok_.kind != Tok::End) fail(tok_.pos, "unexpected text after the expression");
        return std::move(p_);
    }

  private:
    [[noreturn]] void fail(std::size_t pos, const std::string& what) const { lex_.fail(pos, what); }

    void advance() { tok_ = lex_.next(); }
    bool symbol(std::string_view s) const { return tok_.kind == Tok::Symbol && tok_.text == s; }

    const Node& node(int i) const { return p_.nodes[static_cast<std::size_t>(i)]; }
    FieldType type(int i) const { return node(i).type; }

    int add(Node n) { return add_node(p_, std::move(n)); }

    // Parentheses, signs and negations nest the parser itself: bounded like the tree.
    class Nesting {
      public:
        explicit Nesting(Parser& p) : p_(p) {
            if (++p_.nesting_ > kMaxDepth) p_.fail(p_.tok_.pos, "expression nested too deeply");
        }
        ~Nesting() { --p_.nesting_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        Parser& p_;
    };

    void expect_type(int i, FieldType t, std::size_t pos, std::string_view what) const {
        if (type(i) != t)
            fail(pos, std::string(what) + " needs " + type_name(t) + ", not " + type_name(type(i)));
    }

    int parse_or() {
        Nesting nesting(*this);
        int l = parse_and();
        while (tok_.kind == Tok::Or) {
            std::size_t pos = tok_.pos;
            advance();
            l = logic(Op::Or, l, parse_and(), pos, ".OR.");
        }
        return l;
    }

    int parse_and() {
        int l = parse_not();
        while (tok_.kind == Tok::And) {
            std::size_t pos = tok_.pos;
            advance();
            l = logic(Op::And, l, parse_not(), pos, ".AND.");
        }
        return l;
    }

    int parse_not() {
        if (tok_.kind != Tok::Not) return parse_relation();
        Nesting nesting(*this);
        std::size_t pos = tok_.pos;
        advance();
        int a = parse_not();
        expect_type(a, FieldType::Logical, pos, ".NOT.");
        return fold(add(Node{.op = Op::Not, .type = FieldType::Logical, .a = a, .pos = pos, .width = 1}));
    }

    int logic(Op op, int l, int r, std::size_t pos, std::string_view name) {
        expect_type(l, FieldType::Logical, pos, name);
        expect_type(r, FieldType::Logical, pos, name);
        return fold(add(Node{.op = op, .type = FieldType::Logical, .a = l, .b = r, .pos = pos, .width = 1}));
    }

    int parse_relation() {
        int l = parse_sum();
        for (;;) {
            if (tok_.kind != Tok::Symbol) return l;
            std::string_view s = tok_.text;
            Rel rel;
            if (s == "=") rel = Rel::Eq;
            else if (s == "==") rel = Rel::ExactEq;
            else if (s == "<>" || s == "#" || s == "!=") rel = Rel::Ne;
            else if (s == "<") rel = Rel::Lt;
            else if (s == "<=") rel = Rel::Le;
            else if (s == ">") rel = Rel::Gt;
            else if (s == ">=") rel = Rel::Ge;
            else if (s == "$") rel = Rel::Contains;
            else return l;
            std::size_t pos = tok_.pos;
            advance();
            int r = parse_sum();
            if (type(l) != type(r))
                fail(pos, "cannot compare " + std::string(type_name(type(l))) + " with " + type_name(type(r)));
            if (rel == Rel::Contains) expect_type(l, FieldType::Character, pos, "$");
            l = fold(add(Node{.op = Op::Compare, .type = FieldType::Logical, .arg_type = type(l), .rel = rel, .a = l,
                              .b = r, .pos = pos, .width = 1}));
        }
    }

    int parse_sum() {
        int l = parse_product();
        while (symbol("+") || symbol("-")) {
            bool plus = tok_.text == "+";
            std::size_t pos = tok_.pos;
            advance();
            int r = parse_product();
            l = fold(plus ? make_plus(l, r, pos) : make_minus(l, r, pos));
        }
        return l;
    }

    Node numeric(Op op, int l, int r, std::size_t pos, int int_places, int decimals) const {
        return Node{.op = op, .type = FieldType::Numeric, .a = l, .b = r, .pos = pos,
                    .int_places = std::min(int_places, 30), .decimals = std::min(decimals, Decimal::kScale)};
    }

    int make_plus(int l, int r, std::size_t pos) {
        const Node &x = node(l), &y = node(r);
        if (x.type == FieldType::Numeric && y.type == FieldType::Numeric)
            return add(numeric(Op::AddN, l, r, pos, std::max(x.int_places, y.int_places) + 1, std::max(x.decimals, y.decimals)));
        if (x.type == FieldType::Character && y.type == FieldType::Character)
            return add(Node{.op = Op::Concat, .a = l, .b = r, .pos = pos, .width = std::min(x.width + y.width, kMaxText)});
        if (x.type == FieldType::Date && y.type == FieldType::Numeric)
            return add(Node{.op = Op::AddDateN, .type = FieldType::Date, .a = l, .b = r, .pos = pos, .width = 8});
        if (x.type == FieldType::Numeric && y.type == FieldType::Date)
            return add(Node{.op = Op::AddNDate, .type = FieldType::Date, .a = l, .b = r, .pos = pos, .width = 8});
        fail(pos, std::string("cannot add ") + type_name(y.type) + " to " + type_name(x.type));
    }

    int make_minus(int l, int r, std::size_t pos) {
        const Node &x = node(l), &y = node(r);
        if (x.type == FieldType::Numeric && y.type == FieldType::Numeric)
            return add(numeric(Op::SubN, l, r, pos, std::max(x.int_places, y.int_places) + 1, std::max(x.decimals, y.decimals)));
        if (x.type == FieldType::Character && y.type == FieldType::Character)
            return add(Node{.op = Op::ConcatTrim, .a = l, .b = r, .pos = pos, .width = std::min(x.width + y.width, kMaxText)});
        if (x.type == FieldType::Date && y.type == FieldType::Numeric)
            return add(Node{.op = Op::SubDateN, .type = FieldType::Date, .a = l, .b = r, .pos = pos, .width = 8});
        if (x.type == FieldType::Date && y.type == FieldType::Date)
            return add(numeric(Op::SubDateDate, l, r, pos, 10, 0));
        fail(pos, std::string("cannot subtract ") + type_name(y.type) + " from " + type_name(x.type));
    }

    int parse_product() {
        int l = parse_unary();
        while (symbol("*") || symbol("/") || symbol("%")) {
            char c = tok_.text[0];
            std::size_t pos = tok_.pos;
            advance();
            int r = parse_unary();
            expect_type(l, FieldType::Numeric, pos, std::string(1, c));
            expect_type(r, FieldType::Numeric, pos, std::string(1, c));
            const Node &x = node(l), &y = node(r);
            Node n = c == '*' ? numeric(Op::MulN, l, r, pos, x.int_places + y.int_places, x.decimals + y.decimals)
                   : c == '/' ? numeric(Op::DivN, l, r, pos, x.int_places + y.decimals + 1, std::max({x.decimals, y.decimals, 2}))
                              : numeric(Op::ModN, l, r, pos, y.int_places, std::max(x.decimals, y.decimals));
            l = fold(add(std::move(n)));
        }
        return l;
    }

    int parse_unary() {
        if (symbol("-") || symbol("+")) {
            Nesting nesting(*this);
            bool minus = tok_.text == "-";
            std::size_t pos = tok_.pos;
            advance();
            int a = parse_unary();
            expect_type(a, FieldType::Numeric, pos, minus ? "unary -" : "unary +");
            if (!minus) return a;
            Node n = numeric(Op::Neg, -1, -1, pos, node(a).int_places + 1, node(a).decimals);
            n.a = a;
            return fold(add(std::move(n)));
        }
        return parse_primary();
    }

    int parse_primary() {
        Token t = tok_;
        switch (t.kind) {
            case Tok::Number: {
                advance();
                auto dot = t.text.find('.');
                int decimals = dot == std::string_view::npos ? 0 : static_cast<int>(t.text.size() - dot - 1);
                auto v = Decimal::parse(t.text);
                if (!v || decimals > Decimal::kScale) fail(t.pos, "bad number");
                Node n = numeric(Op::Const, -1, -1, t.pos, 10, decimals);
                n.n = *v;
                return add(std::move(n));
            }
            case Tok::String: {
                advance();
                return add(Node{.op = Op::Const, .pos = t.pos, .width = static_cast<int>(t.text.size()), .s = std::string(t.text)});
            }
            case Tok::True:
            case Tok::False:
                advance();
                return add(Node{.op = Op::Const, .type = FieldType::Logical, .pos = t.pos, .width = 1, .l = t.kind == Tok::True});
            case Tok::LParen: {
                advance();
                int e = parse_or();
                if (tok_.kind != Tok::RParen) fail(tok_.pos, "expected ')'");
                advance();
                return e;
            }
            case Tok::Name: return parse_name();
            case Tok::End: fail(t.pos, "expression ends where an operand is expected");
            default: fail(t.pos, "expected an operand, found '" + std::string(t.text) + "'");
        }
    }

    int parse_name() {
        Token first = tok_;
        advance();
        if (tok_.kind == Tok::LParen) {
            advance();
            std::vector<int> args;
            if (tok_.kind != Tok::RParen) {
                for (;;) {
                    args.push_back(parse_or());
                    if (tok_.kind != Tok::Comma) break;
                    advance();
                }
            }
            if (tok_.kind != Tok::RParen) fail(tok_.pos, "expected ')' or ','");
            advance();
            return fold(build_function(p_, upper_ascii(first.text), first.pos, args));
        }
        std::string alias;
        std::string name = upper_ascii(first.text);
        if (tok_.kind == Tok::Arrow) {
            advance();
            if (tok_.kind != Tok::Name) fail(tok_.pos, "expected a field name after '->'");
            alias = name;
            name = upper_ascii(tok_.text);
            advance();
            if (alias == "FIELD" || alias == "_FIELD") alias.clear();  // the current area's field, spelled out
        }
        auto binding = p_.binder->bind_field(alias, name);
        if (!binding) fail(first.pos, "unknown field " + (alias.empty() ? name : alias + "->" + name));
        return add_field(std::move(*binding), first.pos);
    }

    int add_field(FieldBinding b, std::size_t pos) {
        const FieldDef& d = b.def;
        Node n{.op = Op::Field, .type = d.type, .pos = pos, .width = std::max(d.width, 0)};
        if (d.type == FieldType::Numeric) {
            n.decimals = std::clamp(d.decimals, 0, Decimal::kScale);
            n.int_places = std::max(1, d.width - (n.decimals > 0 ? n.decimals + 1 : 0));
            n.is_field_layout = true;
        } else if (d.type == FieldType::Date) {
            n.width = 8;
        } else if (d.type == FieldType::Logical) {
            n.width = 1;
        }
        if (b.raw == nullptr && !b.get) fail(pos, "field " + d.name + " cannot be read");
        p_.fields.push_back(std::move(b));
        n.field = static_cast<int>(p_.fields.size()) - 1;
        return add(std::move(n));
    }

    // A node whose operands are all constant is computed once, here.
    int fold(int i) {
        if (!is_constant(p_, i)) return i;
        std::string scratch;
        Evaluator ev(p_, scratch);
        Node& n = p_.nodes[static_cast<std::size_t>(i)];
        try {
            switch (n.type) {
                case FieldType::Character: {
                    std::string s;
                    ev.text(i, s);
                    n.s = std::move(s);
                    break;
                }
                case FieldType::Numeric: n.n = ev.number(i); break;
                case FieldType::Date: n.d = ev.date(i); break;
                case FieldType::Logical: n.l = ev.logical(i); break;
            }
        } catch (const std::exception& e) {
            fail(n.pos, e.what());
        }
        n.op = Op::Const;
        n.a = n.b = n.c = -1;
        n.depth = 1;
        return i;
    }

    Lexer lex_;
    Token tok_;
    Program p_;
    int nesting_ = 0;
};

}  // namespace

Program compile_program(std::string_view text, Binder& binder) { return Parser(text, binder).run(); }

}  // namespace platform::table::detail

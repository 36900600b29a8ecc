#pragma once
// The compiled form of an expression: a flat vector of typed nodes (children by index) that
// the evaluator walks with one switch per node, and the field bindings it reads.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/expr.h"

namespace platform::table::detail {

enum class Op : uint8_t {
    // leaves
    Const, Field, Recno, Deleted, Today,
    // operators
    Neg, Not, And, Or, Compare,
    AddN, SubN, MulN, DivN, ModN,
    AddDateN, AddNDate, SubDateN, SubDateDate,
    Concat, ConcatTrim,
    Iif,
    // functions
    Str, StrZero, Dtos, Dtoc, Ctod,
    DescendC, DescendN, DescendD, DescendL,
    Substr, Left, Right, Upper, Lower, Rtrim, Ltrim, Alltrim,
    Space, Replicate, PadL, PadR, PadC, Chr,
    Val, Len, At, Asc, Round, Int, Abs, Mod, Min, Max,
    Year, Month, Day, Dow, Empty,
};

enum class Rel : uint8_t { Eq, ExactEq, Ne, Lt, Le, Gt, Ge, Contains };

struct Node {
    Op op = Op::Const;
    FieldType type = FieldType::Character;     // result type
    FieldType arg_type = FieldType::Character;  // operand type where the op serves several (Compare, Empty, Min, Pad...)
    Rel rel = Rel::Eq;
    int a = -1, b = -1, c = -1;  // children, by index into Program::nodes
    int field = -1;              // index into Program::fields
    std::size_t pos = 0;         // where it starts in the text, for messages
    int depth = 1;               // levels of nodes below and including this one
    // Static layout: C text width; for N the integer places and decimals of its key form.
    int width = 0;
    int int_places = 0;
    int decimals = 0;
    bool is_field_layout = false;  // N straight from a field: STR() without a width uses it
    // The value of a Const node, by type.
    std::string s{};
    Decimal n{};
    Date d{};
    bool l = false;
};

struct Program {
    std::string text;
    std::vector<Node> nodes;
    std::vector<FieldBinding> fields;
    Binder* binder = nullptr;
    int root = -1;
};

// Deepest nesting accepted: evaluation recurses once per level, and texts come from files too.
inline constexpr int kMaxDepth = 256;

// Appends a node, checking how deep it nests. Throws ExprError.
int add_node(Program& p, Node n);

// Longest text a function builds (SPACE, REPLICATE, PAD...): bad input must not exhaust memory.
inline constexpr int kMaxText = 65535;

// "character", "numeric"... for messages.
inline const char* type_name(FieldType t) {
    switch (t) {
        case FieldType::Character: return "character";
        case FieldType::Numeric: return "numeric";
        case FieldType::Date: return "date";
        case FieldType::Logical: return "logical";
    }
    return "?";
}

// N node layouts: the whole STR() width of integer places and decimals.
inline int numeric_width(int int_places, int decimals) { return int_places + (decimals > 0 ? decimals + 1 : 0); }

// Parsing (expr_parser.cpp). Throws ExprError.
Program compile_program(std::string_view text, Binder& binder);

// Function catalogue (expr_functions.cpp): builds the node of NAME(args) at `pos`, checking
// argument count and types; args are node indexes already in `p`. Throws ExprError.
int build_function(Program& p, std::string_view name, std::size_t pos, const std::vector<int>& args);
bool is_constant(const Program& p, int node);

// Evaluation (expr_eval.cpp).
class Evaluator {
  public:
    explicit Evaluator(const Program& p, std::string& scratch) : p_(p), scratch_(scratch) {}
    void text(int node, std::string& out);  // appends the C value
    Decimal number(int node);
    Date date(int node);
    bool logical(int node);
    Value value(int node);

  private:
    void field_text(const Node& n, std::string& out);
    Decimal field_number(const Node& n);
    Date field_date(const Node& n);
    bool field_logical(const Node& n);
    int integer(int node);
    int compare(const Node& n);
    bool compare_text(const Node& n);

    const Program& p_;
    std::string& scratch_;
};

}  // namespace platform::table::detail

// The function catalogue: argument checks, result types and the static layout (text width,
// numeric places) that key widths are inferred from.

#include <algorithm>
#include <array>

#include "platform/table/expr_functions.h"
#include "platform/table/expr_program.h"

namespace platform::table::detail {
namespace {

// Argument letters: C N D L, or '*' for any type.
struct Function {
    std::string_view name;
    Op op;
    int min_args;
    int max_args;
    std::string_view args;
    FieldType result;
};

constexpr FieldType C = FieldType::Character, N = FieldType::Numeric, D = FieldType::Date, L = FieldType::Logical;

constexpr std::array kFunctions = {
    Function{"STR", Op::Str, 1, 3, "NNN", C},          Function{"STRZERO", Op::StrZero, 1, 3, "NNN", C},
    Function{"DTOS", Op::Dtos, 1, 1, "D", C},          Function{"DTOC", Op::Dtoc, 1, 1, "D", C},
    Function{"CTOD", Op::Ctod, 1, 1, "C", D},          Function{"DESCEND", Op::DescendC, 1, 1, "*", C},
    Function{"IIF", Op::Iif, 3, 3, "L**", C},          Function{"IF", Op::Iif, 3, 3, "L**", C},
    Function{"SUBSTR", Op::Substr, 2, 3, "CNN", C},    Function{"LEFT", Op::Left, 2, 2, "CN", C},
    Function{"RIGHT", Op::Right, 2, 2, "CN", C},       Function{"UPPER", Op::Upper, 1, 1, "C", C},
    Function{"LOWER", Op::Lower, 1, 1, "C", C},        Function{"TRIM", Op::Rtrim, 1, 1, "C", C},
    Function{"RTRIM", Op::Rtrim, 1, 1, "C", C},        Function{"LTRIM", Op::Ltrim, 1, 1, "C", C},
    Function{"ALLTRIM", Op::Alltrim, 1, 1, "C", C},    Function{"SPACE", Op::Space, 1, 1, "N", C},
    Function{"REPLICATE", Op::Replicate, 2, 2, "CN", C}, Function{"PADL", Op::PadL, 2, 3, "*NC", C},
    Function{"PADR", Op::PadR, 2, 3, "*NC", C},        Function{"PADC", Op::PadC, 2, 3, "*NC", C},
    Function{"CHR", Op::Chr, 1, 1, "N", C},            Function{"VAL", Op::Val, 1, 1, "C", N},
    Function{"LEN", Op::Len, 1, 1, "C", N},            Function{"AT", Op::At, 2, 2, "CC", N},
    Function{"ASC", Op::Asc, 1, 1, "C", N},            Function{"ROUND", Op::Round, 2, 2, "NN", N},
    Function{"INT", Op::Int, 1, 1, "N", N},            Function{"ABS", Op::Abs, 1, 1, "N", N},
    Function{"MOD", Op::Mod, 2, 2, "NN", N},           Function{"MIN", Op::Min, 2, 2, "**", N},
    Function{"MAX", Op::Max, 2, 2, "**", N},           Function{"YEAR", Op::Year, 1, 1, "D", N},
    Function{"MONTH", Op::Month, 1, 1, "D", N},        Function{"DAY", Op::Day, 1, 1, "D", N},
    Function{"DOW", Op::Dow, 1, 1, "D", N},            Function{"EMPTY", Op::Empty, 1, 1, "*", L},
    Function{"RECNO", Op::Recno, 0, 0, "", N},         Function{"DELETED", Op::Deleted, 0, 0, "", L},
    Function{"DATE", Op::Today, 0, 0, "", D},
};

// Exact name first; otherwise a name of four letters or more may abbreviate a longer one.
const Function* find(std::string_view name) {
    for (const auto& f : kFunctions)
        if (f.name == name) return &f;
    if (name.size() >= 4)
        for (const auto& f : kFunctions)
            if (f.name.starts_with(name)) return &f;
    return nullptr;
}

class Builder {
  public:
    Builder(Program& p, const Function& f, std::size_t pos, const std::vector<int>& args)
        : p_(p), f_(f), pos_(pos), args_(args) {}

    int build() {
        check_arguments();
        Node n{.op = f_.op, .type = f_.result, .pos = pos_};
        if (!args_.empty()) n.a = args_[0];
        if (args_.size() > 1) n.b = args_[1];
        if (args_.size() > 2) n.c = args_[2];
        if (!args_.empty()) n.arg_type = arg(0).type;
        n.int_places = 10;  // numbers without a field layout (RECNO, LEN, YEAR...)
        layout(n);
        n.width = std::clamp(n.width, 0, kMaxText);
        return add_node(p_, std::move(n));
    }

  private:
    [[noreturn]] void fail(const std::string& what) const { throw ExprError(p_.text, pos_, what); }

    const Node& arg(std::size_t i) const { return p_.nodes[static_cast<std::size_t>(args_[i])]; }
    bool has(std::size_t i) const { return args_.size() > i; }
    // A constant integer argument, when it is one.
    std::optional<int> constant(std::size_t i) const {
        if (!has(i) || arg(i).op != Op::Const) return std::nullopt;
        auto v = arg(i).n.trunc(0);
        if (v > Decimal(kMaxText)) return kMaxText;
        if (v < Decimal(-kMaxText)) return -kMaxText;
        return static_cast<int>(v.to_int());
    }

    void check_arguments() const {
        int count = static_cast<int>(args_.size());
        if (count < f_.min_args || count > f_.max_args) {
            std::string expected = f_.min_args == f_.max_args ? std::to_string(f_.min_args)
                                                             : std::to_string(f_.min_args) + " to " + std::to_string(f_.max_args);
            fail(std::string(f_.name) + "() takes " + expected + " argument" + (f_.max_args == 1 ? "" : "s") + ", not " +
                 std::to_string(count));
        }
        for (std::size_t i = 0; i < args_.size(); ++i) {
            char want = f_.args[i];
            if (want == '*') continue;
            FieldType t = static_cast<FieldType>(want);
            if (arg(i).type != t)
                fail("argument " + std::to_string(i + 1) + " of " + std::string(f_.name) + "() must be " + type_name(t) +
                     ", not " + type_name(arg(i).type));
        }
    }

    void same_types(std::size_t i, std::size_t j) const {
        if (arg(i).type != arg(j).type)
            fail(std::string(f_.name) + "() needs arguments of one type, not " + type_name(arg(i).type) + " and " +
                 type_name(arg(j).type));
    }

    void numeric_like(Node& n, const Node& x, const Node& y) const {
        n.int_places = std::max(x.int_places, y.int_places);
        n.decimals = std::max(x.decimals, y.decimals);
    }

    void layout(Node& n) const {
        switch (f_.op) {
            case Op::Str:
            case Op::StrZero: return str_layout(n);
            case Op::Dtos: n.width = 8; return;
            case Op::Dtoc: n.width = 10; return;
            case Op::Ctod: n.width = 8; return;
            case Op::DescendC: return descend_layout(n);
            case Op::Iif: return iif_layout(n);
            case Op::Substr: {
                auto start = constant(1);
                if (!start) n.width = arg(0).width;
                else n.width = substr_range(arg(0).width, *start, has(2), constant(2).value_or(arg(0).width)).second;
                if (!start && constant(2)) n.width = std::min(arg(0).width, std::max(*constant(2), 0));
                return;
            }
            case Op::Left:
            case Op::Right: n.width = std::min(arg(0).width, std::max(constant(1).value_or(arg(0).width), 0)); return;
            case Op::Upper: case Op::Lower: case Op::Rtrim: case Op::Ltrim: case Op::Alltrim: n.width = arg(0).width; return;
            case Op::Space: n.width = std::max(constant(0).value_or(10), 0); return;
            case Op::Replicate: n.width = arg(0).width * std::clamp(constant(1).value_or(1), 0, kMaxText); return;
            case Op::PadL: case Op::PadR: case Op::PadC:
                if (arg(0).type == FieldType::Logical) fail(std::string(f_.name) + "() cannot pad a logical value");
                n.width = std::max(constant(1).value_or(arg(0).width), 0);
                return;
            case Op::Chr: n.width = 1; return;
            case Op::Val: n.decimals = 4; return;  // the text decides at run time; keys keep four places
            case Op::Round:
                n.int_places = arg(0).int_places + 1;
                n.decimals = std::clamp(constant(1).value_or(arg(0).decimals), 0, Decimal::kScale);
                return;
            case Op::Int: n.int_places = arg(0).int_places; return;
            case Op::Abs: n.int_places = arg(0).int_places; n.decimals = arg(0).decimals; return;
            case Op::Mod: numeric_like(n, arg(1), arg(0)); n.int_places = arg(1).int_places; return;
            case Op::Min:
            case Op::Max:
                same_types(0, 1);
                if (arg(0).type != FieldType::Numeric && arg(0).type != FieldType::Date)
                    fail(std::string(f_.name) + "() compares numbers or dates");
                n.type = arg(0).type;
                if (n.type == FieldType::Date) n.width = 8;
                else numeric_like(n, arg(0), arg(1));
                return;
            case Op::Empty: case Op::Deleted: n.width = 1; return;
            case Op::Today: n.width = 8; return;
            default: return;
        }
    }

    void str_layout(Node& n) const {
        const Node& x = arg(0);
        if (!has(1)) {
            // No width: a field keeps its own layout, anything else gets ten integer places.
            n.decimals = x.decimals;
            n.width = x.is_field_layout ? numeric_width(x.int_places, x.decimals) : numeric_width(10, x.decimals);
            return;
        }
        n.width = constant(1).value_or(10);
        n.decimals = has(2) ? constant(2).value_or(0) : 0;
    }

    void descend_layout(Node& n) const {
        const Node& x = arg(0);
        n.type = x.type;
        switch (x.type) {
            case FieldType::Character: n.op = Op::DescendC; n.width = x.width; break;
            case FieldType::Numeric:
                n.op = Op::DescendN;
                n.int_places = x.int_places + 1;
                n.decimals = x.decimals;
                break;
            case FieldType::Date: n.op = Op::DescendD; n.type = FieldType::Character; n.width = 8; break;
            case FieldType::Logical: n.op = Op::DescendL; n.width = 1; break;
        }
    }

    void iif_layout(Node& n) const {
        same_types(1, 2);
        const Node &x = arg(1), &y = arg(2);
        n.type = x.type;
        n.width = std::max(x.width, y.width);
        if (n.type == FieldType::Numeric) numeric_like(n, x, y);
    }

    Program& p_;
    const Function& f_;
    std::size_t pos_;
    const std::vector<int>& args_;
};

}  // namespace

std::pair<int, int> substr_range(int length, int start, bool has_count, int count) {
    int offset = start > 0 ? start - 1 : start == 0 ? 0 : std::max(length + start, 0);
    if (offset >= length) return {length, 0};
    int rest = length - offset;
    return {offset, has_count ? std::clamp(count, 0, rest) : rest};
}

int build_function(Program& p, std::string_view name, std::size_t pos, const std::vector<int>& args) {
    const Function* f = find(name);
    if (f == nullptr) throw ExprError(p.text, pos, "unknown function " + std::string(name) + "()");
    return Builder(p, *f, pos, args).build();
}

int add_node(Program& p, Node n) {
    for (int child : {n.a, n.b, n.c})
        if (child >= 0) n.depth = std::max(n.depth, p.nodes[static_cast<std::size_t>(child)].depth + 1);
    if (n.depth > kMaxDepth) throw ExprError(p.text, n.pos, "expression nested too deeply");
    p.nodes.push_back(std::move(n));
    return static_cast<int>(p.nodes.size()) - 1;
}

bool is_constant(const Program& p, int node) {
    const Node& n = p.nodes[static_cast<std::size_t>(node)];
    switch (n.op) {
        case Op::Field: case Op::Recno: case Op::Deleted: case Op::Today: return false;
        default: break;
    }
    for (int child : {n.a, n.b, n.c})
        if (child >= 0 && p.nodes[static_cast<std::size_t>(child)].op != Op::Const) return false;
    return true;
}

}  // namespace platform::table::detail

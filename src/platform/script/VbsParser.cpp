// Recursive-descent parser for VBScript expressions with VBScript's operator precedence:
// ^, unary -, * /, \, Mod, + -, &, comparisons, Not, And, Or, Xor (loosest).
#include "script/VbsErrors.h"
#include "script/VbsSyntax.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace script::detail {

namespace {

// A settings text is short; anything nested deeper is a mistake, and a bound keeps the
// recursive evaluation far away from the stack's end.
constexpr int maxDepth = 256;

using NodePtr = std::unique_ptr<Node>;

NodePtr finish(NodePtr n)
{
    for (const auto& a : n->args)
        n->depth = std::max(n->depth, a->depth + 1);
    if (n->depth > maxDepth)
        fail(errSyntax, tooComplexText(), n->pos);
    return n;
}

NodePtr unary(Op op, NodePtr a, qsizetype pos)
{
    auto n = std::make_unique<Node>();
    n->kind = Node::Kind::Unary;
    n->op = op;
    n->pos = pos;
    n->args.push_back(std::move(a));
    return finish(std::move(n));
}

NodePtr binary(Op op, NodePtr a, NodePtr b, qsizetype pos)
{
    auto n = std::make_unique<Node>();
    n->kind = Node::Kind::Binary;
    n->op = op;
    n->pos = pos;
    n->args.push_back(std::move(a));
    n->args.push_back(std::move(b));
    return finish(std::move(n));
}

struct OpName {
    const char16_t* text;
    Op op;
};

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    NodePtr whole()
    {
        if (peek().kind == Tok::End)
            fail(errSyntax, missingExpressionText(), 0);
        NodePtr n = orLevel();
        if (peek().kind != Tok::End)
            fail(errSyntax, syntaxErrorText(), peek().pos);
        return n;
    }

private:
    const Token& peek() const { return t_[i_]; }

    // Operators and keyword operators (Mod, And ...) matched without regard to case.
    bool isOp(const Token& t, const char16_t* text) const
    {
        if (t.kind == Tok::Op)
            return t.text == QStringView(text);
        return t.kind == Tok::Name && !t.bracketed &&
               t.text.compare(QStringView(text), Qt::CaseInsensitive) == 0;
    }

    // Consumes one of ops when it comes next.
    bool take(std::initializer_list<OpName> ops, Op* op, qsizetype* pos)
    {
        for (const OpName& o : ops) {
            if (isOp(peek(), o.text)) {
                *op = o.op;
                *pos = peek().pos;
                ++i_;
                return true;
            }
        }
        return false;
    }

    template <typename Next> NodePtr leftAssoc(std::initializer_list<OpName> ops, Next next)
    {
        NodePtr n = (this->*next)();
        Op op;
        qsizetype pos;
        while (take(ops, &op, &pos))
            n = binary(op, std::move(n), (this->*next)(), pos);
        return n;
    }

    NodePtr orLevel() { return leftAssoc({{u"Or", Op::Or}, {u"Xor", Op::Xor}}, &Parser::andLevel); }
    NodePtr andLevel() { return leftAssoc({{u"And", Op::And}}, &Parser::notLevel); }
    // Guards the recursion of prefix operators and parentheses.
    struct Deeper {
        explicit Deeper(Parser* p) : p_(p)
        {
            if (++p_->depth_ > maxDepth)
                fail(errSyntax, tooComplexText(), p_->peek().pos);
        }
        ~Deeper() { --p_->depth_; }
        Parser* p_;
    };

    NodePtr notLevel()
    {
        Deeper guard(this);
        Op op;
        qsizetype pos;
        if (take({{u"Not", Op::Not}}, &op, &pos))
            return unary(Op::Not, notLevel(), pos);
        return compare();
    }
    NodePtr compare()
    {
        return leftAssoc({{u"=", Op::Eq},
                          {u"<>", Op::Ne},
                          {u"<=", Op::Le},
                          {u">=", Op::Ge},
                          {u"<", Op::Lt},
                          {u">", Op::Gt}},
                         &Parser::concat);
    }
    NodePtr concat() { return leftAssoc({{u"&", Op::Concat}}, &Parser::additive); }
    NodePtr additive() { return leftAssoc({{u"+", Op::Add}, {u"-", Op::Sub}}, &Parser::modulo); }
    NodePtr modulo() { return leftAssoc({{u"Mod", Op::Mod}}, &Parser::intDiv); }
    NodePtr intDiv() { return leftAssoc({{u"\\", Op::IntDiv}}, &Parser::multiplicative); }
    NodePtr multiplicative()
    {
        return leftAssoc({{u"*", Op::Mul}, {u"/", Op::Div}}, &Parser::negation);
    }

    // -2^2 is -4: negation binds looser than ^.
    NodePtr negation()
    {
        Deeper guard(this);
        Op op;
        qsizetype pos;
        if (take({{u"-", Op::Neg}}, &op, &pos))
            return unary(Op::Neg, negation(), pos);
        if (take({{u"+", Op::Add}}, &op, &pos))
            return negation();
        return power();
    }

    // 2^-1 is 0.5: the exponent may carry its own sign.
    NodePtr power()
    {
        NodePtr n = primary();
        Op op;
        qsizetype pos;
        while (take({{u"^", Op::Pow}}, &op, &pos))
            n = binary(Op::Pow, std::move(n), exponent(), pos);
        return n;
    }
    NodePtr exponent()
    {
        Deeper guard(this);
        Op op;
        qsizetype pos;
        if (take({{u"-", Op::Neg}}, &op, &pos))
            return unary(Op::Neg, exponent(), pos);
        if (take({{u"+", Op::Add}}, &op, &pos))
            return exponent();
        return primary();
    }

    NodePtr primary()
    {
        const Token& t = peek();
        Deeper guard(this);
        NodePtr n;
        if (t.kind == Tok::Number || t.kind == Tok::Text) {
            n = literal(t.kind == Tok::Number ? Value::number(t.number) : Value::text(t.text));
        } else if (isOp(t, u"(")) {
            ++i_;
            n = orLevel();
            expectClose();
        } else if (t.kind == Tok::Name && !isKeyword(t)) {
            n = nameOrCall();
        } else {
            fail(errSyntax, t.kind == Tok::End ? missingExpressionText() : syntaxErrorText(),
                 t.pos);
        }
        return n;
    }

    NodePtr literal(const Value& v)
    {
        auto n = std::make_unique<Node>();
        n->value = v;
        n->pos = peek().pos;
        ++i_;
        return n;
    }

    bool isKeyword(const Token& t) const
    {
        for (const char16_t* k : {u"Mod", u"And", u"Or", u"Xor", u"Not"}) {
            if (isOp(t, k))
                return true;
        }
        return false;
    }

    NodePtr nameOrCall()
    {
        const Token& t = peek();
        if (!t.bracketed && (isOp(t, u"True") || isOp(t, u"False"))) {
            const bool b = isOp(t, u"True");
            return literal(Value::boolean(b));
        }
        auto n = std::make_unique<Node>();
        n->kind = Node::Kind::Name;
        n->name = t.bracketed ? u"[%1]"_s.arg(t.text) : t.text;
        n->pos = t.pos;
        ++i_;
        if (!isOp(peek(), u"("))
            return n;
        n->kind = Node::Kind::Call;
        ++i_;
        if (!isOp(peek(), u")")) {
            n->args.push_back(orLevel());
            while (isOp(peek(), u",")) {
                ++i_;
                n->args.push_back(orLevel());
            }
        }
        expectClose();
        return finish(std::move(n));
    }

    void expectClose()
    {
        if (!isOp(peek(), u")"))
            fail(errMissingParen, missingParenText(), peek().pos);
        ++i_;
    }

    std::vector<Token> t_;
    size_t i_ = 0;
    int depth_ = 0;
};

} // namespace

std::unique_ptr<Node> parse(QStringView text)
{
    Parser p(tokenize(text));
    return p.whole();
}

} // namespace script::detail

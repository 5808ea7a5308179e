// Walks the syntax tree of an expression; operands are evaluated left to right, both always.
#include "script/VbsErrors.h"
#include "script/VbsSyntax.h"

namespace script::detail {

namespace {

Value call(const Node& n)
{
    std::vector<Value> args;
    args.reserve(n.args.size());
    for (const auto& a : n.args)
        args.push_back(evaluate(*a));
    Value result;
    // A call of an unknown name is a type mismatch in VBScript, naming the function.
    if (!callFunction(n.name, args, &result))
        fail(errTypeMismatch, named(typeMismatchText(), n.name));
    return result;
}

// A bare name is a variable, and these expressions have none: a placeholder the station did not
// fill in ("[重]") would silently count as 0 in VBScript, so it is reported instead.
Value name(const Node& n)
{
    Value result;
    if (callFunction(n.name, {}, &result))
        return result;
    fail(errUndefined, named(undefinedText(), n.name));
}

} // namespace

Value evaluate(const Node& n)
{
    switch (n.kind) {
    case Node::Kind::Literal:
        return n.value;
    case Node::Kind::Unary:
        return applyUnary(n.op, evaluate(*n.args[0]));
    case Node::Kind::Binary: {
        const Value a = evaluate(*n.args[0]);
        return applyBinary(n.op, a, evaluate(*n.args[1]));
    }
    case Node::Kind::Call:
        return call(n);
    case Node::Kind::Name:
        break;
    }
    return name(n);
}

} // namespace script::detail

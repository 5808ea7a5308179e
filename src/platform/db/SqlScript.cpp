// The interpreter of T-SQL batches with control flow and variables (see SqlScript.h).
#include "db/SqlScript.h"

#include "db/DateText.h"
#include "db/DbBackend.h"
#include "db/DbProcedures.h"
#include "db/SqlBatch.h"
#include "db/SqlTranslator.h"

#include <QLoggingCategory>
#include <cmath>
#include <utility>

using namespace SqlLex;
using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcSqlPrint, "mirel.db.print")

namespace {

QString lower(const SqlToken& t) { return t.text.toLower(); }

std::function<void(const QString&)>& printHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

DbError error(const QString& message)
{
    return DbError(message, u"42000"_s, 0);
}

// A piece of the batch and what it contains: a statement, or if/while with their condition and
// body, or a begin … end block.
struct Node {
    enum Kind { Statement, If, While, Block };
    Kind kind = Statement;
    QString verb;
    SqlTokens tokens;      // the statement, or the condition of if/while
    QList<Node> children;  // if: then [, else]; while: body; block: its statements
};

QString verbOf(const SqlTokens& t)
{
    const qsizetype first = next(t, 0);
    if (first >= t.size())
        return QString();
    QString verb = t.at(first).is(SqlToken::Word) ? lower(t.at(first)) : QString();
    const qsizetype second = next(t, first + 1);
    if ((verb == u"begin" || verb == u"end") && second < t.size() && t.at(second).is(SqlToken::Word))
        verb += u' ' + lower(t.at(second));
    if (verb == u"begin transaction" || verb == u"begin distributed")
        verb = u"begin tran"_s;
    return verb;
}

// The tokens after the first word (the condition of if/while, the rest of a statement).
SqlTokens afterFirst(const SqlTokens& t) { return t.mid(next(t, 0) + 1); }

// "rollback to name": the embedded engine's own return to a savepoint, which leaves the
// transaction (and the count of open ones) as it is.
bool toSavepoint(const SqlTokens& t)
{
    const SqlTokens rest = afterFirst(t);
    const qsizetype at = next(rest, 0);
    return at < rest.size() && rest.at(at).isWord(u"to");
}

class Parser {
public:
    explicit Parser(QList<SqlTokens> pieces) : m_pieces(std::move(pieces)) {}

    QList<Node> all()
    {
        QList<Node> out;
        while (m_at < m_pieces.size())
            out.append(one());
        return out;
    }

private:
    Node one()
    {
        if (m_at >= m_pieces.size())
            throw error(u"批处理在语句之前结束（if、while 或 else 之后缺少语句）"_s);
        Node n;
        n.tokens = m_pieces.at(m_at++);
        n.verb = verbOf(n.tokens);
        if (n.verb == u"begin try" || n.verb == u"begin catch" || n.verb == u"goto")
            throw error(u"嵌入式数据库不支持 %1"_s.arg(n.verb.toUpper()));
        if (n.verb == u"else" || n.verb.startsWith(u"end"))
            throw error(u"“%1”附近有语法错误（前面没有对应的 %2）"_s.arg(
                n.verb, n.verb == u"else" ? u"IF"_s : u"BEGIN"_s));
        if (n.verb == u"if" || n.verb == u"while") {
            n.kind = n.verb == u"if" ? Node::If : Node::While;
            n.tokens = afterFirst(n.tokens);
            if (next(n.tokens, 0) >= n.tokens.size())
                throw error(u"%1 后缺少条件"_s.arg(n.verb.toUpper()));
            n.children.append(one());
            if (n.kind == Node::If && m_at < m_pieces.size() &&
                verbOf(m_pieces.at(m_at)) == u"else") {
                ++m_at;
                n.children.append(one());
            }
        } else if (n.verb == u"begin") {
            n.kind = Node::Block;
            while (m_at < m_pieces.size() && verbOf(m_pieces.at(m_at)) != u"end")
                n.children.append(one());
            if (m_at >= m_pieces.size())
                throw error(u"BEGIN 没有对应的 END"_s);
            ++m_at;
        }
        return n;
    }

    QList<SqlTokens> m_pieces;
    qsizetype m_at = 0;
};

// A declared variable: its type and value.
struct Variable {
    enum Type { Integer, Bit, Decimal, Float, Text, DateTime, Date };
    Type type = Text;
    int length = -1; // texts: characters kept (-1: max)
    int scale = -1;  // decimal: digits after the point
    DbValue value;
};

Variable::Type typeOf(const QString& name)
{
    if (name == u"int" || name == u"bigint" || name == u"smallint" || name == u"tinyint")
        return Variable::Integer;
    if (name == u"bit")
        return Variable::Bit;
    if (name == u"decimal" || name == u"numeric" || name == u"money" || name == u"smallmoney")
        return Variable::Decimal;
    if (name == u"float" || name == u"real")
        return Variable::Float;
    if (name == u"datetime" || name == u"smalldatetime" || name == u"datetime2")
        return Variable::DateTime;
    if (name == u"date")
        return Variable::Date;
    if (name == u"varchar" || name == u"nvarchar" || name == u"char" || name == u"nchar" ||
        name == u"text" || name == u"ntext" || name == u"sysname" || name == u"uniqueidentifier")
        return Variable::Text;
    throw error(u"嵌入式数据库不支持变量类型 %1"_s.arg(name));
}

[[noreturn]] void convertFailed(const DbValue& v, const char* type)
{
    throw DbError(
        u"在将值 '%1' 转换成数据类型 %2 时失败。"_s.arg(v.toString(), QLatin1StringView(type)),
        u"22018"_s, 245);
}

// A value converted to a variable's type as SQL Server converts on assignment.
DbValue coerce(const DbValue& v, const Variable& var)
{
    if (v.isNull())
        return v;
    switch (var.type) {
    case Variable::Integer:
    case Variable::Bit: {
        qint64 n = 0;
        if (v.type() == DbValue::Type::Text) {
            bool ok = false;
            n = v.toString().trimmed().toLongLong(&ok);
            if (!ok)
                convertFailed(v, "int");
        } else {
            n = v.toLongLong();
        }
        return var.type == Variable::Bit ? DbValue(qint64(n != 0)) : DbValue(n);
    }
    case Variable::Decimal:
    case Variable::Float: {
        double x = 0;
        if (v.type() == DbValue::Type::Text) {
            bool ok = false;
            x = v.toString().trimmed().toDouble(&ok);
            if (!ok)
                convertFailed(v, var.type == Variable::Float ? "float" : "numeric");
        } else {
            x = v.toDouble();
        }
        if (var.type == Variable::Decimal && var.scale >= 0) {
            const double f = std::pow(10.0, var.scale);
            x = std::round(x * f) / f;
        }
        return DbValue(x);
    }
    case Variable::DateTime:
    case Variable::Date: {
        QDateTime t;
        if (v.type() == DbValue::Type::Integer || v.type() == DbValue::Type::Decimal)
            t = QDateTime(QDate(1900, 1, 1), QTime(0, 0))
                    .addMSecs(qint64(std::llround(v.toDouble() * 86400000.0)));
        else
            t = v.toDateTime();
        if (!t.isValid())
            convertFailed(v, "datetime");
        if (var.type == Variable::Date)
            t.setTime(QTime(0, 0));
        return DbValue(t);
    }
    case Variable::Text: {
        QString s = v.type() == DbValue::Type::DateTime ? DateText::iso(v.toDateTime())
                                                        : v.toString();
        if (var.length >= 0 && s.size() > var.length)
            s.truncate(var.length);
        return DbValue(s);
    }
    }
    return v;
}

// printf-like arguments of raiserror: %s %d %i %u, %% for a percent sign.
QString formatMessage(const QString& format, const QList<DbValue>& args)
{
    QString out;
    int used = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) != u'%' || i + 1 >= format.size()) {
            out += format.at(i);
            continue;
        }
        qsizetype j = i + 1;
        if (format.at(j) == u'%') {
            out += u'%';
            i = j;
            continue;
        }
        while (j < format.size() && (format.at(j).isDigit() || QStringView(u"-+ #.*").contains(format.at(j))))
            ++j;
        if (j < format.size() && QStringView(u"sdiuxXo").contains(format.at(j))) {
            const DbValue a = args.value(used++);
            out += a.isNull() ? u"(null)"_s
                              : format.at(j) == u's' ? a.toString() : QString::number(a.toLongLong());
            i = j;
        } else {
            out += format.at(i);
        }
    }
    return out;
}

class Runner {
public:
    Runner(DbBackend& backend, qint64& rowsAffected)
        : m_b(backend), m_s(backend.session()), m_rowsAffected(rowsAffected)
    {
    }

    Recordset run(const QList<Node>& nodes)
    {
        try {
            for (const Node& n : nodes) {
                if (step(n) == Flow::Return)
                    break;
            }
        } catch (...) {
            if (m_s.owns) {
                m_s.owns = false;
                m_s.depth = 0;
                try {
                    m_b.rollback();
                } catch (const DbError&) {
                    // The error that ended the batch is the one to report.
                }
            }
            throw;
        }
        return m_last;
    }

private:
    enum class Flow { Next, Break, Continue, Return };

    Flow step(const Node& n)
    {
        switch (n.kind) {
        case Node::If:
            if (condition(n.tokens))
                return step(n.children.at(0));
            return n.children.size() > 1 ? step(n.children.at(1)) : Flow::Next;
        case Node::While:
            for (int i = 0; condition(n.tokens); ++i) {
                if (i >= m_s.whileLimit)
                    throw error(
                        u"WHILE 循环已执行 %1 次，批处理作为死循环停止"_s.arg(m_s.whileLimit));
                const Flow f = step(n.children.at(0));
                if (f == Flow::Break)
                    break;
                if (f == Flow::Return)
                    return f;
            }
            return Flow::Next;
        case Node::Block:
            for (const Node& c : n.children) {
                const Flow f = step(c);
                if (f != Flow::Next)
                    return f;
            }
            return Flow::Next;
        case Node::Statement:
            break;
        }
        return statement(n);
    }

    Flow statement(const Node& n)
    {
        const QString& v = n.verb;
        if (v == u"break")
            return Flow::Break;
        if (v == u"continue")
            return Flow::Continue;
        if (v == u"return")
            return Flow::Return;
        if (v == u"declare")
            declare(afterFirst(n.tokens));
        else if (v == u"set")
            set(afterFirst(n.tokens));
        else if (v == u"print")
            print(value(afterFirst(n.tokens)).toString());
        else if (v == u"raiserror")
            raiserror(afterFirst(n.tokens));
        else if (v == u"throw")
            throwError(afterFirst(n.tokens));
        else if (v == u"begin tran")
            beginTran();
        else if ((v == u"commit" || v == u"rollback") && !toSavepoint(n.tokens))
            endTran(v == u"commit");
        else if (v == u"save")
            throw error(u"嵌入式数据库不支持 SAVE TRANSACTION"_s);
        else if (v == u"select" && isAssignment(n.tokens))
            selectInto(n.tokens);
        else if (v == u"exec" || v == u"execute")
            exec(n.tokens);
        else
            plain(n.tokens);
        return Flow::Next;
    }

    // The statement's text with "?n" for each variable, and the values in params.
    QString bound(const SqlTokens& t, QList<DbValue>& params)
    {
        QString text;
        for (qsizetype i = 0; i < t.size(); ++i) {
            const SqlToken& tok = t.at(i);
            if (!tok.is(SqlToken::Variable)) {
                text += tok.text;
                continue;
            }
            const QString name = lower(tok);
            if (name == u"@@identity") {
                text += tok.text;
                continue;
            }
            DbValue value;
            Variable::Type type = Variable::Integer;
            if (name == u"@@rowcount") {
                value = DbValue(m_rowcount);
            } else if (name == u"@@trancount") {
                value = DbValue(qint64(trancount()));
            } else if (name == u"@@error") {
                value = DbValue(qint64(0));
            } else {
                const auto it = m_vars.constFind(name);
                if (it == m_vars.constEnd())
                    throw DbError(u"必须声明标量变量 \"%1\"。"_s.arg(tok.text), u"42000"_s, 137);
                value = it->value;
                type = it->type;
            }
            // Dates travel as the ISO text the database stores (an ODBC timestamp would come
            // with milliseconds and compare as a later text).
            if (value.type() == DbValue::Type::DateTime)
                value = DbValue(DateText::iso(value.toDateTime()));
            params.append(value);
            const QString marker = u'?' + QString::number(params.size());
            // Next to "+"/"-" the translator must know a text or a date for what it is.
            const qsizetype p = prev(t, i - 1), q = next(t, i + 1);
            const bool arithmetic = (p >= 0 && (t.at(p).isPunct(u"+") || t.at(p).isPunct(u"-"))) ||
                                    (q < t.size() && (t.at(q).isPunct(u"+") || t.at(q).isPunct(u"-")));
            if (arithmetic && type == Variable::Text)
                text += u"cast(%1 as nvarchar(4000))"_s.arg(marker);
            else if (arithmetic && (type == Variable::DateTime || type == Variable::Date))
                text += u"cast(%1 as datetime)"_s.arg(marker);
            else
                text += marker;
        }
        return text;
    }

    // Runs one statement with its variables bound; counts its rows for @@rowcount.
    Recordset execute(const SqlTokens& t)
    {
        QList<DbValue> params;
        const QString text = bound(t, params);
        qint64 changed = -1;
        Recordset rs = params.isEmpty() ? m_b.execute(text, changed)
                                        : m_b.executeWith(text, params, changed);
        if (rs.isOpen()) {
            m_rowcount = rs.recordCount();
        } else {
            m_rowcount = qMax<qint64>(changed, 0);
            if (changed >= 0)
                m_rowsAffected = changed;
        }
        return rs;
    }

    void plain(const SqlTokens& t)
    {
        Recordset rs = execute(t);
        if (rs.isOpen())
            m_last = std::move(rs);
    }

    // The value of an expression: the first column of "SELECT expr" (null when it gives no row).
    DbValue value(const SqlTokens& expr)
    {
        if (next(expr, 0) >= expr.size())
            throw error(u"缺少表达式"_s);
        const qint64 rowcount = m_rowcount;
        const Recordset rs = execute(tokenize(u"SELECT "_s) + expr);
        m_rowcount = rowcount;
        return rs.recordCount() > 0 && rs.fieldCount() > 0 ? rs.rows().first().first() : DbValue();
    }

    bool condition(const SqlTokens& cond)
    {
        return value(tokenize(u"CASE WHEN "_s) + cond + tokenize(u" THEN 1 ELSE 0 END"_s))
                   .toLongLong() == 1;
    }

    // "@a int = 1, @b varchar(20), @c as datetime = getdate()"
    void declare(const SqlTokens& t)
    {
        SqlTokens all = tokenize(u"("_s) + t + tokenize(u")"_s);
        for (const auto& [from, to] : arguments(all, 0)) {
            qsizetype i = next(all, from);
            if (i >= to || !all.at(i).is(SqlToken::Variable))
                throw error(u"DECLARE 后应为变量名：%1"_s.arg(join(all, from, to)));
            const QString name = lower(all.at(i));
            i = next(all, i + 1);
            if (i < to && all.at(i).isWord(u"as"))
                i = next(all, i + 1);
            if (i >= to || !all.at(i).is(SqlToken::Word))
                throw error(u"变量 %1 缺少类型"_s.arg(name));
            if (all.at(i).isWord(u"table") || all.at(i).isWord(u"cursor"))
                throw error(u"嵌入式数据库不支持 %1 变量：%2"_s.arg(lower(all.at(i)), name));
            Variable var;
            var.type = typeOf(lower(all.at(i)));
            const bool declaredText = var.type == Variable::Text;
            i = next(all, i + 1);
            if (i < to && all.at(i).isPunct(u"(")) {
                const auto sizes = arguments(all, i);
                const QString first = sizes.isEmpty() ? QString()
                                                      : join(all, sizes.at(0).first, sizes.at(0).second).trimmed();
                if (declaredText)
                    var.length = first.compare(u"max"_s, Qt::CaseInsensitive) == 0 ? -1 : first.toInt();
                if (var.type == Variable::Decimal && sizes.size() > 1)
                    var.scale = join(all, sizes.at(1).first, sizes.at(1).second).trimmed().toInt();
                else if (var.type == Variable::Decimal)
                    var.scale = 0;
                i = next(all, closing(all, i) + 1);
            } else if (declaredText) {
                var.length = 1; // "declare @s varchar" holds one character, as on SQL Server
            } else if (var.type == Variable::Decimal) {
                var.scale = lower(all.at(prev(all, i - 1))).contains(u"money") ? 4 : 0;
            }
            if (i < to && all.at(i).isPunct(u"="))
                var.value = coerce(value(all.mid(i + 1, to - i - 1)), var);
            else if (i < to)
                throw error(u"“%1”附近有语法错误"_s.arg(join(all, i, to).trimmed()));
            m_vars.insert(name, var);
        }
    }

    Variable& variable(const SqlToken& tok)
    {
        const auto it = m_vars.find(lower(tok));
        if (it == m_vars.end())
            throw DbError(u"必须声明标量变量 \"%1\"。"_s.arg(tok.text), u"42000"_s, 137);
        return *it;
    }

    // "set @v = expr" (also +=, -=, *=, /=) or a session option.
    void set(const SqlTokens& t)
    {
        const qsizetype first = next(t, 0);
        if (first < t.size() && t.at(first).is(SqlToken::Variable)) {
            Variable& var = variable(t.at(first));
            qsizetype op = next(t, first + 1);
            if (op >= t.size())
                throw error(u"SET %1 缺少“=”"_s.arg(t.at(first).text));
            SqlTokens expr;
            if (t.at(op).isPunct(u"=")) {
                expr = t.mid(op + 1);
            } else if (QStringView(u"+-*/").contains(t.at(op).text) && op + 1 < t.size() &&
                       t.at(op + 1).isPunct(u"=")) {
                expr = SqlTokens{t.at(first), t.at(op), SqlToken{SqlToken::Punct, u"("_s}} +
                       t.mid(op + 2) + SqlTokens{SqlToken{SqlToken::Punct, u")"_s}};
            } else {
                throw error(u"SET %1 缺少“=”"_s.arg(t.at(first).text));
            }
            var.value = coerce(value(expr), var);
            m_rowcount = 1;
            return;
        }
        const QString option = first < t.size() ? lower(t.at(first)) : QString();
        const qsizetype arg = next(t, first + 1);
        const bool on = arg < t.size() && t.at(arg).isWord(u"on");
        static const QStringList ignored = {
            u"ansi_nulls"_s,  u"quoted_identifier"_s, u"ansi_warnings"_s, u"ansi_padding"_s,
            u"arithabort"_s,  u"xact_abort"_s,        u"concat_null_yields_null"_s,
            u"transaction"_s, u"deadlock_priority"_s, u"lock_timeout"_s, u"identity_insert"_s,
            u"language"_s,    u"datefirst"_s,         u"dateformat"_s};
        if (option == u"nocount")
            m_s.nocount = on;
        else if (!ignored.contains(option))
            throw error(u"嵌入式数据库不支持 SET %1"_s.arg(option.toUpper()));
        m_rowcount = 0;
    }

    // "select @a = x, @b = y from …": the last row's values; unchanged when there is none.
    static bool isAssignment(const SqlTokens& t)
    {
        qsizetype i = next(t, next(t, 0) + 1);
        if (i < t.size() && (t.at(i).isWord(u"top")))
            return false;
        if (i < t.size() && t.at(i).isWord(u"distinct"))
            i = next(t, i + 1);
        const qsizetype eq = i < t.size() ? next(t, i + 1) : t.size();
        return i < t.size() && t.at(i).is(SqlToken::Variable) && !t.at(i).text.startsWith(u"@@") &&
               eq < t.size() && t.at(eq).isPunct(u"=");
    }

    void selectInto(const SqlTokens& t)
    {
        const qsizetype sel = next(t, 0);
        // The select list ends at the first clause word of its level.
        static const QStringList ends = {u"from"_s,  u"where"_s, u"group"_s, u"order"_s,
                                         u"having"_s, u"union"_s, u"into"_s, u"option"_s};
        qsizetype end = sel + 1;
        int depth = 0;
        for (; end < t.size(); ++end) {
            if (t.at(end).isPunct(u"("))
                ++depth;
            else if (t.at(end).isPunct(u")"))
                --depth;
            else if (depth == 0 && t.at(end).is(SqlToken::Word) && ends.contains(lower(t.at(end))))
                break;
        }
        SqlTokens list = tokenize(u"("_s) + t.mid(sel + 1, end - sel - 1) + tokenize(u")"_s);
        QList<Variable*> targets;
        SqlTokens query = tokenize(u"SELECT "_s);
        for (const auto& [from, to] : arguments(list, 0)) {
            const qsizetype v = next(list, from);
            const qsizetype eq = next(list, v + 1);
            if (v >= to || !list.at(v).is(SqlToken::Variable) || eq >= to || !list.at(eq).isPunct(u"="))
                throw error(u"向变量赋值的 SELECT 语句不能同时返回数据"_s);
            targets.append(&variable(list.at(v)));
            if (targets.size() > 1)
                query.append(SqlToken{SqlToken::Punct, u","_s});
            query += list.mid(eq + 1, to - eq - 1);
        }
        query += t.mid(end);
        const Recordset rs = execute(query);
        for (const QList<DbValue>& row : rs.rows()) {
            for (qsizetype i = 0; i < targets.size() && i < row.size(); ++i)
                targets[i]->value = coerce(row.at(i), *targets.at(i));
        }
        m_rowcount = rs.recordCount();
    }

    // exec with variables among its arguments: the procedure gets their values.
    void exec(const SqlTokens& t)
    {
        SqlStatement call;
        if (!SqlTranslator::procedureCall(t, call)) {
            plain(t);
            return;
        }
        for (QString& a : call.arguments) {
            if (a.startsWith(u'@')) {
                const SqlTokens name = tokenize(a);
                a = variable(name.first()).value.toString();
            }
        }
        qint64 changed = 0;
        Recordset rs = DbProcedures::run(call.procedure, call.arguments,
                                         [this, &changed](const QString& q) {
                                             return m_b.execute(q, changed);
                                         });
        if (rs.isOpen())
            m_last = std::move(rs);
    }

    void print(const QString& message)
    {
        m_rowcount = 0;
        if (printHandler())
            printHandler()(message);
        else
            qCInfo(lcSqlPrint).noquote() << message;
    }

    QList<DbValue> values(const SqlTokens& t)
    {
        SqlTokens all = tokenize(u"("_s) + t + tokenize(u")"_s);
        QList<DbValue> out;
        for (const auto& [from, to] : arguments(all, 0))
            out.append(value(all.mid(from, to - from)));
        return out;
    }

    // raiserror('message %s', severity, state, args…) [with …]
    void raiserror(const SqlTokens& t)
    {
        const qsizetype open = next(t, 0);
        if (open >= t.size() || !t.at(open).isPunct(u"("))
            throw error(u"RAISERROR 应写作 RAISERROR('消息', 级别, 状态)"_s);
        const qsizetype close = closing(t, open);
        const QList<DbValue> args = values(t.mid(open + 1, close - open - 1));
        if (args.size() < 3)
            throw error(u"RAISERROR 应写作 RAISERROR('消息', 级别, 状态)"_s);
        const QString message = formatMessage(args.at(0).toString(), args.mid(3));
        if (args.at(1).toLongLong() <= 10) {
            print(message);
            return;
        }
        throw DbError(message, u"50000"_s, 50000);
    }

    // throw number, 'message', state
    void throwError(const SqlTokens& t)
    {
        const QList<DbValue> args = values(t);
        if (args.size() != 3)
            throw error(u"嵌入式数据库只支持带参数的 THROW 错误号, '消息', 状态"_s);
        throw DbError(args.at(1).toString(), args.at(0).toString(), args.at(0).toInt());
    }

    int trancount() const
    {
        return m_s.depth + (m_b.inTransaction() && !m_s.owns ? 1 : 0);
    }

    void beginTran()
    {
        if (!m_b.inTransaction()) {
            m_b.begin();
            m_s.owns = true;
        }
        ++m_s.depth;
        m_rowcount = 0;
    }

    void endTran(bool commit)
    {
        if (trancount() == 0)
            throw DbError(u"%1 TRANSACTION 请求没有对应的 BEGIN TRANSACTION。"_s.arg(
                              commit ? u"COMMIT"_s : u"ROLLBACK"_s),
                          u"25000"_s, commit ? 3902 : 3903);
        if (m_s.depth == 0)
            throw error(u"批处理不能结束程序开始的事务"_s);
        m_rowcount = 0;
        if (!commit) {
            m_s.depth = 0;
            if (std::exchange(m_s.owns, false))
                m_b.rollback();
            return;
        }
        if (--m_s.depth == 0 && std::exchange(m_s.owns, false))
            m_b.commit();
    }

    DbBackend& m_b;
    SqlSession& m_s;
    qint64& m_rowsAffected;
    QHash<QString, Variable> m_vars;
    qint64 m_rowcount = 0;
    Recordset m_last;
};

} // namespace

namespace SqlScript {

void setPrintHandler(std::function<void(const QString&)> handler)
{
    printHandler() = std::move(handler);
}

Recordset run(const QString& batch, DbBackend& backend, qint64& rowsAffected)
{
    const QList<Node> nodes = Parser(SqlBatch::split(tokenize(batch))).all();
    return Runner(backend, rowsAffected).run(nodes);
}

} // namespace SqlScript

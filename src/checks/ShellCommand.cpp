#include "ShellCommand.h"

#include <algorithm>
#include <array>

namespace Tempolane {

namespace {

bool isNameStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isNameCharacter(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isOperatorStart(QChar c)
{
    return c == u';' || c == u'&' || c == u'|' || c == u'(' || c == u')' || c == u'<' || c == u'>';
}

// Longest first, so that "&&" is not read as two "&".
constexpr std::array<QStringView, 19> operators{u"<<<", u"<<-", u"&&", u"||", u";;", u"&>", u"<<",
                                                u">>",  u"<&",  u">&", u"<>", u">|", u";",  u"&",
                                                u"|",   u"(",   u")",  u"<",  u">"};

bool isRedirection(QStringView operation)
{
    return operation.contains(u'<') || operation.contains(u'>');
}

struct Token
{
    bool isOperator = false;
    QString operation;
    ShellWord word;
    // Digits written right before a redirection ("2>").
    int descriptor = -1;
};

class Lexer
{
public:
    explicit Lexer(QStringView text) : m_text(text) {}

    QList<Token> tokens()
    {
        QList<Token> tokens;
        while (true) {
            while (m_i < m_text.size() && isBlank(m_text[m_i]))
                ++m_i;
            if (m_i >= m_text.size() || m_text[m_i] == u'#')
                break;
            if (isOperatorStart(m_text[m_i])) {
                tokens.append(operatorToken(-1));
                continue;
            }
            Token token;
            token.word = word();
            const bool isNumber = !token.word.text.isEmpty() && !token.word.isQuoted &&
                                  token.word.text.size() <= 2 &&
                                  std::all_of(token.word.text.begin(), token.word.text.end(),
                                              [](QChar c) { return c.isDigit(); });
            if (isNumber && m_i < m_text.size() && (m_text[m_i] == u'<' || m_text[m_i] == u'>')) {
                tokens.append(operatorToken(token.word.text.toInt()));
                continue;
            }
            tokens.append(std::move(token));
        }
        return tokens;
    }

    bool isComplete() const { return m_isComplete; }
    const QStringList& bashOnly() const { return m_bashOnly; }
    void noteBashOnly(const QString& construct)
    {
        if (!m_bashOnly.contains(construct))
            m_bashOnly.append(construct);
    }

private:
    Token operatorToken(int descriptor)
    {
        Token token;
        token.isOperator = true;
        token.descriptor = descriptor;
        for (const QStringView operation : operators) {
            if (m_text.sliced(m_i).startsWith(operation)) {
                token.operation = operation.toString();
                m_i += operation.size();
                break;
            }
        }
        if (token.operation == u"&>" || token.operation == u"<<<")
            noteBashOnly(token.operation);
        return token;
    }

    ShellWord word()
    {
        ShellWord word;
        const qsizetype start = m_i;
        word.start = start;
        word.startsWithTilde = m_text[m_i] == u'~';
        while (m_i < m_text.size() && !isBlank(m_text[m_i]) && !isOperatorStart(m_text[m_i])) {
            const QChar c = m_text[m_i];
            if (c == u'\\') {
                word.isQuoted = true;
                if (m_i + 1 < m_text.size())
                    word.value += m_text[m_i + 1];
                m_i += 2;
            } else if (c == u'\'') {
                word.isQuoted = true;
                const qsizetype close = m_text.indexOf(u'\'', m_i + 1);
                if (close < 0) {
                    m_isComplete = false;
                    m_i = m_text.size();
                    break;
                }
                word.value += m_text.sliced(m_i + 1, close - m_i - 1);
                m_i = close + 1;
            } else if (c == u'"') {
                word.isQuoted = true;
                doubleQuoted(word);
            } else if (c == u'$' || c == u'`') {
                expansion(word);
            } else {
                if (c == u'*' || c == u'?' || c == u'[')
                    word.hasGlob = true;
                if (c == u'{' && isBraceList(m_i))
                    word.hasBraceList = true;
                word.value += c;
                ++m_i;
            }
        }
        word.text = m_text.sliced(start, std::min(m_i, m_text.size()) - start).toString();
        if (word.hasBraceList)
            noteBashOnly(QStringLiteral("{a,b}"));
        return word;
    }

    void doubleQuoted(ShellWord& word)
    {
        ++m_i;
        while (m_i < m_text.size() && m_text[m_i] != u'"') {
            const QChar c = m_text[m_i];
            if (c == u'\\' && m_i + 1 < m_text.size()) {
                const QChar next = m_text[m_i + 1];
                if (next != u'$' && next != u'`' && next != u'"' && next != u'\\')
                    word.value += c;
                word.value += next;
                m_i += 2;
            } else if (c == u'$' || c == u'`') {
                expansion(word);
            } else {
                word.value += c;
                ++m_i;
            }
        }
        if (m_i >= m_text.size())
            m_isComplete = false;
        else
            ++m_i;
    }

    // "$NAME", "${…}", "$(…)", "$((…))" or "`…`": the word's value depends on the run.
    void expansion(ShellWord& word)
    {
        const QChar c = m_text[m_i];
        if (c == u'`') {
            word.hasExpansion = true;
            m_i = closing(m_i + 1, u'`');
            return;
        }
        if (m_i + 1 >= m_text.size()) {
            word.value += c;
            ++m_i;
            return;
        }
        const QChar next = m_text[m_i + 1];
        if (next == u'(') {
            word.hasExpansion = true;
            m_i = closingParenthesis(m_i + 2);
        } else if (next == u'{') {
            word.hasExpansion = true;
            m_i = closing(m_i + 2, u'}');
        } else if (isNameStart(next)) {
            word.hasExpansion = true;
            m_i += 2;
            while (m_i < m_text.size() && isNameCharacter(m_text[m_i]))
                ++m_i;
        } else if (next.isDigit() || QStringView(u"@*#?-$!").contains(next)) {
            word.hasExpansion = true;
            m_i += 2;
        } else {
            word.value += c;
            ++m_i;
        }
    }

    // The index after the closing character; the end, and an incomplete text, without one.
    qsizetype closing(qsizetype from, QChar close)
    {
        for (qsizetype i = from; i < m_text.size(); ++i) {
            if (m_text[i] == u'\\')
                ++i;
            else if (m_text[i] == close)
                return i + 1;
        }
        m_isComplete = false;
        return m_text.size();
    }

    qsizetype closingParenthesis(qsizetype from)
    {
        int depth = 1;
        QChar quote;
        for (qsizetype i = from; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                else if (c == u'\\' && quote == u'"')
                    ++i;
            } else if (c == u'\\') {
                ++i;
            } else if (c == u'\'' || c == u'"' || c == u'`') {
                quote = c;
            } else if (c == u'(') {
                ++depth;
            } else if (c == u')' && --depth == 0) {
                return i + 1;
            }
        }
        m_isComplete = false;
        return m_text.size();
    }

    // "{a,b}" or "{1..3}" within one word, not part of "${".
    bool isBraceList(qsizetype open) const
    {
        if (open > 0 && m_text[open - 1] == u'$')
            return false;
        bool hasList = false;
        for (qsizetype i = open + 1; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            if (isBlank(c) || isOperatorStart(c) || c == u'{' || c == u'\'' || c == u'"')
                return false;
            if (c == u',' || (c == u'.' && i + 1 < m_text.size() && m_text[i + 1] == u'.'))
                hasList = true;
            if (c == u'}')
                return hasList && i > open + 1;
        }
        return false;
    }

    QStringView m_text;
    qsizetype m_i = 0;
    bool m_isComplete = true;
    QStringList m_bashOnly;
};

bool isSeparator(QStringView operation)
{
    return operation == u";" || operation == u"&&" || operation == u"||" || operation == u"|" ||
           operation == u"&" || operation == u";;";
}

enum class ReservedWord
{
    none,
    // The next word is a command again: "if", "then", "!" …
    opensCommand,
    // Closes a construct and is no command itself: "fi", "done" …
    closes,
    // What follows are no commands: "for x in …", "case …", "function f".
    opensWords
};

ReservedWord reserved(const ShellWord& word)
{
    if (word.isQuoted || word.hasExpansion)
        return ReservedWord::none;
    static const QStringList opening{"if",    "then", "else", "elif", "while",
                                     "until", "do",   "!",    "{"};
    static const QStringList closing{"fi", "done", "esac", "}"};
    static const QStringList words{"for", "case", "select", "function", "in"};
    if (opening.contains(word.text))
        return ReservedWord::opensCommand;
    if (closing.contains(word.text))
        return ReservedWord::closes;
    if (words.contains(word.text))
        return ReservedWord::opensWords;
    return ReservedWord::none;
}

} // namespace

bool ShellWord::isAssignment() const
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0 || !isNameStart(text[0]))
        return false;
    return std::all_of(text.begin(), text.begin() + equals, isNameCharacter);
}

ShellCommand ShellCommand::read(QStringView text)
{
    Lexer lexer(text);
    const QList<Token> tokens = lexer.tokens();

    ShellCommand command;
    SimpleCommand current;
    bool isInConstruct = false;
    bool skipsWords = false;
    const auto finish = [&](const QString& separator) {
        current.separator = separator;
        current.isInConstruct = current.isInConstruct || isInConstruct;
        command.commands.append(std::move(current));
        current = {};
        skipsWords = false;
    };
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        const Token& token = tokens[t];
        if (token.isOperator && isSeparator(token.operation)) {
            finish(token.operation);
        } else if (token.isOperator && isRedirection(token.operation)) {
            ShellRedirection redirection;
            redirection.operation = token.operation;
            redirection.descriptor = token.descriptor >= 0              ? token.descriptor
                                     : token.operation == u"&>"         ? -1
                                     : token.operation.startsWith(u'<') ? 0
                                                                        : 1;
            if (t + 1 < tokens.size() && !tokens[t + 1].isOperator)
                redirection.target = tokens[++t].word;
            current.redirections.append(std::move(redirection));
        } else if (token.isOperator) {
            // A subshell, or the "()" of a function definition.
            isInConstruct = true;
            current.isInConstruct = true;
        } else if (skipsWords) {
            continue;
        } else if (current.words.isEmpty()) {
            const ShellWord& word = token.word;
            switch (reserved(word)) {
            case ReservedWord::opensCommand:
                isInConstruct = true;
                current.isInConstruct = true;
                continue;
            case ReservedWord::closes:
                continue;
            case ReservedWord::opensWords:
                isInConstruct = true;
                current.isInConstruct = true;
                skipsWords = true;
                if (word.text == u"function")
                    lexer.noteBashOnly(word.text);
                continue;
            case ReservedWord::none:
                break;
            }
            if (word.isAssignment())
                current.assignments.append(word);
            else
                current.words.append(word);
            if (!word.isQuoted && (word.text == u"[[" || word.text == u"source"))
                lexer.noteBashOnly(word.text);
        } else {
            current.words.append(token.word);
        }
    }
    if (!current.words.isEmpty() || !current.assignments.isEmpty() ||
        !current.redirections.isEmpty())
        finish({});
    command.bashOnly = lexer.bashOnly();
    command.isComplete = lexer.isComplete();
    return command;
}

CronCommandText CronCommandText::of(QStringView command)
{
    CronCommandText result;
    result.shellText.reserve(command.size());
    bool isEscaped = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command[i];
        if (isEscaped) {
            // cron drops the backslash of "\%" and keeps every other.
            if (c == u'%') {
                result.shellText.chop(1);
                result.m_droppedBefore.append(result.shellText.size());
            }
            isEscaped = false;
        } else if (c == u'\\') {
            isEscaped = true;
        } else if (c == u'%') {
            result.cut = i;
            break;
        }
        result.shellText += c;
    }
    return result;
}

qsizetype CronCommandText::commandPosition(qsizetype shellPosition) const
{
    const auto dropped =
        std::upper_bound(m_droppedBefore.cbegin(), m_droppedBefore.cend(), shellPosition) -
        m_droppedBefore.cbegin();
    return shellPosition + dropped;
}

} // namespace Tempolane

#include "store/pg/PgSql.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "store/Error.h"
#include "store/Schema.h"
#include "store/SqlText.h"

namespace store::pg {

namespace {

enum class Kind { Space, Word, Name, String, Number, Param, Punct };

struct Token {
    Kind kind;
    std::string_view text;
};

bool isWordStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isWordPart(unsigned char c) { return isWordStart(c) || isDigit(c) || c == '$'; }

// The end of a quoted piece starting at begin: the closing quote, a doubled quote standing
// for itself; the text's end when it is not closed.
std::size_t quotedEnd(std::string_view sql, std::size_t begin, char quote) {
    std::size_t i = begin + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

std::size_t numberEnd(std::string_view sql, std::size_t i) {
    while (i < sql.size()) {
        const auto c = static_cast<unsigned char>(sql[i]);
        if (isDigit(c) || c == '.' || isWordStart(c)) {
            ++i;
        } else if ((c == '+' || c == '-') && (sql[i - 1] == 'e' || sql[i - 1] == 'E')) {
            ++i;
        } else {
            break;
        }
    }
    return i;
}

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const auto c = static_cast<unsigned char>(sql[i]);
        std::size_t end = i + 1;
        Kind kind = Kind::Punct;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            kind = Kind::Space;
            while (end < sql.size() &&
                   std::string_view(" \t\n\r\f").find(sql[end]) != std::string_view::npos)
                ++end;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            kind = Kind::Space;
            end = sql.find('\n', i);
            end = end == std::string_view::npos ? sql.size() : end;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            kind = Kind::Space;
            end = sql.find("*/", i + 2);
            end = end == std::string_view::npos ? sql.size() : end + 2;
        } else if (c == '\'') {
            kind = Kind::String;
            end = quotedEnd(sql, i, '\'');
        } else if (c == '"') {
            kind = Kind::Name;
            end = quotedEnd(sql, i, '"');
        } else if (isDigit(c) || (c == '.' && i + 1 < sql.size() &&
                                  isDigit(static_cast<unsigned char>(sql[i + 1])))) {
            kind = Kind::Number;
            end = numberEnd(sql, i + 1);
        } else if (c == '?') {
            kind = Kind::Param;
            while (end < sql.size() && isDigit(static_cast<unsigned char>(sql[end]))) ++end;
        } else if (isWordStart(c)) {
            kind = Kind::Word;
            while (end < sql.size() && isWordPart(static_cast<unsigned char>(sql[end]))) ++end;
        }
        tokens.push_back({kind, sql.substr(i, end - i)});
        i = end;
    }
    return tokens;
}

using sql::quotedName;
using sql::sameName;

bool isWord(const Token& token, std::string_view word) {
    return token.kind == Kind::Word && sameName(token.text, word);
}
bool isPunct(const Token& token, char c) {
    return token.kind == Kind::Punct && token.text.size() == 1 && token.text[0] == c;
}

// Words after a table's name that begin the next clause rather than name the table again.
bool isClauseWord(const Token& token) {
    static constexpr std::array<std::string_view, 26> words = {
        "where",   "join",  "inner",     "left",       "right", "cross",  "full",
        "natural", "on",    "using",     "order",      "group", "having", "limit",
        "offset",  "union", "except",    "intersect",  "set",   "values", "default",
        "select",  "for",   "returning", "overriding", "window"};
    if (token.kind != Kind::Word) return false;
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view w) { return sameName(token.text, w); });
}

// The name a Name or Word token stands for: quotes taken off, a doubled quote as one.
std::string nameOf(const Token& token) {
    if (token.kind != Kind::Name) return std::string(token.text);
    std::string name;
    std::string_view inner = token.text.substr(1);
    if (!inner.empty() && inner.back() == '"') inner.remove_suffix(1);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        name += inner[i];
        if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
    }
    return name;
}

const schema::TableDef* programTable(const std::string& name) {
    for (const auto* list : {&schema::tables(), &schema::addedTables()})
        for (const auto& table : *list)
            if (table.name == name) return &table;
    return nullptr;
}

// The program's name of a table or column written without quotes: the server would take its
// ASCII letters as small ones ("ID" as id), the file takes them as written.
const std::string* programName(std::string_view word) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto* list : {&schema::tables(), &schema::addedTables()})
            for (const auto& table : *list) {
                all.push_back(table.name);
                for (const auto& column : table.columns) all.push_back(column.name);
            }
        return all;
    }();
    for (const auto& name : names)
        if (sameName(name, word)) return &name;
    return nullptr;
}

// Whether every statement of tokens begins with a word of row work or of a transaction that
// keeps what it did (ServerSql::keepsColumns).
bool onlyRowWork(const std::vector<Token>& tokens) {
    static constexpr std::array<std::string_view, 13> rowWork = {
        "select", "insert", "update", "delete", "with",      "values", "table",
        "begin",  "start",  "commit", "end",    "savepoint", "release"};
    bool statementStart = true;
    for (const Token& token : tokens) {
        if (token.kind == Kind::Space) continue;
        if (statementStart && !isPunct(token, ';') &&
            std::none_of(rowWork.begin(), rowWork.end(),
                         [&](std::string_view word) { return isWord(token, word); }))
            return false;
        statementStart = isPunct(token, ';');
    }
    return true;
}

// The tables a query (or a subquery) reads, with the names it gives them.
struct Scope {
    int parent = -1;
    std::string mainTable;  // the first after FROM, UPDATE or INTO
    int tableCount = 0;
    std::vector<std::pair<std::string, std::string>> names;  // alias or name → table
};

class Translator {
  public:
    explicit Translator(std::string_view sql) : tokens_(tokenize(sql)) {}

    ServerSql run() {
        if (const auto first = nextSignificant(0); first && isWord(tokens_[*first], "pragma"))
            pragma(*first);
        findScopes();
        findInsert();
        findRowOrder();
        ServerSql out;
        for (std::size_t i = 0; i < tokens_.size(); ++i) emit(i, out.text);
        if (orderAtEnd_) {
            trimEnd(out.text);
            out.text += " " + orderClause();
        }
        if (insertTable_) {
            const auto* table = programTable(*insertTable_);
            trimEnd(out.text);
            out.text += table->hasCounter() ? " RETURNING \"ID\"" : " RETURNING rowid";
            out.returnsRowId = true;
        }
        out.parameters = highestParameter_;
        out.control = control();
        out.changesSession = changesSession();
        out.keepsColumns = onlyRowWork(tokens_);
        out.readsNothing = readsNothing();
        return out;
    }

    // Whether the text holds one statement: nothing but space after a semicolon.
    bool single() const {
        for (std::size_t i = 0; i < tokens_.size(); ++i)
            if (isPunct(tokens_[i], ';') && nextSignificant(i + 1)) return false;
        return true;
    }

    bool readsNothing() const {
        const auto first = nextSignificant(0);
        if (!first || !isWord(tokens_[*first], "select") || !single() || !whereValue_ ||
            scopeOf_[*whereValue_] != 0 || scopes_.front().tableCount != 1 ||
            tokens_[*whereValue_].text.find_first_not_of("0.") != std::string_view::npos)
            return false;
        static constexpr std::array<std::string_view, 7> rowMakers = {
            "group", "having", "union", "intersect", "except", "window", "distinct"};
        return std::none_of(tokens_.begin(), tokens_.end(), [](const Token& token) {
            return isPunct(token, '(') ||
                   std::any_of(rowMakers.begin(), rowMakers.end(),
                               [&](std::string_view word) { return isWord(token, word); });
        });
    }

  private:
    std::optional<std::size_t> nextSignificant(std::size_t i) const {
        for (; i < tokens_.size(); ++i)
            if (tokens_[i].kind != Kind::Space) return i;
        return std::nullopt;
    }
    std::optional<std::size_t> previousSignificant(std::size_t i) const {
        while (i-- > 0)
            if (tokens_[i].kind != Kind::Space) return i;
        return std::nullopt;
    }
    bool nextIs(std::size_t i, auto&& test) const {
        const auto next = nextSignificant(i + 1);
        return next && test(tokens_[*next]);
    }

    ServerSql::Control control() const {
        const auto first = nextSignificant(0);
        if (!first) return ServerSql::Control::None;
        const Token& word = tokens_[*first];
        if (isWord(word, "commit") || isWord(word, "end")) return ServerSql::Control::Commit;
        if ((isWord(word, "begin") || isWord(word, "start")) && single())
            return ServerSql::Control::Begin;
        if ((isWord(word, "rollback") || isWord(word, "abort")) && single() &&
            endsTransaction(*first))
            return ServerSql::Control::Rollback;
        for (const char* other :
             {"begin", "start", "rollback", "abort", "savepoint", "release", "prepare"})
            if (isWord(word, other)) return ServerSql::Control::Other;
        return ServerSql::Control::None;
    }

    bool changesSession() const {
        const auto first = nextSignificant(0);
        if (!first) return false;
        const Token& word = tokens_[*first];
        for (const char* setting : {"set", "reset", "discard", "listen", "unlisten", "load"})
            if (isWord(word, setting)) return true;
        return isWord(word, "create") && nextIs(*first, [](const Token& next) {
                   return isWord(next, "temp") || isWord(next, "temporary");
               });
    }

    // A ROLLBACK at first that takes back the whole transaction: not TO a savepoint, nor a
    // prepared one, nor AND CHAIN.
    bool endsTransaction(std::size_t first) const {
        for (std::size_t i = first + 1; i < tokens_.size(); ++i) {
            const Token& token = tokens_[i];
            if (token.kind != Kind::Space && !isPunct(token, ';') &&
                !isWord(token, "transaction") && !isWord(token, "work"))
                return false;
        }
        return true;
    }

    [[noreturn]] void pragma(std::size_t at) const {
        const auto name = nextSignificant(at + 1);
        throw StoreError("数据库服务器上不能执行只适用于数据库文件的设置（" +
                         std::string(name ? tokens_[*name].text : "PRAGMA") + "）");
    }

    // Gives every token the scope of its query: a parenthesis that begins with SELECT opens a
    // subquery, any other keeps its query's scope.
    void findScopes() {
        scopes_.push_back({});
        scopeOf_.assign(tokens_.size(), 0);
        std::vector<int> stack;
        int current = 0;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const Token& token = tokens_[i];
            if (isPunct(token, '(')) {
                stack.push_back(current);
                if (nextIs(i, [](const Token& t) { return isWord(t, "select"); })) {
                    scopes_.push_back({current, {}, 0, {}});
                    current = static_cast<int>(scopes_.size()) - 1;
                }
            } else if (isPunct(token, ')') && !stack.empty()) {
                scopeOf_[i] = current;
                current = stack.back();
                stack.pop_back();
                continue;
            }
            scopeOf_[i] = current;
            const bool from = isWord(token, "from");
            if (from || isWord(token, "join") || isWord(token, "update") || isWord(token, "into")) {
                const auto before = previousSignificant(i);
                if (from && before && isWord(tokens_[*before], "distinct")) continue;
                readTableList(i + 1, current, from);
            }
        }
    }

    // The table names after FROM (a list, with commas), JOIN, UPDATE or INTO, with their aliases.
    void readTableList(std::size_t i, int scope, bool list) {
        while (true) {
            const auto name = nextSignificant(i);
            if (!name) return;
            const Token& token = tokens_[*name];
            if (token.kind != Kind::Name && (token.kind != Kind::Word || isClauseWord(token)))
                return;
            Scope& s = scopes_[static_cast<std::size_t>(scope)];
            const std::string table = nameOf(token);
            if (s.mainTable.empty()) s.mainTable = table;
            ++s.tableCount;
            s.names.emplace_back(table, table);
            i = *name + 1;
            auto next = nextSignificant(i);
            if (next && isWord(tokens_[*next], "as")) next = nextSignificant(*next + 1);
            if (next && (tokens_[*next].kind == Kind::Name ||
                         (tokens_[*next].kind == Kind::Word && !isClauseWord(tokens_[*next])))) {
                s.names.emplace_back(nameOf(tokens_[*next]), table);
                i = *next + 1;
                next = nextSignificant(i);
            }
            if (!list || !next || !isPunct(tokens_[*next], ',')) return;
            i = *next + 1;
        }
    }

    // The table a name stands for in scope or the scopes around it.
    const schema::TableDef* tableNamed(const std::string& name, int scope) const {
        for (int s = scope; s >= 0; s = scopes_[static_cast<std::size_t>(s)].parent)
            for (const auto& [alias, table] : scopes_[static_cast<std::size_t>(s)].names)
                if (alias == name) return programTable(table);
        return nullptr;
    }
    const schema::TableDef* scopeTable(int scope) const {
        for (int s = scope; s >= 0; s = scopes_[static_cast<std::size_t>(s)].parent)
            if (const auto& table = scopes_[static_cast<std::size_t>(s)].mainTable; !table.empty())
                return programTable(table);
        return nullptr;
    }
    // The qualifier before "name." at i, if any.
    std::optional<std::size_t> qualifierOf(std::size_t i) const {
        const auto dot = previousSignificant(i);
        if (!dot || !isPunct(tokens_[*dot], '.')) return std::nullopt;
        const auto qualifier = previousSignificant(*dot);
        if (!qualifier ||
            (tokens_[*qualifier].kind != Kind::Name && tokens_[*qualifier].kind != Kind::Word))
            return std::nullopt;
        return qualifier;
    }
    const schema::TableDef* tableAt(std::size_t i) const {
        const int scope = scopeOf_[i];
        if (const auto qualifier = qualifierOf(i))
            return tableNamed(nameOf(tokens_[*qualifier]), scope);
        return scopeTable(scope);
    }

    // An INSERT into one of the program's tables, alone in the text: it will return its row
    // ids; naming "ID" or rowid among its columns it overrides the server's counter.
    void findInsert() {
        const auto first = nextSignificant(0);
        if (!first || !isWord(tokens_[*first], "insert")) return;
        for (std::size_t i = *first; i < tokens_.size(); ++i) {
            if (isWord(tokens_[i], "returning")) return;
            if (isPunct(tokens_[i], ';') && nextSignificant(i + 1)) return;
        }
        const std::string& table = scopes_.front().mainTable;
        if (table.empty() || programTable(table) == nullptr) return;
        insertTable_ = table;
        bool inColumns = false;
        for (std::size_t i = *first; i < tokens_.size(); ++i) {
            const Token& token = tokens_[i];
            if (scopeOf_[i] != 0) continue;
            if (isPunct(token, '(') && !overrideBefore_) {
                inColumns = true;
            } else if (isPunct(token, ')')) {
                inColumns = false;
            } else if (inColumns && (token.kind == Kind::Name || token.kind == Kind::Word)) {
                const std::string name = nameOf(token);
                if (name == schema::column::kId ||
                    (token.kind == Kind::Word && sameName(name, "id")) || sameName(name, "rowid"))
                    namesCounter_ = true;
            } else if (isWord(token, "values") || isWord(token, "select") ||
                       isWord(token, "default")) {
                overrideBefore_ = i;
                break;
            }
        }
    }

    static void trimEnd(std::string& text) {
        while (!text.empty() && (text.back() == ';' || text.back() == ' ' || text.back() == '\n'))
            text.pop_back();
    }

    // A SELECT of one of the program's tables gives its rows in the order they were stored, as
    // the file does (the server's own order moves a row to the end when it is updated), and a
    // SELECT DISTINCT each value where it first comes; one that orders, groups, sums or joins is
    // left as it is.
    void findRowOrder() {
        const auto first = nextSignificant(0);
        if (!first || !isWord(tokens_[*first], "select")) return;
        const Scope& scope = scopes_.front();
        const schema::TableDef* table =
            scope.tableCount == 1 ? programTable(scope.mainTable) : nullptr;
        if (table == nullptr) return;
        std::size_t from = *first + 1;
        if (const auto distinct = nextSignificant(*first + 1);
            distinct && isWord(tokens_[*distinct], "distinct")) {
            // Its values are grouped instead, so that the first row of each can order them.
            for (std::size_t i = *distinct + 1; i < tokens_.size() && !listEnd_; ++i) {
                if (isPunct(tokens_[i], '*') || isWord(tokens_[i], "as")) return;
                if (scopeOf_[i] == 0 && isWord(tokens_[i], "from")) listEnd_ = i;
            }
            if (!listEnd_) return;
            distinct_ = distinct;
            from = *distinct + 1;
        }
        static constexpr std::array<std::string_view, 17> refused = {
            "order",  "group",        "distinct",   "union",     "intersect", "except",
            "having", "count",        "sum",        "min",       "max",       "avg",
            "total",  "group_concat", "string_agg", "array_agg", "window"};
        std::optional<std::size_t> before;
        for (std::size_t i = from; i < tokens_.size(); ++i) {
            if (scopeOf_[i] != 0 || tokens_[i].kind != Kind::Word) continue;
            for (std::string_view word : refused)
                if (sameName(tokens_[i].text, word)) return;
            if (!before && (isWord(tokens_[i], "limit") || isWord(tokens_[i], "offset") ||
                            isWord(tokens_[i], "for") || isWord(tokens_[i], "fetch")))
                before = i;
        }
        rowOrder_ = table->hasCounter() ? "\"ID\"" : "rowid";
        if (before)
            orderBefore_ = before;
        else
            orderAtEnd_ = true;
    }

    // ORDER BY the row id, or for distinct values GROUP BY them and ORDER BY their first row.
    std::string orderClause() const {
        if (!distinct_) return "ORDER BY " + *rowOrder_;
        std::string_view list = groupList_;
        while (!list.empty() && list.back() == ' ') list.remove_suffix(1);
        while (!list.empty() && list.front() == ' ') list.remove_prefix(1);
        return "GROUP BY " + std::string(list) + " ORDER BY min(" + *rowOrder_ + ")";
    }

    void emit(std::size_t i, std::string& out) {
        const Token& token = tokens_[i];
        if (orderBefore_ == i) out += orderClause() + " ";
        if (skip_ == i) return;
        if (distinct_ == i) {
            listStart_ = out.size();
            return;
        }
        if (listEnd_ == i && distinct_) groupList_ = out.substr(listStart_);
        if (namesCounter_ && overrideBefore_ == i) out += "OVERRIDING SYSTEM VALUE ";
        switch (token.kind) {
            case Kind::Param:
                emitParameter(token, out);
                break;
            case Kind::Word:
                emitWord(i, out);
                break;
            case Kind::Number:
                if (whereValue_ == i) {
                    out += token.text.find_first_not_of("0.") == std::string_view::npos ? "false"
                                                                                        : "true";
                    break;
                }
                out += token.text;
                break;
            case Kind::Punct:
                emitPunct(i, out);
                break;
            default:
                out += token.text;
                break;
        }
        if (escapeAfter_ == i) out += " ESCAPE ''";
    }

    void emitParameter(const Token& token, std::string& out) {
        int number = ++lastParameter_;
        if (token.text.size() > 1) {
            number = std::stoi(std::string(token.text.substr(1)));
            lastParameter_ = std::max(lastParameter_ - 1, number);
        }
        highestParameter_ = std::max(highestParameter_, number);
        out += "$" + std::to_string(number);
    }

    void emitWord(std::size_t i, std::string& out) {
        const Token& token = tokens_[i];
        if (sameName(token.text, "rowid")) {
            const auto* table = tableAt(i);
            out += table != nullptr && table->hasCounter() ? "\"ID\"" : "rowid";
        } else if (const std::string* name = programName(token.text)) {
            out += quotedName(*name);
        } else if (sameName(token.text, "ifnull") &&
                   nextIs(i, [](const Token& t) { return isPunct(t, '('); })) {
            out += "COALESCE";
        } else if (sameName(token.text, "like")) {
            out += "ILIKE";
            const auto pattern = nextSignificant(i + 1);
            if (pattern &&
                (tokens_[*pattern].kind == Kind::Param || tokens_[*pattern].kind == Kind::String) &&
                !nextIs(*pattern, [](const Token& t) { return isWord(t, "escape"); }))
                escapeAfter_ = *pattern;
        } else if (sameName(token.text, "is")) {
            emitIs(i, out);
        } else if (sameName(token.text, "where")) {
            out += token.text;
            const auto value = nextSignificant(i + 1);
            if (value && tokens_[*value].kind == Kind::Number) {
                const auto after = nextSignificant(*value + 1);
                if (!after || isPunct(tokens_[*after], ')') || isPunct(tokens_[*after], ';') ||
                    isClauseWord(tokens_[*after]))
                    whereValue_ = *value;
            }
        } else if (sameName(token.text, "begin")) {
            out += token.text;
            const auto mode = nextSignificant(i + 1);
            if (mode && (isWord(tokens_[*mode], "immediate") ||
                         isWord(tokens_[*mode], "exclusive") || isWord(tokens_[*mode], "deferred")))
                skip_ = *mode;
        } else {
            out += token.text;
        }
    }

    // The file's "a IS b" compares any two values, NULL equal to NULL.
    void emitIs(std::size_t i, std::string& out) {
        const auto isKeywordAfter = [&](std::size_t at) {
            const auto next = nextSignificant(at + 1);
            return next && (isWord(tokens_[*next], "null") || isWord(tokens_[*next], "true") ||
                            isWord(tokens_[*next], "false") || isWord(tokens_[*next], "distinct"));
        };
        if (isKeywordAfter(i)) {
            out += tokens_[i].text;
            return;
        }
        const auto next = nextSignificant(i + 1);
        if (next && isWord(tokens_[*next], "not")) {
            if (isKeywordAfter(*next)) {
                out += tokens_[i].text;
                return;
            }
            skip_ = *next;
            out += "IS DISTINCT FROM";
            return;
        }
        out += "IS NOT DISTINCT FROM";
    }

    void emitPunct(std::size_t i, std::string& out) {
        const Token& token = tokens_[i];
        // The file's "==" is "=".
        if (isPunct(token, '=') && i + 1 < tokens_.size() && isPunct(tokens_[i + 1], '=')) {
            skip_ = i + 1;
        } else if (isPunct(token, '*')) {
            if (const auto columns = starColumns(i)) {
                out += *columns;
                return;
            }
        }
        out += token.text;
    }

    // The columns "*" (or "t.*") stands for where its table hides a rowid; none otherwise.
    std::optional<std::string> starColumns(std::size_t i) const {
        const auto before = previousSignificant(i);
        if (!before) return std::nullopt;
        const Token& previous = tokens_[*before];
        std::string prefix;
        const schema::TableDef* table = nullptr;
        if (isPunct(previous, '.')) {
            const auto qualifier = qualifierOf(i);
            if (!qualifier) return std::nullopt;
            table = tableNamed(nameOf(tokens_[*qualifier]), scopeOf_[i]);
            prefix = std::string(tokens_[*qualifier].text) + ".";
            // The qualifier is written already: the first column takes none.
        } else if (isWord(previous, "select") || isWord(previous, "distinct") ||
                   isPunct(previous, ',')) {
            const Scope& scope = scopes_[static_cast<std::size_t>(scopeOf_[i])];
            if (scope.tableCount != 1) return std::nullopt;
            table = programTable(scope.mainTable);
        }
        if (table == nullptr || table->hasCounter()) return std::nullopt;
        std::string columns;
        for (const auto& column : table->columns) {
            if (!columns.empty()) columns += ", " + prefix;
            columns += quotedName(column.name);
        }
        return columns;
    }

    std::vector<Token> tokens_;
    std::vector<Scope> scopes_;
    std::vector<int> scopeOf_;
    std::optional<std::string> insertTable_;
    std::optional<std::size_t> overrideBefore_;
    bool namesCounter_ = false;
    int lastParameter_ = 0;
    int highestParameter_ = 0;
    std::optional<std::size_t> escapeAfter_;
    std::optional<std::size_t> whereValue_;
    std::optional<std::size_t> skip_;
    std::optional<std::string> rowOrder_;
    std::optional<std::size_t> orderBefore_;
    bool orderAtEnd_ = false;
    std::optional<std::size_t> distinct_;  // a SELECT DISTINCT's word, left out
    std::optional<std::size_t> listEnd_;   // the FROM after its values
    std::size_t listStart_ = 0;            // where its values begin in the server's text
    std::string groupList_;
};

}  // namespace

ServerSql toServerSql(std::string_view sql) { return Translator(sql).run(); }

bool keepsColumns(std::string_view serverSql) { return onlyRowWork(tokenize(serverSql)); }

}  // namespace store::pg

#include "store/pg/PgCopyRows.h"

#include <cstring>

namespace store::pg {

namespace {

constexpr std::string_view kNull = "\\N";

int digitValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 16;
}

// A field's text with its backslash sequences read: \b \f \n \r \t \v, \\, octal \NNN and hex
// \xHH; a backslash before any other character stands for that character.
void unescape(std::string_view field, std::string& out) {
    for (std::size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c != '\\' || i + 1 == field.size()) {
            out.push_back(c);
            continue;
        }
        c = field[++i];
        switch (c) {
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'v':
                out.push_back('\v');
                break;
            case 'x':
                if (i + 1 < field.size() && digitValue(field[i + 1]) < 16) {
                    int value = digitValue(field[++i]);
                    if (i + 1 < field.size() && digitValue(field[i + 1]) < 16)
                        value = value * 16 + digitValue(field[++i]);
                    out.push_back(static_cast<char>(value));
                } else {
                    out.push_back('x');
                }
                break;
            default:
                if (c >= '0' && c <= '7') {
                    int value = c - '0';
                    for (int n = 0; n < 2 && i + 1 < field.size() && field[i + 1] >= '0' &&
                                    field[i + 1] <= '7';
                         ++n)
                        value = value * 8 + (field[++i] - '0');
                    out.push_back(static_cast<char>(value));
                } else {
                    out.push_back(c);
                }
        }
    }
}

}  // namespace

CopyRows::CopyRows(PGconn* connection, std::string_view select, std::size_t columns)
    : connection_(connection), columns_(columns) {
    fields_.resize(columns);
    // A statement's closing semicolon would end the COPY's inner query early.
    while (!select.empty() && (select.back() == ';' || select.back() == ' ' ||
                               select.back() == '\n' || select.back() == '\t'))
        select.remove_suffix(1);
    std::string copy = "COPY (";
    copy += select;
    copy += ") TO STDOUT";
    if (!PQsendQuery(connection, copy.c_str())) {
        failed_ = true;
        return;
    }
    ResultHandle started(PQgetResult(connection));
    if (PQresultStatus(started.get()) == PGRES_COPY_OUT) {
        streaming_ = true;
        return;
    }
    // Refused before the first row: the reason, then the end of the command.
    failed_ = true;
    end_ = std::move(started);
    while (ResultHandle more{PQgetResult(connection)}) {
    }
}

CopyRows::~CopyRows() { dropRest(); }

bool CopyRows::receive(std::string_view& line) {
    char* row = nullptr;
    const int length = PQgetCopyData(connection_, &row, 0);
    if (length < 0) {
        finish();
        return false;
    }
    received_.reset(row);
    line = std::string_view(row, static_cast<std::size_t>(length));
    return true;
}

void CopyRows::finish() noexcept {
    streaming_ = false;
    ResultHandle result(PQgetResult(connection_));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        failed_ = true;
        end_ = std::move(result);
    }
    while (ResultHandle more{PQgetResult(connection_)}) {
    }
}

bool CopyRows::nextLine(std::string_view& line) {
    if (nextHeld_ < heldEnds_.size()) {
        const std::size_t start = nextHeld_ == 0 ? 0 : heldEnds_[nextHeld_ - 1];
        line = std::string_view(held_).substr(start, heldEnds_[nextHeld_] - start);
        ++nextHeld_;
        return true;
    }
    return streaming_ && receive(line);
}

bool CopyRows::next() {
    std::string_view line;
    if (!nextLine(line)) return false;
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (split(line)) return true;
    // A row that does not match the columns: the stream cannot be trusted further.
    failed_ = true;
    end_.reset();
    dropRest();
    return false;
}

bool CopyRows::split(std::string_view line) {
    unescaped_.clear();
    unescaped_.reserve(line.size());  // fields point into it: it must not move while filled
    std::size_t column = 0;
    for (std::size_t start = 0;; ++column) {
        std::size_t end = line.find('\t', start);
        if (end == std::string_view::npos) end = line.size();
        if (column >= columns_) return false;
        const std::string_view field = line.substr(start, end - start);
        if (field == kNull) {
            fields_[column] = {};
        } else if (field.find('\\') == std::string_view::npos) {
            // never a null view: an empty text is an empty field of the line
            fields_[column] = field.empty() ? std::string_view("", 0) : field;
        } else {
            const std::size_t at = unescaped_.size();
            unescape(field, unescaped_);
            fields_[column] = std::string_view(unescaped_).substr(at);
        }
        if (end == line.size()) break;
        start = end + 1;
    }
    return column + 1 == columns_;
}

void CopyRows::holdRest() noexcept {
    // Rows are only ever held once, up to the end: while the connection still streams, none are.
    // The current row stays where it is, in the last row received.
    if (!streaming_) return;
    try {
        for (char* row = nullptr;; row = nullptr) {
            const int length = PQgetCopyData(connection_, &row, 0);
            if (length < 0) break;
            const std::unique_ptr<char, Freer> owned(row);
            held_.append(row, static_cast<std::size_t>(length));
            heldEnds_.push_back(held_.size());
        }
        finish();
    } catch (...) {
        dropRest();
        failed_ = true;
        end_.reset();
        held_.clear();
        heldEnds_.clear();
    }
}

void CopyRows::dropRest() noexcept {
    if (!streaming_) return;
    for (char* row = nullptr; PQgetCopyData(connection_, &row, 0) >= 0; row = nullptr)
        PQfreemem(row);
    finish();
}

}  // namespace store::pg

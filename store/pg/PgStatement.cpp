#include "store/pg/PgStatement.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "store/Values.h"

namespace store::pg {

namespace {

// Type oids of the server's catalogue (pg_type), fixed since its first versions.
constexpr Oid kBool = 16;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kText = 25;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kVarchar = 1043;
constexpr Oid kNumeric = 1700;
constexpr int kVarcharHeader = 4;  // a varchar(N) column's type modifier is N + 4

std::int64_t parseInteger(const char* text, int length) {
    std::int64_t value = 0;
    std::from_chars(text, text + length, value);
    return value;
}

// float8's text: the shortest that reads back the same, or Infinity, -Infinity, NaN.
double parseFloat(const char* text, int length) {
    double value = 0;
    const auto [end, error] = std::from_chars(text, text + length, value);
    if (error == std::errc::result_out_of_range) value = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return value;
}

}  // namespace

PgStatement::PgStatement(Session& session, std::string_view sql)
    : session_(session), sql_(toServerSql(sql)) {
    if (sql_.changesSession) session_.changedSettings = true;
    parameters_.resize(static_cast<std::size_t>(sql_.parameters));
}

bool PgStatement::execute() const noexcept {
    executed_ = true;
    try {
        std::vector<const char*> values;
        values.reserve(parameters_.size());
        for (const auto& parameter : parameters_)
            values.push_back(parameter ? parameter->c_str() : nullptr);
        PGconn* connection = session_.ready();
        if (streams(connection)) return startStream(connection);
        result_ = run(connection, values);
        const ExecStatusType status = PQresultStatus(result_.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            failure_ = session_.failure(result_.get());
            result_.reset();
            rows_ = 0;
            cells_.clear();
            return false;
        }
        PGresult* result = result_.get();
        rows_ = PQntuples(result);
        session_.noteWrites(result, sql_.returnsRowId);
        if (sql_.returnsRowId) rows_ = 0;  // an INSERT gives no rows, as in the file
        cellKinds();
        return true;
    } catch (...) {
        failure_ = StoreError("读取数据失败：内存不足");
        return false;
    }
}

void PgStatement::cellKinds() const {
    const int columns = PQnfields(result_.get());
    cells_.resize(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        Cell cell = Cell::Text;
        switch (PQftype(result_.get(), c)) {
            case kFloat4:
            case kFloat8:
                cell = Cell::Float;
                break;
            case kNumeric:
                cell = Cell::Numeric;
                break;
            case kInt2:
            case kInt4:
            case kInt8:
            case kOid:
                cell = Cell::Integer;
                break;
            case kBool:
                cell = Cell::Bool;
                break;
            default:
                break;
        }
        cells_[static_cast<std::size_t>(c)] = cell;
    }
}

bool PgStatement::streams(PGconn* connection) const noexcept {
    // A read that can give no row has nothing to stream, and the session may know its columns.
    if (!manyRows_ || !parameters_.empty() || sql_.returnsRowId || sql_.readsNothing ||
        sql_.control != ServerSql::Control::None || session_.inTransaction() ||
        PQtransactionStatus(connection) != PQTRANS_IDLE)
        return false;
    std::string_view text = sql_.text;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n')) text.remove_prefix(1);
    return text.size() > 7 && (text.substr(0, 7) == "select " || text.substr(0, 7) == "SELECT ");
}

bool PgStatement::startStream(PGconn* connection) const {
    result_ = describe(connection, sql_.text);
    if (PQresultStatus(result_.get()) != PGRES_COMMAND_OK) {
        failure_ = session_.failure(result_.get());
        result_.reset();
        cells_.clear();
        return false;
    }
    cellKinds();
    stream_ = std::make_unique<CopyRows>(connection, sql_.text, cells_.size());
    if (stream_->failed()) {
        failure_ = session_.failure(stream_->failure());
        stream_.reset();
        return false;
    }
    session_.stream = stream_.get();
    return true;
}

void PgStatement::endStream() const noexcept {
    if (session_.stream == stream_.get()) session_.stream = nullptr;
    stream_.reset();  // the rest of its rows are read and dropped
}

PgStatement::~PgStatement() { endStream(); }

ResultHandle PgStatement::run(PGconn*, const std::vector<const char*>& values) const {
    if (!sql_.keepsColumns) session_.emptyReads.clear();
    if (sql_.readsNothing)
        if (ResultHandle known = session_.emptyReads.find(sql_.text)) return known;
    ResultHandle result =
        session_.runStatement(sql_.text, static_cast<int>(values.size()), values.data());
    if (sql_.readsNothing) session_.emptyReads.keep(sql_.text, result.get());
    return result;
}

bool PgStatement::step() {
    if (failure_) throw *failure_;
    if (!executed_ && !execute()) throw *failure_;
    if (stream_) {
        if (stream_->next()) {
            row_ = 0;
            return true;
        }
        if (stream_->failed()) failure_ = session_.failure(stream_->failure());
        endStream();
        row_ = -1;
        if (failure_) throw *failure_;
        return false;
    }
    if (next_ < rows_) {
        row_ = next_++;
        return true;
    }
    row_ = -1;
    return false;
}

bool PgStatement::tryReset() noexcept {
    const bool succeeded = !failure_;
    lastFailure_ = std::move(failure_);
    failure_.reset();
    endStream();
    result_.reset();
    cells_.clear();
    executed_ = false;
    rows_ = 0;
    next_ = 0;
    row_ = -1;
    for (auto& parameter : parameters_) parameter.reset();
    return succeeded;
}

void PgStatement::throwLastFailure() const {
    if (failure_) throw *failure_;
    if (lastFailure_) throw *lastFailure_;
}

void PgStatement::bind(int index, std::optional<std::string> value) {
    if (index < 1 || index > static_cast<int>(parameters_.size()))
        throw StoreError("绑定参数失败：语句没有第 " + std::to_string(index) + " 个参数");
    // Bound after its columns were asked for, before a row was read: it runs again.
    if (executed_ && next_ == 0) {
        executed_ = false;
        result_.reset();
        failure_.reset();
    }
    parameters_[static_cast<std::size_t>(index - 1)] = std::move(value);
}

void PgStatement::bindNull(int index) { bind(index, std::nullopt); }

void PgStatement::bindText(int index, std::string_view text) {
    // The server takes a parameter's text up to its first zero byte, as the file's C strings.
    bind(index, std::string(text.substr(0, text.find('\0'))));
}

void PgStatement::bindDouble(int index, double value) {
    if (std::isnan(value)) return bind(index, "NaN");
    if (std::isinf(value)) return bind(index, value > 0 ? "Infinity" : "-Infinity");
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    bind(index, std::string(text, end));
}

void PgStatement::bindInt64(int index, std::int64_t value) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    bind(index, std::string(text, end));
}

int PgStatement::columnCount() const noexcept {
    if (!executed_) execute();
    return result_ ? PQnfields(result_.get()) : 0;
}

void PgStatement::checkColumn(int index) const {
    if (index < 0 || index >= columnCount())
        throw StoreError("读取数据失败：没有第 " + std::to_string(index + 1) + " 列");
}

std::string PgStatement::columnName(int index) const {
    checkColumn(index);
    return PQfname(result_.get(), index);
}

std::string PgStatement::columnDeclType(int index) const {
    checkColumn(index);
    const PGresult* result = result_.get();
    if (PQftable(result, index) == InvalidOid) return {};
    switch (PQftype(result, index)) {
        case kVarchar: {
            const int modifier = PQfmod(result, index);
            return modifier > kVarcharHeader
                       ? "TEXT(" + std::to_string(modifier - kVarcharHeader) + ")"
                       : "TEXT";
        }
        case kText:
            return "TEXT";
        case kFloat8:
            return "DOUBLE";
        case kFloat4:
            return "FLOAT";
        case kInt2:
        case kInt4:
        case kInt8:
            return "INTEGER";
        default:
            return {};
    }
}

void PgStatement::readValue(int index, StoredValue& value) const {
    const char* text = nullptr;
    int length = 0;
    if (stream_) {
        const auto column = static_cast<std::size_t>(index);
        if (stream_->isNull(column)) {
            value.type = ValueType::Null;
            return;
        }
        const std::string_view field = stream_->field(column);
        text = field.data();
        length = static_cast<int>(field.size());
    } else {
        const PGresult* result = result_.get();
        if (PQgetisnull(result, row_, index)) {
            value.type = ValueType::Null;
            return;
        }
        text = PQgetvalue(result, row_, index);
        length = PQgetlength(result, row_, index);
    }
    switch (cells_[static_cast<std::size_t>(index)]) {
        case Cell::Float: {
            value.type = ValueType::Float;
            value.real = parseFloat(text, length);
            const std::string_view shown(text, static_cast<std::size_t>(length));
            value.text = values::isFormattedNumber(shown) ? shown : std::string_view();
            return;
        }
        case Cell::Integer:
            value.type = ValueType::Integer;
            value.integer = parseInteger(text, length);
            return;
        case Cell::Bool:
            value.type = ValueType::Integer;
            value.integer = text[0] == 't' ? 1 : 0;
            return;
        case Cell::Numeric: {
            std::int64_t whole = 0;
            const auto [end, error] = std::from_chars(text, text + length, whole);
            if (error == std::errc() && end == text + length) {
                value.type = ValueType::Integer;
                value.integer = whole;
            } else {
                value.type = ValueType::Float;
                value.real = parseFloat(text, length);
                value.text = {};
            }
            return;
        }
        case Cell::Text:
            value.type = ValueType::Text;
            value.text = std::string_view(text, static_cast<std::size_t>(length));
            return;
    }
}

}  // namespace store::pg

#include "importing/records/PurchaseImport.h"

#include <QCryptographicHash>
#include <QFile>
#include <memory>

#include "store/Connection.h"
#include "store/Database.h"
#include "store/Retry.h"
#include "store/Schema.h"
#include "store/Values.h"

namespace importing {

namespace {

namespace schema = store::schema;
namespace column = store::schema::column;

constexpr std::int64_t kProgressEvery = 1000;

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

// Stores checked rows into 表1 inside the import's transaction and notes the goods row each
// became.
class RowWriter {
  public:
    explicit RowWriter(store::Database& db)
        : db_(db),
          transaction_(db),
          insert_(db, schema::insertSql(schema::table(schema::kGoods))) {}

    void write(const PurchaseRow& row) {
        const auto& t = row.texts;
        int parameter = 1;
        const auto text = [&](int field) { insert_.bindText(parameter++, t[field]); };
        const auto number = [&](const std::string& value) {
            insert_.bindDouble(parameter++, *store::values::parseNumber(value));
        };
        for (int field = 0; field < purchases::kPriceField; ++field) text(field);
        number(t[purchases::kPriceField]);
        number(t[purchases::kQuantityField]);
        number(row.amount);
        for (int i = 0; i < 4; ++i) insert_.bindDouble(parameter++, 0);  // 销售 figures
        number(t[purchases::kQuantityField]);                            // 库存数量
        number(row.amount);                                              // 库存金额
        for (int field = purchases::kQuantityField + 1; field < purchases::kFieldCount; ++field)
            text(field);
        insert_.step();
        insert_.reset();
        created_.push_back({db_.lastInsertRowId(), row.fileRow});
    }

    std::int64_t rows() const noexcept { return static_cast<std::int64_t>(created_.size()); }

    // Records the import with its goods rows and commits everything; the import's ID.
    std::int64_t commit(const ImportFile& file) {
        const auto& imports = schema::table(schema::kImports);
        store::Statement record(db_, schema::insertSql(imports));
        record.bindText(1, file.time);
        record.bindText(2, file.fileName);
        record.bindText(3, file.contentHash);
        record.bindDouble(4, static_cast<double>(created_.size()));
        record.step();
        const std::int64_t importId = db_.lastInsertRowId();
        store::Statement goods(db_, schema::insertSql(schema::table(schema::kImportedGoods)));
        for (const auto& [goodsId, fileRow] : created_) {
            goods.bindInt64(1, importId);
            goods.bindInt64(2, goodsId);
            goods.bindInt64(3, fileRow);
            goods.step();
            goods.reset();
        }
        transaction_.commit();
        return importId;
    }

  private:
    store::Database& db_;
    store::Transaction transaction_;
    store::Statement insert_;
    std::vector<std::pair<std::int64_t, std::int64_t>> created_;  // goods ID, file row
};

ColumnMapping mappingFor(const std::vector<std::string>& headers, const ImportSettings& settings) {
    if (settings.mapping) return *settings.mapping;
    if (settings.remembered)
        if (auto remembered = settings.remembered(headers)) return *remembered;
    return mapHeaders(headers, settings.aliases);
}

// The one pass of the dry run and of the import; writer is null for the dry run.
ImportSummary pass(const RowSource& source, const ImportSettings& settings, RowWriter* writer) {
    ImportSummary summary;
    PurchaseRow row;
    bool writing = writer != nullptr;
    std::int64_t dataRows = 0;
    bool headerRead = false;
    const auto sink = [&](std::int64_t rowNumber, const std::vector<std::string_view>& cells) {
        if (!headerRead) {
            headerRead = true;
            for (const auto cell : cells) summary.headers.emplace_back(cell);
            summary.mapping = mappingFor(summary.headers, settings);
            summary.mapping.fieldOfColumn.resize(summary.headers.size(), kNotImported);
            summary.unmappedRequired = unmappedRequired(summary.mapping);
            if (!summary.unmappedRequired.empty()) writing = false;
            return true;
        }
        ++dataRows;
        if (settings.progress && dataRows % kProgressEvery == 0 && !settings.progress(dataRows)) {
            summary.cancelled = true;
            return false;
        }
        switch (checkRow(rowNumber, cells, summary.mapping, row, summary.errors)) {
            case RowCheck::Blank:
                ++summary.blankRows;
                return true;
            case RowCheck::Faulty:
                ++summary.faultyRows;
                // All or nothing: after a faulty row the rest is only checked.
                if (!settings.skipFaultyRows) writing = false;
                return true;
            case RowCheck::Stored:
                break;
        }
        ++summary.storableRows;
        if (summary.preview.size() < static_cast<std::size_t>(kPreviewRows))
            summary.preview.push_back(row);
        if (writing) writer->write(row);
        return true;
    };
    summary.facts = source(sink);
    return summary;
}

}  // namespace

bool ImportSummary::canImport(bool skipFaultyRows) const {
    return !cancelled && !headers.empty() && unmappedRequired.empty() && storableRows > 0 &&
           (faultyRows == 0 || skipFaultyRows);
}

std::string contentHash(const std::string& path) {
    QFile file(QString::fromStdString(path));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        throw ReadError("无法读取文件“" + path + "”：" + file.errorString().toStdString());
    return hash.result().toHex().toStdString();
}

std::optional<std::string> importedBefore(store::Connection& connection, const std::string& hash) {
    store::Statement find(connection.database(), "SELECT " + quoted(column::kImportTime) +
                                                     " FROM " + quoted(schema::kImports) +
                                                     " WHERE " + quoted(column::kContentHash) +
                                                     " = ? ORDER BY rowid DESC LIMIT 1");
    find.bindText(1, hash);
    if (!find.step()) return std::nullopt;
    return std::string(find.text(0));
}

ImportSummary dryRun(const RowSource& source, const ImportSettings& settings) {
    return pass(source, settings, nullptr);
}

ImportSummary importRows(store::Connection& connection, const RowSource& source,
                         const ImportSettings& settings, const ImportFile& file) {
    // A try given up for another counter's change reads the file again from its first row.
    return store::retryOnConflict(connection, [&] {
        RowWriter writer(connection.database());
        ImportSummary summary = pass(source, settings, &writer);
        if (!summary.canImport(settings.skipFaultyRows)) return summary;  // rolled back
        summary.importedRows = writer.rows();
        summary.importId = writer.commit(file);
        return summary;
    });
}

}  // namespace importing

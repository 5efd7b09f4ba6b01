#include "store/pg/PgSchema.h"

#include "store/SqlText.h"

namespace store::pg {

namespace {

constexpr const char* kCountChange = "\"变更计数_加一\"";

}  // namespace

std::vector<std::string> serverTableSql(const schema::TableDef& table) {
    std::string columns;
    for (const auto& column : table.columns) {
        if (!columns.empty()) columns += ", ";
        columns += sql::quotedName(column.name) + " ";
        switch (column.type) {
            case FieldType::Counter:
                columns += "integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
                break;
            case FieldType::Double:
                columns += "double precision";
                break;
            default:
                columns += "varchar(" + std::to_string(column.size) + ")";
                break;
        }
    }
    // The file's own row id, which a table without a counter has on the server only here.
    if (!table.hasCounter()) columns += ", rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
    std::vector<std::string> statements{"CREATE TABLE " + sql::quotedName(table.name) + " (" +
                                        columns + ")"};
    for (auto& index : schema::createIndexSql(table)) statements.push_back(std::move(index));
    statements.push_back("CREATE TRIGGER " + sql::quotedName(table.name + "_变更") +
                         " AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON " +
                         sql::quotedName(table.name) + " FOR EACH STATEMENT EXECUTE FUNCTION " +
                         kCountChange + "()");
    return statements;
}

std::vector<std::string> sharedPiecesSql() {
    const std::string counts = sql::quotedName(schema::kChangeCounts);
    return {
        "CREATE TABLE IF NOT EXISTS " + counts +
            " (\"表名\" varchar(64) PRIMARY KEY, \"版本\" bigint NOT NULL)",
        std::string("CREATE OR REPLACE FUNCTION ") + kCountChange +
            "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN INSERT INTO " + counts +
            " (\"表名\", \"版本\") VALUES (TG_TABLE_NAME, 1) ON CONFLICT (\"表名\") DO UPDATE SET "
            "\"版本\" = " +
            counts + ".\"版本\" + 1; RETURN NULL; END $$",
        // Half away from zero on the shortest text of x, as the file's own decimal_round.
        "CREATE OR REPLACE FUNCTION decimal_round(double precision, integer) RETURNS double "
        "precision LANGUAGE sql IMMUTABLE STRICT SET extra_float_digits = 1 AS "
        "$$ SELECT round($1::text::numeric, $2)::double precision $$",
    };
}

}  // namespace store::pg

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
    // Counted when the transaction commits, not at each statement: the count's row is then held
    // for the commit's moment only, and writers of one table do not wait for each other's
    // transactions to end.
    const std::string name = sql::quotedName(table.name);
    statements.push_back("CREATE CONSTRAINT TRIGGER " + sql::quotedName(table.name + "_变更") +
                         " AFTER INSERT OR UPDATE OR DELETE ON " + name +
                         " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION " +
                         kCountChange + "()");
    statements.push_back("CREATE TRIGGER " + sql::quotedName(table.name + "_清空") +
                         " AFTER TRUNCATE ON " + name + " FOR EACH STATEMENT EXECUTE FUNCTION " +
                         kCountChange + "()");
    return statements;
}

std::vector<std::string> sharedPiecesSql() {
    const std::string counts = sql::quotedName(schema::kChangeCounts);
    return {
        "CREATE TABLE IF NOT EXISTS " + counts +
            " (\"表名\" varchar(64) PRIMARY KEY, \"版本\" bigint NOT NULL)",
        // Once per table and transaction, however many rows it changed.
        std::string("CREATE OR REPLACE FUNCTION ") + kCountChange +
            "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF TG_LEVEL = 'ROW' THEN IF "
            "current_setting('jxc.changed_' || TG_RELID, true) = '1' THEN RETURN NULL; END IF; "
            "PERFORM set_config('jxc.changed_' || TG_RELID, '1', true); END IF; INSERT INTO " +
            counts +
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

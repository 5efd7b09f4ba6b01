#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "export/Workbook.h"

// A table for the writer held in vectors: each value a text, a number, or nothing.
struct VectorTable : workbook::TableSource {
    using Value = std::variant<std::monostate, std::string, double>;
    std::vector<std::string> names;
    std::vector<std::vector<Value>> rows;

    int columnCount() const override { return static_cast<int>(names.size()); }
    std::string_view columnName(int c) const override { return names[static_cast<std::size_t>(c)]; }
    int rowCount() const override { return static_cast<int>(rows.size()); }
    workbook::Cell cell(int r, int c) const override {
        const Value& v = rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        if (const auto* text = std::get_if<std::string>(&v)) return workbook::Cell::ofText(*text);
        if (const auto* number = std::get_if<double>(&v)) return workbook::Cell::ofNumber(*number);
        return workbook::Cell::empty();
    }
};

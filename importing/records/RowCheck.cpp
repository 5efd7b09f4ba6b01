#include "importing/records/RowCheck.h"

#include <QString>

#include "importing/records/ImportMessages.h"
#include "store/Decimal.h"
#include "store/Schema.h"
#include "store/Values.h"

namespace importing {

namespace {

namespace column = store::schema::column;

// The declared size of each text field's column of 表1.
std::array<std::size_t, purchases::kFieldCount> textSizes() {
    std::array<std::size_t, purchases::kFieldCount> sizes{};
    const auto& goods = store::schema::table(store::schema::kGoods);
    for (int field = 0; field < purchases::kFieldCount; ++field)
        for (const auto& def : goods.columns)
            if (def.name == purchases::kFieldColumns[field])
                sizes[field] = static_cast<std::size_t>(def.size);
    return sizes;
}

std::string tooLong(std::size_t size) {
    return QString::fromUtf8(kTooLong).arg(size).toStdString();
}

}  // namespace

RowCheck checkRow(std::int64_t fileRow, const std::vector<std::string_view>& cells,
                  const ColumnMapping& mapping, PurchaseRow& row, std::vector<CellError>& errors) {
    static const auto sizes = textSizes();
    row.fileRow = fileRow;
    row.texts.fill({});
    bool blank = true;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const int field = mapping.fieldOf(c);
        if (field == kNotImported) continue;
        row.texts[field] = std::string(cells[c]);
        if (!store::values::trimBlanks(cells[c]).empty()) blank = false;
    }
    if (blank) return RowCheck::Blank;

    const std::size_t errorsBefore = errors.size();
    const auto fail = [&](int field, const std::string& problem) {
        errors.push_back(
            {fileRow, std::string(purchases::kFieldColumns[field]), row.texts[field], problem});
    };
    std::array<store::Decimal, 2> numbers;
    for (int field = 0; field < purchases::kFieldCount; ++field) {
        std::string& text = row.texts[field];
        if (store::values::trimBlanks(text).empty()) {
            if (isRequired(field)) fail(field, kMissingValue);
            if (isNumberField(field)) text.clear();
            continue;
        }
        if (!isNumberField(field)) {
            if (store::values::characterCount(text) > sizes[field])
                fail(field, tooLong(sizes[field]));
            continue;
        }
        const auto number = store::Decimal::parse(text);
        if (!number)
            fail(field, kNotANumber);
        else if (number->isNegative())
            fail(field, kNegative);
        else if (!store::values::isAcceptedNumber(*number))
            fail(field, kTooLarge);
        else
            numbers[field == purchases::kPriceField ? 0 : 1] = *number;
    }
    if (errors.size() != errorsBefore) return RowCheck::Faulty;

    const store::Decimal amount = numbers[0] * numbers[1];
    if (!store::values::isAcceptedNumber(amount)) {
        errors.push_back({fileRow, column::kPurchaseAmount, amount.text(), kTooLarge});
        return RowCheck::Faulty;
    }
    for (int field : {purchases::kPriceField, purchases::kQuantityField})
        row.texts[field] = numbers[field == purchases::kPriceField ? 0 : 1].text();
    row.amount = amount.text();
    return RowCheck::Stored;
}

}  // namespace importing

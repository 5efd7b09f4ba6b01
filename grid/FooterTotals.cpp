#include "grid/FooterTotals.h"

#include "store/Error.h"
#include "store/Query.h"
#include "store/Values.h"

namespace grid {

namespace values = store::values;

void FooterTotals::setColumns(const std::vector<GridColumn>& columns) {
    columns_ = columns;
    sums_.clear();
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const GridColumn& column = columns[static_cast<std::size_t>(c)];
        if (column.footer == FooterKind::Sum) {
            Sum sum;
            sum.column = c;
            sum.formatted = !column.footerFormat.isEmpty();
            sums_.push_back(sum);
        }
    }
    editPending_ = false;
    deletePending_.reset();
}

double FooterTotals::numberAt(const store::Query& query, int row, int field) {
    if (field < 0) return 0;
    const std::string_view text = query.fieldTextAt(row, field);
    if (text.empty()) return 0;
    return values::parseNumber(text).value_or(0);
}

void FooterTotals::add(Sum& sum, values::Total base, double value) noexcept {
    try {
        sum.total = values::addTenThousandths(base, value);
    } catch (const store::StoreError&) {
        sum.outOfRange = true;
    }
}

store::values::Total FooterTotals::valueAt(const store::Query& query, int row, int field) {
    const double number = numberAt(query, row, field);
    return values::isAcceptedNumber(number) ? values::toTenThousandths(number) : 0;
}

void FooterTotals::rebuild(const store::Query& query) {
    editPending_ = false;
    deletePending_.reset();
    for (Sum& sum : sums_) {
        sum.field =
            query.fieldIndex(columns_[static_cast<std::size_t>(sum.column)].field.toStdString());
        sum.total = 0;
        sum.saved = 0;
        sum.outOfRange = false;
    }
    // Rows shared with other lists bring their totals with them.
    for (Sum& sum : sums_) {
        if (sum.field < 0) continue;
        try {
            sum.total = query.columnTotal(sum.field);
        } catch (const store::StoreError&) {
            sum.outOfRange = true;  // a number from the file beyond what totals hold
        }
    }
}

void FooterTotals::reset() {
    for (Sum& sum : sums_) {
        sum.field = -1;
        sum.total = 0;
        sum.saved = 0;
        sum.outOfRange = false;
    }
    editPending_ = false;
    deletePending_.reset();
}

void FooterTotals::deleteRefused() { deletePending_.reset(); }

void FooterTotals::editStarted(const store::Query& query) {
    deletePending_.reset();
    const bool inserting = query.state() == store::Query::State::Insert;
    for (Sum& sum : sums_)
        sum.saved = inserting ? 0 : valueAt(query, query.currentIndex(), sum.field);
    editPending_ = true;
}

void FooterTotals::posted(const store::Query& query, int row) {
    if (!editPending_) return;
    editPending_ = false;
    for (Sum& sum : sums_) {
        if (sum.field < 0) continue;
        const std::string_view text = query.fieldTextAt(row, sum.field);
        const std::optional<double> number =
            text.empty() ? std::nullopt : values::parseNumber(text);
        sum.total -= sum.saved;
        if (number) add(sum, sum.total, *number);
        sum.saved = 0;
    }
}

void FooterTotals::cancelled() { editPending_ = false; }

void FooterTotals::aboutToDelete(const store::Query& query, int row) {
    for (Sum& sum : sums_) sum.pendingDelete = numberAt(query, row, sum.field);
    deletePending_ = row;
}

void FooterTotals::removed(int row) {
    // Only a deletion the store carried out lowers the totals; a refused one leaves them. The
    // difference is rounded, not the row's share, so a half goes to the even new total.
    if (deletePending_ != row) return;
    deletePending_.reset();
    for (Sum& sum : sums_) {
        add(sum, sum.total, -sum.pendingDelete);
        sum.pendingDelete = 0;
    }
}

void FooterTotals::aboutToDeleteRows(const store::Query& query, const std::vector<int>& rows) {
    bulkPending_.clear();
    for (const Sum& sum : sums_) {
        values::Total total = sum.total;
        // Last to first, the order of the deletions, so each rounding falls as it would.
        if (sum.field >= 0)
            for (auto row = rows.rbegin(); row != rows.rend(); ++row)
                total = values::addTenThousandths(total, -numberAt(query, *row, sum.field));
        bulkPending_.push_back(total);
    }
    bulkDeletePending_ = true;
}

void FooterTotals::rowsRemoved() {
    if (!bulkDeletePending_ || bulkPending_.size() != sums_.size()) return;
    bulkDeletePending_ = false;
    for (std::size_t i = 0; i < sums_.size(); ++i) sums_[i].total = bulkPending_[i];
    bulkPending_.clear();
}

const FooterTotals::Sum* FooterTotals::sumOf(int column) const {
    for (const Sum& sum : sums_)
        if (sum.column == column) return &sum;
    return nullptr;
}

store::values::Total FooterTotals::total(int column) const {
    const Sum* sum = sumOf(column);
    return sum ? sum->total : 0;
}

QString FooterTotals::text(int column) const {
    if (column < 0 || column >= static_cast<int>(columns_.size())) return {};
    const GridColumn& settings = columns_[static_cast<std::size_t>(column)];
    switch (settings.footer) {
        case FooterKind::None:
            return {};
        case FooterKind::StaticText:
            return settings.footerText;
        case FooterKind::Sum:
            break;
    }
    const Sum* sum = sumOf(column);
    if (!sum || sum->field < 0) return QStringLiteral("0");
    if (sum->outOfRange) return QStringLiteral("数值过大");
    const std::string text = sum->formatted ? values::tenThousandthsDisplay(sum->total)
                                            : values::tenThousandthsText(sum->total);
    return QString::fromStdString(text);
}

}  // namespace grid

#pragma once

#include <QLineEdit>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace panels {

// A panel's edits read and set as UTF-8 texts, with their changed flags (the edit's own modified
// state: set by any change the user makes, cleared whenever the program sets the text).

template <std::size_t N>
std::array<std::string, N> editTexts(const std::array<QLineEdit*, N>& edits) {
    std::array<std::string, N> texts;
    for (std::size_t i = 0; i < N; ++i) texts[i] = edits[i]->text().toStdString();
    return texts;
}

template <std::size_t N>
std::array<bool, N> editsChanged(const std::array<QLineEdit*, N>& edits) {
    std::array<bool, N> changed{};
    for (std::size_t i = 0; i < N; ++i) changed[i] = edits[i]->isModified();
    return changed;
}

inline void setEditText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
    edit->setModified(false);
}

// The N edits named Edit<first> to Edit<first + N - 1> inside panel, in that order.
template <std::size_t N>
std::array<QLineEdit*, N> numberedEdits(const QWidget& panel, int first) {
    std::array<QLineEdit*, N> edits{};
    for (std::size_t i = 0; i < N; ++i) {
        const QString name = QStringLiteral("Edit%1").arg(first + int(i));
        edits[i] = panel.findChild<QLineEdit*>(name);
        if (edits[i] == nullptr) throw std::logic_error("no field " + name.toStdString());
    }
    return edits;
}

// The edit of a panel that holds column, the panel's edits standing in the order of its columns.
template <std::size_t N>
QLineEdit& editForColumn(const std::array<QLineEdit*, N>& edits,
                         const std::array<std::string_view, N>& columns, std::string_view column) {
    for (std::size_t i = 0; i < N; ++i)
        if (columns[i] == column) return *edits[i];
    throw std::invalid_argument("no field for the column " + std::string(column));
}

template <std::size_t N>
void setEditTexts(const std::array<QLineEdit*, N>& edits, const std::array<std::string, N>& texts) {
    for (std::size_t i = 0; i < N; ++i) setEditText(edits[i], texts[i]);
}

// Fills an entry panel's edits from the current row through records.load, which calls back with
// each field's index and text, and notes the row's ID in editedId. A row that cannot be loaded
// leaves part of it in the edits, so editedId becomes -1 and the error goes on: a later write-back
// cannot carry those texts into the row noted before. False, nothing changed, when there is no row.
template <typename Records, std::size_t N>
bool loadForEditing(Records& records, const std::array<QLineEdit*, N>& edits,
                    std::int64_t& editedId) {
    std::optional<std::int64_t> rowId;
    try {
        rowId = records.load(
            [&](int field, const std::string& text) { setEditText(edits[field], text); });
    } catch (...) {
        editedId = -1;
        throw;
    }
    if (!rowId) return false;
    editedId = *rowId;
    return true;
}

}  // namespace panels

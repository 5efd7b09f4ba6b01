#pragma once

#include <QLineEdit>
#include <array>
#include <cstddef>
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

}  // namespace panels

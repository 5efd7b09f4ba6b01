#pragma once

#include <QLineEdit>
#include <array>
#include <cstddef>
#include <string>

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

template <std::size_t N>
void setEditTexts(const std::array<QLineEdit*, N>& edits, const std::array<std::string, N>& texts) {
    for (std::size_t i = 0; i < N; ++i) setEditText(edits[i], texts[i]);
}

}  // namespace panels

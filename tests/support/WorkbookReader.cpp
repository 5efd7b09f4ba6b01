#include "tests/support/WorkbookReader.h"

#include <freexl.h>

#include <charconv>

namespace testsupport {

std::string ReadSheet::at(unsigned row, unsigned column) const {
    const auto found = cells.find({row, column});
    return found == cells.end() ? std::string() : found->second;
}

std::string textCell(const std::string& text) { return "t:" + text; }

std::string numberCell(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return "n:" + std::string(buffer, result.ptr);
}

namespace {

struct Handle {
    const void* h = nullptr;
    ~Handle() {
        if (h != nullptr) freexl_close(h);
    }
};

std::string cellText(const FreeXL_CellValue& value) {
    switch (value.type) {
        case FREEXL_CELL_INT:
            return numberCell(static_cast<double>(value.value.int_value));
        case FREEXL_CELL_DOUBLE:
            return numberCell(value.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return textCell(value.value.text_value);
        default:
            return {};
    }
}

}  // namespace

ReadWorkbook readWorkbook(const std::string& file) {
    ReadWorkbook book;
    Handle handle;
    const int rc = freexl_open(file.c_str(), &handle.h);
    // FreeXL may report success without a handle when the BIFF data is broken.
    if (rc != FREEXL_OK || handle.h == nullptr) {
        book.error = "freexl_open: " + std::to_string(rc);
        return book;
    }
    freexl_get_info(handle.h, FREEXL_BIFF_CODEPAGE, &book.codePage);
    unsigned count = 0;
    freexl_get_info(handle.h, FREEXL_BIFF_SHEET_COUNT, &count);
    for (unsigned s = 0; s < count; ++s) {
        ReadSheet sheet;
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle.h, static_cast<unsigned short>(s), &name) ==
                FREEXL_OK &&
            name != nullptr)
            sheet.name = name;
        if (freexl_select_active_worksheet(handle.h, static_cast<unsigned short>(s)) != FREEXL_OK) {
            book.error = "sheet " + std::to_string(s) + " cannot be selected";
            return book;
        }
        unsigned short columns = 0;
        freexl_worksheet_dimensions(handle.h, &sheet.rows, &columns);
        sheet.columns = columns;
        for (unsigned r = 0; r < sheet.rows; ++r) {
            for (unsigned c = 0; c < sheet.columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle.h, r, static_cast<unsigned short>(c), &value) !=
                    FREEXL_OK) {
                    book.error = "cell " + std::to_string(r) + "," + std::to_string(c);
                    return book;
                }
                std::string text = cellText(value);
                if (!text.empty()) sheet.cells[{r, c}] = std::move(text);
            }
        }
        book.sheets.push_back(std::move(sheet));
    }
    book.opened = true;
    return book;
}

}  // namespace testsupport

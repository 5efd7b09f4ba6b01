// Runs tests/support/dump_workbook.py and reads back what it prints.
#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "tests/support/WorkbookReader.h"

namespace testsupport {

namespace {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        out.push_back(line.substr(from, tab - from));
    out.push_back(line.substr(from));
    return out;
}

unsigned number(const std::string& text) { return static_cast<unsigned>(std::stoul(text)); }

void addLine(ReadWorkbook& book, const std::vector<std::string>& f) {
    const std::string& kind = f[0];
    if (kind == "note" && f.size() == 2) {
        book.notes.push_back(unescaped(f[1]));
    } else if (kind == "font" && f.size() == 6) {
        book.fonts[number(f[1])] = {unescaped(f[2]), number(f[3]), number(f[4]), number(f[5])};
    } else if (kind == "sheet" && f.size() == 4) {
        ReadSheet sheet;
        sheet.name = unescaped(f[1]);
        sheet.rows = number(f[2]);
        sheet.columns = number(f[3]);
        book.sheets.push_back(std::move(sheet));
    } else if (kind == "width" && f.size() == 3 && !book.sheets.empty()) {
        book.sheets.back().columnWidths[number(f[1])] = number(f[2]);
    } else if (kind == "cell" && f.size() == 6 && !book.sheets.empty()) {
        const std::pair<unsigned, unsigned> at{number(f[1]), number(f[2])};
        ReadSheet& sheet = book.sheets.back();
        sheet.cells[at] = f[3] == "n" ? numberCell(std::stod(f[4])) : textCell(unescaped(f[4]));
        sheet.cellFonts[at] = number(f[5]);
    } else {
        throw std::runtime_error("unexpected line from the workbook dump: " + f[0]);
    }
}

}  // namespace

const ReadFont& ReadWorkbook::fontOf(unsigned sheet, unsigned row, unsigned column) const {
    static const ReadFont kNone;
    const auto& fontsOfCells = sheets.at(sheet).cellFonts;
    const auto cell = fontsOfCells.find({row, column});
    if (cell == fontsOfCells.end()) return kNone;
    const auto font = fonts.find(cell->second);
    return font == fonts.end() ? kNone : font->second;
}

ReadWorkbook readWorkbookWithXlrd(const std::string& file) {
    ReadWorkbook book;
    const std::string command = "/usr/bin/python3 " + shellQuoted(JXC_DUMP_WORKBOOK_SCRIPT) + " " +
                                shellQuoted(file) + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        book.error = "cannot run " + command;
        return book;
    }
    std::string output;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe.release());
    if (status != 0) {
        book.error = output.empty() ? "exit status " + std::to_string(status) : output;
        return book;
    }
    std::istringstream lines(output);
    try {
        for (std::string line; std::getline(lines, line);) addLine(book, fields(line));
    } catch (const std::exception& e) {
        book.error = e.what();
        return book;
    }
    book.opened = true;
    return book;
}

}  // namespace testsupport

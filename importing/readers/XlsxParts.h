#pragma once

#include <QXmlStreamReader>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "importing/readers/CellText.h"
#include "importing/readers/ZipArchive.h"

// The parts of an .xlsx workbook that a sheet's cells refer to.
namespace importing::xlsx {

struct Sheet {
    std::string name;
    std::string part;  // the member of the archive that holds its cells
};

struct Workbook {
    std::vector<Sheet> sheets;  // in the workbook's order
    bool date1904 = false;
    std::string sharedStringsPart;  // empty when there is none
    std::string stylesPart;
};

// The texts of the shared strings table, in one buffer; a rich text's runs joined.
class SharedStrings {
  public:
    void add(std::string_view text);
    std::size_t size() const { return ends_.size(); }
    std::string_view at(std::size_t index) const;

  private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

// The error of a part that is no well-formed XML, naming file; nothing when reader has none.
void throwIfBroken(const QXmlStreamReader& reader, const std::string& part,
                   const std::string& file);

// The text of the element reader stands on (<si>, <is>): its <t> texts, runs included, the
// phonetic readings (<rPh>) left out. Leaves reader on the element's end.
std::string richText(QXmlStreamReader& reader);

Workbook readWorkbook(const ZipArchive& archive, const std::string& file);
SharedStrings readSharedStrings(const ZipArchive& archive, const std::string& part,
                                const std::string& file);
// The kind of number format of each cell format (the s attribute of a cell indexes it).
std::vector<celltext::FormatKind> readCellFormats(const ZipArchive& archive,
                                                  const std::string& part, const std::string& file);

}  // namespace importing::xlsx

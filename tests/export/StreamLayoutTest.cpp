// The record layout of the Workbook stream, read with libgsf: what FreeXL does not look at (the
// index of the string table, every record's length) checked against the file format's rules.
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "export/Workbook.h"
#include "tests/export/VectorTable.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Record {
    std::size_t offset;  // of its header in the stream
    std::uint16_t id;
    std::vector<std::uint8_t> data;
};

std::uint16_t u16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}
std::uint32_t u32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return u16(d, at) | static_cast<std::uint32_t>(u16(d, at + 2)) << 16;
}

std::vector<std::uint8_t> workbookStream(const std::string& file) {
    GError* error = nullptr;
    GsfInput* input = gsf_input_stdio_new(file.c_str(), &error);
    EXPECT_NE(input, nullptr);
    GsfInfile* root = gsf_infile_msole_new(input, &error);
    g_object_unref(input);
    EXPECT_NE(root, nullptr);
    std::vector<std::uint8_t> bytes;
    if (root == nullptr) return bytes;
    EXPECT_EQ(gsf_infile_num_children(root), 1);
    GsfInput* stream = gsf_infile_child_by_name(root, "Workbook");
    EXPECT_NE(stream, nullptr);
    if (stream != nullptr) {
        bytes.resize(static_cast<std::size_t>(gsf_input_size(stream)));
        gsf_input_read(stream, bytes.size(), bytes.data());
        g_object_unref(stream);
    }
    g_object_unref(root);
    return bytes;
}

std::vector<Record> records(const std::vector<std::uint8_t>& stream) {
    std::vector<Record> out;
    std::size_t at = 0;
    while (at + 4 <= stream.size()) {
        Record r{at, u16(stream, at), {}};
        const std::size_t size = u16(stream, at + 2);
        EXPECT_LE(size, 8224u) << "record " << std::hex << r.id;
        if (at + 4 + size > stream.size()) {
            ADD_FAILURE() << "record " << std::hex << r.id << " runs past the stream's end";
            break;
        }
        r.data.assign(stream.begin() + static_cast<std::ptrdiff_t>(at + 4),
                      stream.begin() + static_cast<std::ptrdiff_t>(at + 4 + size));
        out.push_back(std::move(r));
        at += 4 + size;
    }
    EXPECT_EQ(at, stream.size());
    return out;
}

using StringStarts = std::vector<std::pair<std::size_t, std::size_t>>;

// Walks the string table as a reader does and notes where each string begins: its stream offset
// and its offset inside its record, header included. Stops at the first record that breaks the
// layout, with a failure that says which (call it through ASSERT_NO_FATAL_FAILURE).
void stringStarts(const std::vector<Record>& all, std::size_t sst, StringStarts& starts) {
    ASSERT_GE(all[sst].data.size(), 8u) << "the string table's header is cut";
    const std::uint32_t unique = u32(all[sst].data, 4);
    std::size_t piece = sst, at = 8;
    const auto room = [&] { return all[piece].data.size() - at; };
    const auto continued = [&] {
        ++piece;
        at = 0;
        return piece < all.size() && all[piece].id == 0x003C;
    };
    for (std::uint32_t s = 0; s < unique; ++s) {
        if (room() == 0) {
            ASSERT_TRUE(continued()) << "string " << s << ": no CONTINUE record";
        }
        starts.emplace_back(all[piece].offset + 4 + at, at + 4);
        ASSERT_GE(room(), 3u) << "string " << s << " header cut";
        std::size_t left = u16(all[piece].data, at);
        std::size_t width = all[piece].data[at + 2] & 1 ? 2 : 1;
        at += 3;
        EXPECT_GT(left, 0u);
        while (left > 0) {
            if (room() == 0) {
                ASSERT_TRUE(continued()) << "string " << s << ": no CONTINUE record";
                ASSERT_GT(room(), 0u)
                    << "string " << s << ": CONTINUE record " << piece << " lacks its option byte";
                width = all[piece].data[at++] & 1 ? 2 : 1;  // the repeated option byte
            }
            const std::size_t take = std::min(left, room() / width);
            ASSERT_GT(take, 0u) << "string " << s << ": record " << piece
                                << " ends inside a character (a CONTINUE record without its "
                                   "option byte reads one character byte as that byte)";
            at += take * width;
            left -= take;
        }
    }
    EXPECT_EQ(at, all[piece].data.size());
    ASSERT_LT(piece + 1, all.size());
    EXPECT_NE(all[piece + 1].id, 0x003C);
}

TEST(StreamLayout, SheetOffsetsAndTheStringIndexPointWhereTheyShould) {
    testsupport::TemporaryDirectory dir;
    VectorTable table;
    table.names = {"商品编码", "商品名称"};
    for (int k = 0; k < 70000; ++k) {
        std::string name;
        for (int i = 0; i <= k % 300; ++i) name += k % 2 ? "进" : "x";
        table.rows.push_back({"SP" + std::to_string(k), name});
    }
    const std::string file = (dir.path() / "layout.xls").string();
    ASSERT_EQ(workbook::writeWorkbook(file, table), workbook::Outcome::Written);

    const auto stream = workbookStream(file);
    const auto all = records(stream);
    ASSERT_FALSE(all.empty());
    int sheets = 0;
    std::size_t sst = 0, extsst = 0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (all[k].id == 0x0085) {
            const std::uint32_t bof = u32(all[k].data, 0);
            ASSERT_LT(bof + 8, stream.size());
            EXPECT_EQ(u16(stream, bof), 0x0809);
            EXPECT_EQ(u16(stream, bof + 6), 0x0010);  // a worksheet
            ++sheets;
        }
        if (all[k].id == 0x00FC) sst = k;
        if (all[k].id == 0x00FF) extsst = k;
    }
    EXPECT_EQ(sheets, 2);
    ASSERT_GT(sst, 0u);
    ASSERT_GT(extsst, sst);
    EXPECT_EQ(u32(all[sst].data, 0), 2u * 70000 + 2 * 2);  // cells using strings, headers twice

    StringStarts starts;
    ASSERT_NO_FATAL_FAILURE(stringStarts(all, sst, starts));
    const std::vector<std::uint8_t>& index = all[extsst].data;
    const std::size_t perBucket = u16(index, 0);
    EXPECT_EQ(perBucket, std::max<std::size_t>(starts.size() / 128 + 1, 8));
    ASSERT_EQ((index.size() - 2) / 8, (starts.size() + perBucket - 1) / perBucket);
    for (std::size_t b = 0; 2 + 8 * b < index.size(); ++b) {
        EXPECT_EQ(u32(index, 2 + 8 * b), starts[b * perBucket].first) << "bucket " << b;
        EXPECT_EQ(u16(index, 6 + 8 * b), starts[b * perBucket].second) << "bucket " << b;
    }
}

namespace rec {
constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kIndex = 0x020B, kDefColWidth = 0x0055,
                        kColInfo = 0x007D, kRow = 0x0208, kDbCell = 0x00D7, kLabelSst = 0x00FD,
                        kNumber = 0x0203;
}  // namespace rec

bool isCell(std::uint16_t id) { return id == rec::kLabelSst || id == rec::kNumber; }

// Checks one worksheet's INDEX, ROW and DBCELL records against where its cells really are: the
// INDEX lists every DBCELL and the DEFCOLWIDTH, each DBCELL leads back to its block's first ROW
// record and from there to each row's first cell, and each ROW spans its row's cells.
void checkCellIndex(const std::vector<Record>& all, std::size_t bof, unsigned columns) {
    std::map<std::size_t, std::size_t> starts;  // stream offset -> record
    std::size_t end = bof;
    while (all[end].id != rec::kEof) starts[all[end].offset] = end, ++end;
    // The record that begins at offset; a pointer to no record's start fails the test.
    const auto at = [&](std::size_t offset) {
        const auto found = starts.find(offset);
        if (found != starts.end()) return found->second;
        ADD_FAILURE() << "no record begins at " << offset;
        return end;
    };
    ASSERT_EQ(all[bof + 1].id, rec::kIndex) << "INDEX right after BOF";
    const auto& index = all[bof + 1].data;

    std::vector<std::size_t> dbCells;
    std::map<unsigned, std::pair<unsigned, unsigned>> rowCells;  // row -> first, last column
    std::size_t defColWidth = 0, colInfos = 0;
    for (std::size_t k = bof; k < end; ++k) {
        const Record& r = all[k];
        if (r.id == rec::kDbCell) dbCells.push_back(r.offset);
        if (r.id == rec::kDefColWidth) defColWidth = r.offset;
        if (r.id == rec::kColInfo) ++colInfos;
        if (isCell(r.id)) {
            const unsigned row = u16(r.data, 0), column = u16(r.data, 2);
            auto [span, added] = rowCells.try_emplace(row, column, column);
            if (!added) span->second.second = column;
        }
    }
    EXPECT_EQ(colInfos, columns);
    EXPECT_EQ(u32(index, 0), 0u);
    ASSERT_FALSE(rowCells.empty());
    EXPECT_EQ(u32(index, 4), rowCells.begin()->first);
    EXPECT_EQ(u32(index, 8), rowCells.rbegin()->first + 1);
    EXPECT_EQ(u32(index, 12), defColWidth);
    std::vector<std::size_t> listed;
    for (std::size_t k = 16; k + 4 <= index.size(); k += 4) listed.push_back(u32(index, k));
    ASSERT_EQ(listed, dbCells);

    std::set<unsigned> rowsSeen;
    for (std::size_t dbCell : dbCells) {
        const auto& d = all[at(dbCell)].data;
        const std::size_t rows = (d.size() - 4) / 2;
        if (u32(d, 0) == 0) {
            EXPECT_EQ(rows, 0u);
            continue;
        }
        const std::size_t firstRow = at(dbCell - u32(d, 0));
        ASSERT_EQ(all[firstRow].id, rec::kRow) << "the block at " << dbCell << " begins with a ROW";
        std::size_t cell = all[firstRow].offset + 20;
        for (std::size_t k = 0; k < rows; ++k) {
            const Record& row = all[firstRow + k];
            ASSERT_EQ(row.id, rec::kRow) << "block at " << dbCell << " row " << k;
            const unsigned number = u16(row.data, 0);
            EXPECT_EQ(number / 32, u16(all[firstRow].data, 0) / 32) << "one block, 32 rows";
            rowsSeen.insert(number);
            const auto span = rowCells.at(number);
            EXPECT_EQ(u16(row.data, 2), span.first);
            EXPECT_EQ(u16(row.data, 4), span.second + 1);
            cell += u16(d, 4 + 2 * k);
            const Record& first = all[at(cell)];
            ASSERT_TRUE(isCell(first.id)) << "row " << number;
            EXPECT_EQ(u16(first.data, 0), number);
            EXPECT_EQ(u16(first.data, 2), span.first);
        }
        // Between the ROW records and the DBCELL only the block's cells.
        for (std::size_t k = firstRow + rows; k < at(dbCell); ++k) {
            ASSERT_TRUE(isCell(all[k].id)) << std::hex << all[k].id;
            EXPECT_EQ(u16(all[k].data, 0) / 32, u16(all[firstRow].data, 0) / 32);
        }
    }
    std::set<unsigned> rowsWithCells;
    for (const auto& [row, span] : rowCells) rowsWithCells.insert(row);
    EXPECT_EQ(rowsSeen, rowsWithCells);
}

// Rows with and without cells, whole empty blocks among them, over two worksheets.
TEST(StreamLayout, IndexAndDbCellsPointAtTheRowsAndTheirCells) {
    testsupport::TemporaryDirectory dir;
    VectorTable table;
    table.names = {"商品编码", "", "进货数量"};
    for (int k = 0; k < 70000; ++k) {
        VectorTable::Value code = "SP" + std::to_string(k), count = static_cast<double>(k);
        if (k % 5 == 1) code = {};  // a row starting in its last column
        if (k % 7 == 3) count = {};
        if (k >= 1000 && k < 1100) code = count = {};  // empty rows, three blocks and more
        table.rows.push_back({code, {}, count});
    }
    const std::string file = (dir.path() / "index.xls").string();
    ASSERT_EQ(workbook::writeWorkbook(file, table), workbook::Outcome::Written);
    const auto all = records(workbookStream(file));
    int sheets = 0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (all[k].id != rec::kBof || u16(all[k].data, 2) != 0x0010) continue;
        ++sheets;
        SCOPED_TRACE("sheet " + std::to_string(sheets));
        checkCellIndex(all, k, 3);
    }
    EXPECT_EQ(sheets, 2);
}

// The globals in the order Excel's grammar gives them.
TEST(StreamLayout, GlobalRecordsComeInTheirOrder) {
    testsupport::TemporaryDirectory dir;
    VectorTable table;
    table.names = {"商品编码"};
    table.rows = {{std::string("001")}};
    const std::string file = (dir.path() / "globals.xls").string();
    ASSERT_EQ(workbook::writeWorkbook(file, table), workbook::Outcome::Written);
    std::vector<std::uint16_t> order;
    std::vector<std::uint16_t> formats;
    for (const Record& r : records(workbookStream(file))) {
        if (r.id == 0x041E) formats.push_back(u16(r.data, 0));
        if (order.empty() || order.back() != r.id) order.push_back(r.id);
        if (r.id == 0x005C) {
            EXPECT_EQ(r.data.size(), 112u) << "WRITEACCESS";
        }
        if (r.id == 0x008C) {
            EXPECT_EQ(u16(r.data, 0), 86u) << "COUNTRY";
        }
        if (r.id == rec::kEof) break;
    }
    const std::vector<std::uint16_t> expected{rec::kBof, 0x00E1, 0x00C1,   0x00E2, 0x005C,
                                              0x0042,    0x0161, 0x003D,   0x0022,
                                              0x00DA,  // BOOKBOOL
                                              0x0031,  // FONT
                                              0x041E,  // FORMAT
                                              0x00E0,  // XF
                                              0x0293,  // STYLE
                                              0x0085,  // BOUNDSHEET
                                              0x008C,  // COUNTRY
                                              0x00FC,    0x00FF, rec::kEof};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(formats, (std::vector<std::uint16_t>{5, 6, 7, 8, 42, 41, 44, 43}));
}

}  // namespace

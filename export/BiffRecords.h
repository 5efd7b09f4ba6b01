#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "export/ByteBuffer.h"

namespace workbook::biff {

namespace id {
constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kInterfaceHdr = 0x00E1, kMms = 0x00C1,
                        kInterfaceEnd = 0x00E2, kWriteAccess = 0x005C, kCodePage = 0x0042,
                        kDsf = 0x0161, kWindow1 = 0x003D, kDateMode = 0x0022, kBookBool = 0x00DA,
                        kFont = 0x0031, kFormat = 0x041E, kXf = 0x00E0, kStyle = 0x0293,
                        kBoundSheet = 0x0085, kCountry = 0x008C, kIndex = 0x020B, kWsBool = 0x0081,
                        kDefColWidth = 0x0055, kColInfo = 0x007D, kDimensions = 0x0200,
                        kRow = 0x0208, kLabelSst = 0x00FD, kNumber = 0x0203, kDbCell = 0x00D7,
                        kWindow2 = 0x023E;
}  // namespace id

// Cell formats: 15 is the default one every value uses, 16 the header row's, in bold.
constexpr std::uint16_t kCellXf = 15;
constexpr std::uint16_t kHeaderXf = 16;

// A worksheet's default column width in characters (DEFCOLWIDTH).
constexpr std::uint16_t kDefaultColumnWidth = 8;

void bof(ByteBuffer& out, std::uint16_t type);
// A record whose data is a few 16-bit words.
void simple(ByteBuffer& out, std::uint16_t record, std::initializer_list<std::uint16_t> words);
void eof(ByteBuffer& out);

// The globals from the writing program (WRITEACCESS) to the date system and BOOKBOOL.
void bookSettings(ByteBuffer& out);
// FONT, FORMAT, XF and STYLE records: 宋体 in GB2312, 11 points, the header's font bold.
void formatting(ByteBuffer& out);

}  // namespace workbook::biff

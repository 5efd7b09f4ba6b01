#include "export/BiffRecords.h"

#include "export/SharedStrings.h"

namespace workbook::biff {

namespace {

constexpr std::uint16_t kFontHeight = 220;  // 11 points, in twips
constexpr std::uint8_t kGb2312 = 134;
constexpr std::uint16_t kNormal = 400, kBold = 700, kItalic = 0x02;
constexpr std::uint16_t kSongTi[] = {0x5B8B, 0x4F53};  // 宋体
constexpr std::size_t kWriteAccessSize = 112;

// An XLUnicodeString: 16-bit count, flags, then one byte per character when every one fits.
void unicodeString(ByteBuffer& out, std::string_view utf8) {
    const EncodedText text = encodeText(utf8);
    out.u16(static_cast<std::uint16_t>(text.units.size()));
    out.u8(text.compressed ? 0 : 1);
    for (std::uint16_t unit : text.units) {
        if (text.compressed)
            out.u8(static_cast<std::uint8_t>(unit));
        else
            out.u16(unit);
    }
}

void font(ByteBuffer& out, std::uint16_t flags, std::uint16_t weight) {
    out.beginRecord(id::kFont);
    out.u16(kFontHeight);
    // The weight makes a face bold; the flag that meant bold in older versions is set too, for
    // the readers that still look at it.
    out.u16(static_cast<std::uint16_t>(flags | (weight >= kBold ? 0x01 : 0)));
    out.u16(0x7FFF);  // automatic colour
    out.u16(weight);
    out.u16(0);  // no super- or subscript
    out.u8(0);   // no underline
    out.u8(0);   // family
    out.u8(kGb2312);
    out.u8(0);
    out.u8(static_cast<std::uint8_t>(std::size(kSongTi)));
    out.u8(1);  // UTF-16
    for (std::uint16_t unit : kSongTi) out.u16(unit);
    out.endRecord();
}

// The currency and accounting formats a Chinese Excel writes into every workbook.
void builtInFormats(ByteBuffer& out) {
    static constexpr struct {
        std::uint16_t index;
        const char* code;
    } kFormats[] = {
        {5, R"("¥"#,##0;"¥"\-#,##0)"},
        {6, R"("¥"#,##0;[Red]"¥"\-#,##0)"},
        {7, R"("¥"#,##0.00;"¥"\-#,##0.00)"},
        {8, R"("¥"#,##0.00;[Red]"¥"\-#,##0.00)"},
        {42, R"(_ "¥"* #,##0_ ;_ "¥"* \-#,##0_ ;_ "¥"* "-"_ ;_ @_ )"},
        {41, R"(_ * #,##0_ ;_ * \-#,##0_ ;_ * "-"_ ;_ @_ )"},
        {44, R"(_ "¥"* #,##0.00_ ;_ "¥"* \-#,##0.00_ ;_ "¥"* "-"??_ ;_ @_ )"},
        {43, R"(_ * #,##0.00_ ;_ * \-#,##0.00_ ;_ * "-"??_ ;_ @_ )"},
    };
    for (const auto& format : kFormats) {
        out.beginRecord(id::kFormat);
        out.u16(format.index);
        unicodeString(out, format.code);
        out.endRecord();
    }
}

void xf(ByteBuffer& out, std::uint16_t fontIndex, std::uint16_t typeAndParent,
        std::uint8_t usedAttributes) {
    out.beginRecord(id::kXf);
    out.u16(fontIndex);
    out.u16(0);  // format General
    out.u16(typeAndParent);
    out.u8(0x20);  // bottom aligned
    out.u8(0);
    out.u8(0);
    out.u8(usedAttributes);
    out.zeros(8);  // no borders, no fill
    out.u16(0x20C0);
    out.endRecord();
}

}  // namespace

void bof(ByteBuffer& out, std::uint16_t type) {
    out.beginRecord(id::kBof);
    out.u16(0x0600);  // BIFF8
    out.u16(type);
    out.u16(0x0DBB);  // build
    out.u16(0x07CC);  // year
    out.u32(0x00000041);
    out.u32(0x00000006);
    out.endRecord();
}

void simple(ByteBuffer& out, std::uint16_t record, std::initializer_list<std::uint16_t> words) {
    out.beginRecord(record);
    for (std::uint16_t w : words) out.u16(w);
    out.endRecord();
}

void eof(ByteBuffer& out) {
    out.beginRecord(id::kEof);
    out.endRecord();
}

void bookSettings(ByteBuffer& out) {
    simple(out, id::kInterfaceHdr, {1200});
    simple(out, id::kMms, {0});
    simple(out, id::kInterfaceEnd, {});
    out.beginRecord(id::kWriteAccess);
    unicodeString(out, "Quenvar进销存");
    while (out.recordDataSize() < kWriteAccessSize) out.u8(' ');
    out.endRecord();
    simple(out, id::kCodePage, {1200});
    simple(out, id::kDsf, {0});
    simple(out, id::kWindow1, {0x0168, 0x001E, 0x3FCF, 0x2A4E, 0x0038, 0, 0, 1, 600});
    simple(out, id::kDateMode, {0});
    simple(out, id::kBookBool, {0});
}

void formatting(ByteBuffer& out) {
    // Fonts 0-3 are the regular, bold, italic and bold italic faces; index 4 is never used, so
    // the fifth record, the header's, is font 5.
    font(out, 0, kNormal);
    font(out, 0, kBold);
    font(out, kItalic, kNormal);
    font(out, kItalic, kBold);
    font(out, 0, kBold);
    builtInFormats(out);
    xf(out, 0, 0xFFF5, 0x00);  // the Normal style
    for (int k = 1; k <= 14; ++k) xf(out, 0, 0xFFF5, 0xF4);
    xf(out, 0, 0x0001, 0x00);  // kCellXf
    xf(out, 5, 0x0001, 0x08);  // kHeaderXf: its own font
    out.beginRecord(id::kStyle);
    out.u16(0x8000);  // built-in style on XF 0
    out.u8(0);        // Normal
    out.u8(0xFF);
    out.endRecord();
}

}  // namespace workbook::biff

#include "importing/readers/ZipArchive.h"

#include <zip.h>

#include "importing/readers/ReadMessages.h"
#include "importing/readers/SheetReader.h"

namespace importing {

ZipEntryDevice::ZipEntryDevice(zip_file* file) : file_(file) { open(QIODevice::ReadOnly); }

ZipEntryDevice::~ZipEntryDevice() { zip_fclose(file_); }

qint64 ZipEntryDevice::readData(char* data, qint64 maxSize) {
    const zip_int64_t got = zip_fread(file_, data, static_cast<zip_uint64_t>(maxSize));
    return got < 0 ? -1 : got;
}

ZipArchive::ZipArchive(const std::string& path, const std::string& file) {
    int error = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive_)
        throw ReadError(messages::badWorkbook(
            file, error == ZIP_ER_OPEN || error == ZIP_ER_NOENT || error == ZIP_ER_READ
                      ? std::string("文件不存在或不能读取。")
                      : std::string("它不是完整的 .xlsx 工作簿，文件可能已损坏。")));
}

ZipArchive::~ZipArchive() { zip_discard(archive_); }

bool ZipArchive::contains(const std::string& name) const {
    return zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

std::unique_ptr<ZipEntryDevice> ZipArchive::open(const std::string& name) const {
    zip_file* file = zip_fopen(archive_, name.c_str(), 0);
    if (!file) return nullptr;
    return std::make_unique<ZipEntryDevice>(file);
}

}  // namespace importing

#pragma once

#include <QIODevice>
#include <memory>
#include <string>

struct zip;
struct zip_file;

namespace importing {

// One member of a zip archive, read as it is inflated (never whole into memory).
class ZipEntryDevice : public QIODevice {
  public:
    explicit ZipEntryDevice(zip_file* file);
    ~ZipEntryDevice() override;
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    zip_file* file_;
};

// A zip archive opened for reading (.xlsx is one). Throws ReadError with why when it is none.
class ZipArchive {
  public:
    ZipArchive(const std::string& path, const std::string& file);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const std::string& name) const;
    // The member name; null when the archive has none of that name.
    std::unique_ptr<ZipEntryDevice> open(const std::string& name) const;

  private:
    zip* archive_;
};

}  // namespace importing

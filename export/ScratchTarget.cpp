#include "export/ScratchTarget.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "store/Error.h"
#include "store/FilePermissions.h"
#include "store/ScratchFiles.h"

namespace workbook {

ScratchTarget::ScratchTarget(const std::string& target, std::string permissionsLimit)
    : target_(target), permissionsLimit_(std::move(permissionsLimit)) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    store::removeStaleScratchFiles(folder.empty() ? "." : folder.string());
    scratch_ = store::freeScratchNameBeside(target);
}

ScratchTarget::~ScratchTarget() {
    if (committed_) return;
    std::error_code ec;
    std::filesystem::remove(scratch_, ec);
}

std::FILE* ScratchTarget::create() {
    std::FILE* file = std::fopen(scratch_.c_str(), "wbx");
    if (file == nullptr) fail(std::strerror(errno));
    return file;
}

void ScratchTarget::commit() {
    if (!permissionsLimit_.empty()) {
        try {
            store::limitPermissionsTo(scratch_, permissionsLimit_);
        } catch (const std::filesystem::filesystem_error& e) {
            fail(e.code().message());
        }
    }
    std::error_code ec;
    std::filesystem::rename(scratch_, target_, ec);
    if (ec) fail(ec.message());
    committed_ = true;
}

void ScratchTarget::fail(const std::string& reason) const {
    throw store::StoreError("导出数据失败：无法写入“" + target_ + "”（" + reason + "）");
}

}  // namespace workbook

#include "importing/records/PurchaseImport.h"

namespace importing {

RowSource fileSource(const std::string& path, const ReadOptions& options) {
    return [path, options](const RowSink& sink) { return readSheet(path, sink, options); };
}

}  // namespace importing

#pragma once

#include "store/TableCache.h"

namespace benchsupport {

// For the targets that compare with reads of the file: the table cache would serve the baseline's
// re-read (and the measured command's) from memory. A program that includes this header turns
// the cache off before main, so every read goes to the file.
[[maybe_unused]] inline const bool kEveryReadFromTheFile = [] {
    store::TableCache::instance().setEnabled(false);
    return true;
}();

}  // namespace benchsupport

#include "export/CompoundFile.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>

#include <cstdio>

namespace workbook {

namespace {

struct Unref {
    void operator()(void* object) const noexcept { g_object_unref(object); }
};
using OutputPtr = std::unique_ptr<GsfOutput, Unref>;

std::string outputError(GsfOutput* output) {
    const GError* error = gsf_output_error(output);
    return error != nullptr && error->message != nullptr ? error->message : "写入失败";
}

// Closes an output that was not closed yet, for the clean-up paths.
void closeQuietly(GsfOutput* output) noexcept {
    if (output != nullptr && !gsf_output_is_closed(output)) gsf_output_close(output);
}

}  // namespace

struct CompoundFile::Handles {
    OutputPtr root;    // the container, which owns the file
    OutputPtr stream;  // its one stream
    ~Handles() {
        closeQuietly(stream.get());
        closeQuietly(root.get());
    }
};

CompoundFile::CompoundFile(const std::string& target, const char* streamName,
                           std::string permissionsLimit)
    : scratch_(target, std::move(permissionsLimit)), handles_(std::make_unique<Handles>()) {
    // Our own FILE, so that no other temporary file is made and removing the scratch file
    // cleans up.
    std::FILE* file = scratch_.create();
    GsfOutput* sink = gsf_output_stdio_new_FILE(scratch_.name().c_str(), file, FALSE);
    if (sink == nullptr) {
        std::fclose(file);
        fail("写入失败");
    }
    GsfOutfile* root = gsf_outfile_msole_new(sink);
    g_object_unref(sink);  // the container holds it
    if (root == nullptr) fail("写入失败");
    handles_->root.reset(GSF_OUTPUT(root));
    GsfOutput* stream = gsf_outfile_new_child(root, streamName, FALSE);
    if (stream == nullptr) fail("写入失败");
    handles_->stream.reset(stream);
}

CompoundFile::~CompoundFile() = default;

void CompoundFile::write(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    if (!gsf_output_write(handles_->stream.get(), size, data))
        fail(outputError(handles_->stream.get()));
}

void CompoundFile::commit() {
    if (!gsf_output_close(handles_->stream.get())) fail(outputError(handles_->stream.get()));
    if (!gsf_output_close(handles_->root.get())) fail(outputError(handles_->root.get()));
    handles_.reset();
    scratch_.commit();
}

void CompoundFile::fail(const std::string& reason) const { scratch_.fail(reason); }

}  // namespace workbook

#include "hostilefiles.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "import/tagworkers.h"
#include "platform/atomicfile.h"

namespace {

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

void MakeWrappingCommentOgg(const std::string& path, const std::string& silentOgg, CTagWorkers& workers) {
    std::filesystem::copy_file(silentOgg, path, std::filesystem::copy_options::overwrite_existing);
    SongTags tags;
    tags.year.clear();
    tags.track.clear();
    tags.comment = std::string(60000, 'x');
    if (!workers.Write(path, kOggFile, tags)) {
        throw std::runtime_error("cannot tag " + path);
    }
    std::string bytes;
    ReadWholeFile(path, bytes);
    const std::size_t field = bytes.find("COMMENT=");
    if (field == std::string::npos || field < 8) {
        throw std::runtime_error("no comment field in " + path);
    }
    PutLittleEndian(bytes, field - 4, 0xFFFFFFFCu);  // the comment's length: 4 bytes back
    PutLittleEndian(bytes, field - 8, 15000);        // the number of comments
    WriteFileAtomically(path, bytes);
}

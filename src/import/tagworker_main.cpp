// cadenzo-tagworker: reads and writes song tags for Cadenzo, one request at a time from
// standard input, answers on standard output: a read answers each file as soon as it is read,
// so that the program can give every file its own time limit. It runs in a process of its own
// with a memory limit, so that a file that makes TagLib allocate without end costs only this
// process, and little of it.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "import/taglibio.h"
#include "import/tagprotocol.h"

namespace {

// Real files need a few MB; this leaves room for tags with large embedded pictures.
constexpr rlim_t kMemoryLimit = rlim_t{256} << 20;

// Answers one request; false when the answer cannot be written.
bool Answer(const std::vector<std::string>& request) {
    if (request.size() < 3) {
        return WriteMessage(STDOUT_FILENO, EncodeFields({"0"}));
    }
    if (request[0] == "W") {
        const bool written = WriteSongTags(request[2], std::atoi(request[1].c_str()), TagsFromFields(request, 3));
        return WriteMessage(STDOUT_FILENO, EncodeFields({written ? "1" : "0"}));
    }
    for (std::size_t file = 1; file + 1 < request.size(); file += 2) {
        const SongTags tags = ReadSongTags(request[file + 1], std::atoi(request[file].c_str()));
        std::vector<std::string> fields = {tags.parsed ? "1" : "0"};
        for (const std::string& text : TagFields(tags)) {
            fields.push_back(text);
        }
        fields.push_back(std::to_string(tags.seconds));
        if (!WriteMessage(STDOUT_FILENO, EncodeFields(fields))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main() {
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    setrlimit(RLIMIT_AS, &memory);
    CMessageReader requests;
    std::string payload;
    std::vector<std::string> request;
    while (requests.Read(STDIN_FILENO, payload, -1)) {
        if (!DecodeFields(payload, request) || !Answer(request)) {
            return 1;
        }
    }
    return 0;
}

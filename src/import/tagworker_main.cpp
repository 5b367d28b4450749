// cadenzo-tagworker: reads and writes song tags for Cadenzo, one request at a time from
// standard input, answers on standard output. It runs in a process of its own with a memory
// limit, so that a file that makes TagLib allocate without end costs only this process.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "import/taglibio.h"
#include "import/tagprotocol.h"

namespace {

constexpr rlim_t kMemoryLimit = rlim_t{1} << 30;

std::string Answer(const std::vector<std::string>& request) {
    if (request.size() < 3) {
        return EncodeFields({"0"});
    }
    if (request[0] == "W") {
        return EncodeFields(
            {WriteSongTags(request[2], std::atoi(request[1].c_str()), TagsFromFields(request, 3)) ? "1" : "0"});
    }
    std::vector<std::string> fields;
    for (std::size_t file = 1; file + 1 < request.size(); file += 2) {
        const SongTags tags = ReadSongTags(request[file + 1], std::atoi(request[file].c_str()));
        fields.push_back(tags.parsed ? "1" : "0");
        for (const std::string& text : TagFields(tags)) {
            fields.push_back(text);
        }
        fields.push_back(std::to_string(tags.seconds));
    }
    return EncodeFields(fields);
}

}  // namespace

int main() {
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    setrlimit(RLIMIT_AS, &memory);
    std::string payload;
    std::vector<std::string> request;
    while (ReadMessage(STDIN_FILENO, payload, -1)) {
        if (!DecodeFields(payload, request) || !WriteMessage(STDOUT_FILENO, Answer(request))) {
            return 1;
        }
    }
    return 0;
}

#pragma once

#include <string>

class CTagWorkers;

// Writes `path`: the OGG Vorbis file at `silentOgg` with a 60,000-byte comment whose length field
// is then set to 0xFFFFFFFC and whose comment count to 15,000. Debian's TagLib 1.13 wraps its
// read position on that length and copies the rest of the packet once per counted comment:
// gigabytes for seconds, unless the tag worker's limits stop it. Tags are written with `workers`.
void MakeWrappingCommentOgg(const std::string& path, const std::string& silentOgg, CTagWorkers& workers);

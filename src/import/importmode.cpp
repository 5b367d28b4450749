#include "import/importmode.h"

#include <algorithm>

bool IsUntagged(const CSongFile& song) {
    return song.GetTitle().empty() || song.GetArtist().empty();
}

ImportDecision DecideImportMode(const std::vector<CSongFile>& songs, int threshold) {
    if (songs.empty()) {
        return {};
    }
    const CSongFile& first = songs.front();
    const bool untagged = std::any_of(songs.begin(), songs.end(), IsUntagged);
    const bool artistsDiffer =
        std::any_of(songs.begin(), songs.end(), [&](const CSongFile& s) { return s.GetArtist() != first.GetArtist(); });
    const bool albumsDiffer =
        std::any_of(songs.begin(), songs.end(), [&](const CSongFile& s) { return s.GetAlbum() != first.GetAlbum(); });
    if (untagged) {
        return {ImportQuestion::Untagged};
    }
    if (static_cast<long>(songs.size()) <= threshold) {
        return {ImportQuestion::FewSongs};
    }
    if (!albumsDiffer) {
        return {ImportQuestion::None, artistsDiffer ? ImportMode::VariousArtists : ImportMode::OneAlbum};
    }
    if (artistsDiffer) {
        return {ImportQuestion::None, ImportMode::OneCollection};
    }
    return {ImportQuestion::SeveralAlbums};
}

#pragma once

#include <string>
#include <vector>

#include "import/tagprotocol.h"

// Reads again the texts that old tags stored in their writer's own code page (cp1251 for
// Cyrillic, Shift-JIS, ...) while they say Latin-1 (SongTags::latin1Texts), for one folder's
// songs. `setting` names the code page ("windows-1251"), or is "latin1" to keep the texts as they
// are, or empty: then the code page is detected from all of the folder's such texts together,
// and used only when the detection is sure of it. Texts that were not stored as Latin-1 are never
// touched; the files are not changed.
void RecodeLegacyTexts(std::vector<SongTags>& folder, const std::string& setting);

// The code page the detector finds for `bytes` with enough confidence; empty when it finds none,
// or Latin-1 itself.
std::string DetectLegacyCodePage(const std::string& bytes);

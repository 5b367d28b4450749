#include "app/settings.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* kPlayers = "Media Players";
constexpr const char* kDatabase = "Database";
constexpr const char* kFilenames = "Filenames";
constexpr const char* kEditors = "Editors";
constexpr const char* kSettings = "Settings";

constexpr const char* kPlayerKey = "MP3 Player";
constexpr const char* kEnqueueKey = "Enqueue Flag";
constexpr const char* kDatabaseKey = "Database";
constexpr const char* kExclusiveKey = "Exclusive";
constexpr const char* kTranslateKey = "Use Song Network Translation";
constexpr const char* kFromKey = "Song Network Translation 1 From";
constexpr const char* kToKey = "Song Network Translation 1 To";
constexpr const char* kEditorKey = "Text Editor";
constexpr const char* kUnratedKey = "Treat Unrated Songs As Rating";
constexpr const char* kThresholdKey = "Minimum Song Ask Threshold";
constexpr const char* kSplashKey = "Ignore Splash";
constexpr const char* kReadRatingsKey = "Read Ratings From Tags";
constexpr const char* kCodePageKey = "Legacy Code Page";
constexpr const char* kSaveRatingsKey = "Save Ratings In Tags";
constexpr const char* kWindowSection = "Window";
constexpr const char* kPlaceKey = "Place";
constexpr const char* kSplitterKey = "Splitter";

std::string& ProgramDirectoryStorage() {
    static std::string directory;
    return directory;
}

}  // namespace

const std::string& ProgramDirectory() {
    return ProgramDirectoryStorage();
}

void InitProgramDirectory() {
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    ProgramDirectoryStorage() = error ? std::string() : current.string() + "/";
}

CSettings::CSettings() : CIniFile(ProgramDirectory() + "Cadenzo.ini", false) {
    WriteDefaults();
}

void CSettings::WriteDefaults() {
    DefaultString(kPlayerKey, kPlayers, "");
    DefaultString(kEnqueueKey, kPlayers, "/ADD");
    DefaultString(kDatabaseKey, kDatabase, "Cadenzo.mdb");
    DefaultBool(kExclusiveKey, kDatabase, false);
    DefaultBool(kTranslateKey, kFilenames, false);
    DefaultString(kFromKey, kFilenames, "C:\\Music");
    DefaultString(kToKey, kFilenames, "M:\\");
    DefaultString(kEditorKey, kEditors, "xdg-open");
    DefaultInt(kUnratedKey, kSettings, 3);
    DefaultInt(kThresholdKey, kSettings, 3);
}

std::string CSettings::Read(const char* key, const char* section) const {
    std::string value;
    ReadString(key, section, value);
    return value;
}

int CSettings::ReadNumber(const char* key, const char* section) const {
    int value = 0;
    ReadInt(key, section, value);
    return value;
}

std::string CSettings::GetPlayerPath() const {
    return Read(kPlayerKey, kPlayers);
}
std::string CSettings::GetEnqueueFlag() const {
    return " " + Read(kEnqueueKey, kPlayers) + " ";
}
std::string CSettings::GetDatabasePath() const {
    return Read(kDatabaseKey, kDatabase);
}
bool CSettings::IsExclusive() const {
    return ReadBool(kExclusiveKey, kDatabase);
}
bool CSettings::UseNetworkTranslation() const {
    return ReadBool(kTranslateKey, kFilenames);
}
std::string CSettings::GetTranslationFrom() const {
    return Read(kFromKey, kFilenames);
}
std::string CSettings::GetTranslationTo() const {
    return Read(kToKey, kFilenames);
}
std::string CSettings::GetTextEditor() const {
    return Read(kEditorKey, kEditors);
}
int CSettings::GetUnratedAsRating() const {
    return ReadNumber(kUnratedKey, kSettings);
}
int CSettings::GetMinSongAskThreshold() const {
    return ReadNumber(kThresholdKey, kSettings);
}
bool CSettings::IgnoreSplash() const {
    return ReadBool(kSplashKey, kSettings);
}

bool CSettings::ReadRatingsFromTags() const {
    std::string value;
    return !ReadString(kReadRatingsKey, kSettings, value) || std::atoi(value.c_str()) != 0;
}

bool CSettings::SaveRatingsInTags() const {
    return ReadBool(kSaveRatingsKey, kSettings);
}

std::string CSettings::LegacyCodePage() const {
    return Read(kCodePageKey, kSettings);
}

std::string CSettings::GetWindowPlace() const {
    return Read(kPlaceKey, kWindowSection);
}

void CSettings::SetWindowPlace(const std::string& place) {
    WriteString(kPlaceKey, kWindowSection, place);
}

std::string CSettings::GetSplitterPlace() const {
    return Read(kSplitterKey, kWindowSection);
}

void CSettings::SetSplitterPlace(const std::string& place) {
    WriteString(kSplitterKey, kWindowSection, place);
}

// Old tags in their writer's code page, read from real MP3 files (ID3v1 tags, and ID3v2 frames
// marked Latin-1, written byte for byte as old programs wrote them) through the import.

#include "import/codepage.h"

#include <unicode/unistr.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "db/dbquery.h"
#include "import/tagworkers.h"
#include "support/libraryfixture.h"
#include "support/noquestions.h"
#include "support/songtree.h"

namespace {

// Twenty short titles in each language, with an artist and an album name.
struct Language {
    const char* codePage;
    const char* artist;
    const char* album;
    std::vector<std::string> titles;
};

const std::vector<Language> kLanguages = {
    {"windows-1251",
     "Кино",
     "Группа крови",
     {"Звезда по имени Солнце",
      "Группа крови",
      "Кукушка",
      "Пачка сигарет",
      "Перемен",
      "Восьмиклассница",
      "Спокойная ночь",
      "Апрель",
      "Легенда",
      "Малыш",
      "Последний герой",
      "Видели ночь",
      "Алюминиевые огурцы",
      "Следи за собой",
      "Война",
      "Печаль",
      "Красно-жёлтые дни",
      "Песня без слов",
      "Муравейник",
      "Весна"}},
    {"windows-1250",
     "Lady Pank",
     "Ostatnia płyta",
     {"Przeżyj to sam", "Jolka, Jolka pamiętasz", "Wszystko czego dziś chcę", "Dni, których nie znamy", "Małgośka",
      "Kocham wolność", "Świat się pomylił", "Źródło", "Żółta kartka", "Ściernisko"}},
    {"windows-1250",
     "Čechomor",
     "Proměny",
     {"Můj svět", "Ještě jednou", "Černá ovce", "Štěstí", "Léto na řece", "Zůstaň se mnou", "Řekni mi", "Půlnoční",
      "Ďáblova píseň", "Šťastné a veselé"}},
    {"Shift_JIS",
     "スピッツ",
     "ベスト",
     {"桜",
      "涙そうそう",
      "上を向いて歩こう",
      "川の流れのように",
      "夜空ノムコウ",
      "世界に一つだけの花",
      "ハナミズキ",
      "少年時代",
      "春よ、来い",
      "時代",
      "糸",
      "瞳をとじて",
      "雪の華",
      "天体観測",
      "ありがとう",
      "空も飛べるはず",
      "さくらんぼ",
      "いとしのエリー",
      "津軽海峡・冬景色",
      "残酷な天使のテーゼ"}},
};

// Where a language's song is: a folder of five songs per album.
std::string SongPath(std::size_t language, std::size_t song) {
    return std::to_string(language) + "/" + std::to_string(song / 5) + "/" + std::to_string(song) + ".mp3";
}

std::string Encoded(const std::string& utf8, const char* codePage) {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
    std::string bytes(static_cast<std::size_t>(text.extract(0, text.length(), nullptr, 0, codePage)), '\0');
    text.extract(0, text.length(), bytes.data(), static_cast<uint32_t>(bytes.size()), codePage);
    return bytes;
}

std::string Padded(std::string bytes, std::size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

// An ID3v1 tag: "TAG", title, artist, album (30 bytes each), year, comment, genre.
std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album) {
    return "TAG" + Padded(title, 30) + Padded(artist, 30) + Padded(album, 30) + "1987" + Padded("", 30) + "\x0c";
}

// An ID3v2.3 tag whose text frames are marked Latin-1 (encoding byte 0).
std::string Id3v2Latin1(const std::string& title, const std::string& artist, const std::string& album) {
    const auto frame = [](const char* id, const std::string& text) {
        const std::size_t size = text.size() + 1;
        return std::string(id) + std::string{'\0', '\0', static_cast<char>(size >> 8), static_cast<char>(size)} +
               std::string(2, '\0') + std::string(1, '\0') + text;
    };
    const std::string frames = frame("TIT2", title) + frame("TPE1", artist) + frame("TALB", album);
    const std::size_t size = frames.size();  // below 128: one syncsafe byte
    return std::string("ID3\x03\x00\x00\x00\x00\x00", 9) + static_cast<char>(size) + frames;
}

class CodePageTest : public LibraryFixture {
protected:
    // Folders of five songs for each language; the first folder's tags are ID3v2.
    void MakeFolders() {
        const std::string audio = ReadFile(FixturePath(kMp3File));
        for (std::size_t l = 0; l < kLanguages.size(); ++l) {
            const Language& language = kLanguages[l];
            const std::string artist = Encoded(language.artist, language.codePage);
            const std::string album = Encoded(language.album, language.codePage);
            for (std::size_t i = 0; i < language.titles.size(); ++i) {
                const std::string title = Encoded(language.titles[i], language.codePage);
                m_tree.AddFile(SongPath(l, i),
                               i < 5 ? Id3v2Latin1(title, artist, album) + audio : audio + Id3v1(title, artist, album));
            }
        }
    }

    std::string TitleOf(const std::string& relative) {
        CDbQuery query(*m_db, "SELECT Name FROM Songs WHERE ID = " +
                                  std::to_string(m_db->FindSongIdByPath(m_tree.Path(relative))));
        return query.GetRecordset()->GetFieldValue("Name").AsText();
    }

    CTagWorkers m_workers;
    CSongTree m_tree{m_workers};
};

TEST_F(CodePageTest, OldTagsAreReadInTheCodePageDetectedForEachFolder) {
    MakeFolders();
    CNoQuestions questions;
    PathStack paths{m_tree.Root()};
    m_db->ImportFolder(paths, questions, m_workers);
    std::map<std::string, int> wrong;  // titles by code page
    for (std::size_t l = 0; l < kLanguages.size(); ++l) {
        const Language& language = kLanguages[l];
        for (std::size_t i = 0; i < language.titles.size(); ++i) {
            wrong[language.codePage] += TitleOf(SongPath(l, i)) == language.titles[i] ? 0 : 1;
        }
        EXPECT_NE(m_db->FindArtistId(language.artist), 0) << language.artist;
    }
    EXPECT_EQ(wrong, (std::map<std::string, int>{{"Shift_JIS", 0}, {"windows-1250", 0}, {"windows-1251", 0}}));
}

TEST(LegacyCodePageTest, WesternTextsStayLatin1AndTheSettingDecides) {
    std::vector<SongTags> folder(5);
    const char* titles[] = {"Für Elise", "Ça plane pour moi", "L'été indien", "naïve", "Zoë"};
    for (std::size_t i = 0; i < folder.size(); ++i) {
        folder[i].title = titles[i];
        folder[i].latin1Texts = kTitleText;
    }
    std::vector<SongTags> detected = folder;
    RecodeLegacyTexts(detected, "");
    EXPECT_EQ(detected[0].title, "Für Elise") << "Latin-1 accents read as Latin-1";
    EXPECT_EQ(detected[2].title, "L'été indien");
    std::vector<SongTags> alone(folder.begin() + 3, folder.begin() + 4);
    RecodeLegacyTexts(alone, "");
    EXPECT_EQ(alone[0].title, "naïve") << "taken for Turkish, a twin of Latin-1: kept";
    std::vector<SongTags> forced = folder;
    RecodeLegacyTexts(forced, "windows-1251");
    EXPECT_EQ(forced[0].title, "Fьr Elise") << "the setting's code page, whatever the texts";
    folder[1].latin1Texts = 0;
    RecodeLegacyTexts(folder, "windows-1251");
    EXPECT_EQ(folder[1].title, "Ça plane pour moi") << "a text not stored as Latin-1 is never touched";
    std::vector<SongTags> kept = detected;
    RecodeLegacyTexts(kept, "latin1");
    EXPECT_EQ(kept[1].title, "Ça plane pour moi");
}

}  // namespace

#pragma once

#include <string>
#include <utility>

#include "db/librarysettings.h"

// Settings of the library held in memory, so that tests and benchmarks write no settings file.
class CFixedSettings : public CLibrarySettings {
public:
    explicit CFixedSettings(std::string databasePath = "Cadenzo.mdb", int askThreshold = 3)
        : m_databasePath(std::move(databasePath)), m_askThreshold(askThreshold) {}

    std::string GetDatabasePath() const override { return m_databasePath; }
    int GetMinSongAskThreshold() const override { return m_askThreshold; }

    std::string m_databasePath;
    int m_askThreshold;
};

#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "fixedsettings.h"
#include "support/recordingmessagebox.h"
#include "support/tempdir.h"

// A new library "Cadenzo.mdb" in a temporary working directory.
class LibraryFixture : public ::testing::Test {
protected:
    LibraryFixture() : m_db(std::make_unique<CLibraryDb>("Cadenzo.mdb", false, false, m_settings, m_messages)) {}

    // Adds a row to `table` through the insert path of the store (a query on the table,
    // AddNew, the fields, the new ID, Update) and returns the new ID.
    std::int32_t AddRow(const std::string& table, const std::vector<std::pair<std::string, CVariant>>& fields) {
        CDbTable target(m_db.get(), table);
        CDbQuery query(target);
        CRecordset* rows = query.GetRecordset();
        rows->AddNew();
        for (const auto& [name, value] : fields) {
            rows->SetFieldValue(name, value);
        }
        const std::int32_t id = target.FieldExists("ID") ? rows->GetFieldValue("ID").AsLong() : 0;
        rows->Update();
        return id;
    }

    std::int32_t AddArtist(const std::string& name) { return AddRow("Artists", {{"Name", CVariant(name)}}); }

    std::string Path() const { return m_dir.File("Cadenzo.mdb"); }

    CTempDir m_dir;
    CWorkingDirectory m_cwd{m_dir.Path()};
    CFixedSettings m_settings;
    CRecordingMessageBox m_messages;
    std::unique_ptr<CLibraryDb> m_db;
};

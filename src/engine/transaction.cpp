#include "engine/transaction.h"

#include "engine/database.h"
#include "engine/statement.h"

CTransaction::CTransaction(CDatabase& db)
    : m_db(db),
      m_name("cadenzo_" + std::to_string(db.NextSavepointNumber())),
      m_outermost(sqlite3_get_autocommit(db.Handle()) != 0) {
    CStatement(m_db.Handle(), "SAVEPOINT " + m_name).Run();
}

CTransaction::~CTransaction() {
    if (m_finished || !m_db.IsOpen()) {
        return;
    }
    // A destructor cannot report; a failed undo leaves SQLite's own rollback at close.
    try {
        if (m_outermost) {
            // The whole transaction goes: the file is not written at all.
            CStatement(m_db.Handle(), "ROLLBACK").Run();
        } else {
            CStatement(m_db.Handle(), "ROLLBACK TO " + m_name).Run();
            CStatement(m_db.Handle(), "RELEASE " + m_name).Run();
        }
    } catch (...) {
    }
    m_db.SchemaChanged();
}

void CTransaction::Commit() {
    m_finished = true;
    try {
        CStatement(m_db.Handle(), "RELEASE " + m_name).Run();
    } catch (...) {
        m_finished = false;
        throw;
    }
}

#pragma once

#include <string>

class CDatabase;

// A unit of work on the database: everything done while it lives is undone when it goes
// without Commit. Transactions nest (they are savepoints).
class CTransaction {
public:
    explicit CTransaction(CDatabase& db);
    ~CTransaction();
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;

    // Keeps the work. Raises CEngineError when SQLite cannot (the work is then undone).
    void Commit();

private:
    CDatabase& m_db;
    std::string m_name;
    bool m_outermost;  // no transaction was open when it began
    bool m_finished = false;
};

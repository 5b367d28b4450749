#include "db/dbquery.h"

#include <algorithm>

#include "db/dbhelper.h"
#include "db/dbtable.h"
#include "db/librarysql.h"

CDbQuery::CDbQuery(CDbTable& table) {
    CDbHelper* db = table.GetDbHelper();
    if (table.IsOpen() && db != nullptr && db->IsOpen()) {
        m_recordset.emplace(*db, dbOpenDynaset, AllRowsSql(table.GetName()), 0);
    }
}

CDbQuery::CDbQuery(CDbHelper& db, const std::string& sql) {
    if (db.IsOpen()) {
        m_recordset.emplace(db, dbOpenDynaset, sql, 0);
    }
}

CDbQuery::~CDbQuery() {
    Close();
}

CRecordset* CDbQuery::GetRecordset() {
    return m_recordset && m_recordset->IsOpen() ? &*m_recordset : nullptr;
}

CRecordset* CDbQuery::Next() {
    CRecordset* rows = GetRecordset();
    if (rows == nullptr || rows->IsEOF()) {
        return nullptr;
    }
    rows->MoveNext();
    return rows;
}

long CDbQuery::GetCount() {
    if (!m_count) {
        CRecordset* rows = GetRecordset();
        m_count = rows != nullptr && !(rows->IsEOF() && rows->IsBOF()) ? rows->GetRecordCount() : 0;
    }
    return *m_count;
}

bool CDbQuery::MoveTo(long index) {
    const long count = GetCount();
    if (count == 0) {
        return false;
    }
    CRecordset* rows = GetRecordset();
    rows->MoveFirst();
    rows->Move(std::clamp(index, 0L, count - 1));
    return true;
}

void CDbQuery::Close() {
    m_recordset.reset();
}

#pragma once

// Field types, attributes and options with their classic DAO values; the access layer and the
// schema speak in these.

// Field types.
constexpr int dbBoolean = 1;
constexpr int dbByte = 2;
constexpr int dbInteger = 3;  // 16-bit
constexpr int dbLong = 4;     // 32-bit
constexpr int dbDouble = 7;
constexpr int dbText = 10;
constexpr int dbMemo = 12;

// Field attributes.
constexpr long dbFixedField = 0x1;
constexpr long dbAutoIncrField = 0x10;
constexpr long dbUpdatableField = 0x20;
// Our own: a text field compared byte for byte (file paths). Text fields without it compare
// without regard to letter case.
constexpr long dbExactTextField = 0x10000;

// Recordset types and options.
constexpr int dbOpenDynaset = 2;
constexpr int dbOpenSnapshot = 4;
constexpr int dbDenyRead = 2;
constexpr int dbReadOnly = 4;

// Execute option.
constexpr int dbFailOnError = 128;

// Locale for new files (accepted for compatibility; the file is always UTF-8).
constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

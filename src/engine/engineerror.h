#pragma once

#include <stdexcept>
#include <string>

// The one error type of the database engine. `what()` is the description shown to the user:
// the engine's message, followed by the statement that failed when there is one.
class CEngineError : public std::runtime_error {
public:
    explicit CEngineError(const std::string& description, int code = 0)
        : std::runtime_error(description), m_code(code) {}

    // The SQLite result code, or 0 for a failure found by the engine layer itself.
    int Code() const { return m_code; }

private:
    int m_code;
};

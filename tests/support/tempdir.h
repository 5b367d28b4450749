#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// It is open to every user, so that checks running as an unprivileged user can work in it.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Makes `folder` the working directory and the program directory until it goes.
class CWorkingDirectory {
public:
    explicit CWorkingDirectory(const std::string& folder);
    ~CWorkingDirectory();
    CWorkingDirectory(const CWorkingDirectory&) = delete;
    CWorkingDirectory& operator=(const CWorkingDirectory&) = delete;

private:
    std::string m_previous;
};

// Helpers on whole files.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Sets an environment variable until it goes, then puts back what was there.
class CScopedEnv {
public:
    CScopedEnv(const char* name, const std::string& value);
    ~CScopedEnv();
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had = false;
    std::string m_previous;
};

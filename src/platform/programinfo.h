#pragma once

// The program's name and version, as its title bar, About window and --version show them.
inline constexpr const char* kProgramName = "Cadenzo";
inline constexpr const char* kProgramVersion = "0.55";

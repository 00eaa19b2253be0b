#pragma once
#include <cstdint>
#include <string>

// The message text for an enumeration error code.
std::string ErrorText(std::uint32_t code);
// Ends the run saying that the configuration program could not be started,
// why, and where it was looked for.
[[noreturn]] void ConfigurationProgramNotStarted(const std::string& path, std::uint32_t code);

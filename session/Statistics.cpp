#include "session/Statistics.h"

#include "engine/Engine.h"
#include "session/Profile.h"

#include <array>
#include <utility>

namespace session {

namespace {

constexpr std::string_view Section = "Statystyka";
constexpr std::string_view WinsKey = "Wygrane";
constexpr std::string_view LossesKey = "Przegrane";
constexpr std::string_view FundKey = "Fundusz";
constexpr std::int32_t StartingFund = 3000;

std::string pathOverride;

int DigitValue(char c, int base)
{
    int digit = 16;
    if (c >= '0' && c <= '9') {
        digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
    }
    return digit < base ? digit : -1;
}

void ReadInteger(std::string_view text, std::string_view key, std::int32_t& value)
{
    if (const auto stored = profile::FindValue(text, Section, key)) {
        if (const auto number = ParseWholeNumber(*stored)) {
            value = *number;
        }
    }
}

} // namespace

WriteError::WriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path)
{
}

std::string StatisticsFilePathFor(const std::string& executable)
{
    const std::size_t nameStart = executable.rfind('/') + 1; // npos + 1 == 0
    const std::size_t dot = executable.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        return executable + ".ini";
    }
    return executable.substr(0, dot) + ".ini";
}

std::string StatisticsFilePath()
{
    return pathOverride.empty() ? StatisticsFilePathFor(profile::ExecutablePath()) : pathOverride;
}

void SetStatisticsFilePath(const std::string& path)
{
    pathOverride = path;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    int base = 10;
    bool negative = false;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    if (base == 16) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    }
    const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -signedMagnitude : signedMagnitude);
}

void ReadStatisticsText(std::string_view text, engine::SessionValues& values)
{
    ReadInteger(text, WinsKey, values.Wins);
    ReadInteger(text, LossesKey, values.Losses);
    ReadInteger(text, FundKey, values.Fund);
    if (values.Fund < 1) {
        values.Fund = StartingFund;
    }
}

void read_inifile(engine::SessionValues& values)
{
    // A file that cannot be read is taken as no file: the session keeps its start values.
    const profile::LoadedFile file = profile::LoadFile(StatisticsFilePath());
    if (file.state == profile::FileState::Readable) {
        ReadStatisticsText(file.text, values);
    }
}

void save_inifile(const engine::SessionValues& values)
{
    const std::string path = StatisticsFilePath();
    profile::LoadedFile file = profile::LoadFile(path);
    // Whatever stands there and cannot be read is not ours to overwrite.
    if (file.state == profile::FileState::Unreadable) {
        throw WriteError(path);
    }
    std::string text = std::move(file.text);
    const std::array<std::pair<std::string_view, std::int32_t>, 3> entries{{
        {WinsKey, values.Wins},
        {LossesKey, values.Losses},
        {FundKey, values.Fund},
    }};
    // Each key reaches the disk on its own, so those written before a failure stay written.
    for (const auto& [key, value] : entries) {
        text = profile::WithValue(text, Section, key, std::to_string(value));
        if (!profile::ReplaceFile(path, text)) {
            throw WriteError(path);
        }
    }
    if (!profile::FlushFile(path)) {
        throw WriteError(path);
    }
}

} // namespace session

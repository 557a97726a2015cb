// Feeds arbitrary bytes to the statistics reader and checks that a save into the same text
// reads back what it wrote and leaves the other keys as they were, and that the bytes come
// back unchanged through the decoding for UTF-16 files and the encoding back, before the
// save and after it.

#include "engine/Engine.h"
#include "scores/Profile.h"
#include "scores/Statistics.h"
#include "scores/TextEncoding.h"
#include "scores/WholeNumber.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view Section = "Statystyka";
constexpr std::array<std::string_view, 3> Keys{"Wygrane", "Przegrane", "Fundusz"};
constexpr std::array<std::int32_t, 3> Written{INT_MIN, 0, INT_MAX};

std::optional<std::string> Value(std::string_view text, std::string_view key)
{
    const auto found = scores::profile::FindValue(text, Section, key);
    return found ? std::optional<std::string>(*found) : std::nullopt;
}

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    scores::profile::DecodedText decoded = scores::profile::DecodeText(bytes);
    Check(scores::profile::EncodeText(decoded) == bytes);
    std::string text = decoded.text;

    engine::SessionValues values;
    scores::ReadStatisticsText(text, values);
    Check(values.Fund >= 1);
    if (const auto fund = Value(text, "Fundusz")) {
        const auto number = scores::ParseWholeNumber(*fund);
        Check(!number || *number < 1 || values.Fund == *number);
    }

    for (std::size_t i = 0; i < Keys.size(); ++i) {
        std::array<std::optional<std::string>, Keys.size()> before;
        for (std::size_t k = 0; k < Keys.size(); ++k) {
            before[k] = Value(text, Keys[k]);
        }
        const std::string number = std::to_string(Written[i]);
        text = scores::profile::WithValue(text, Section, Keys[i], number);
        for (std::size_t k = 0; k < Keys.size(); ++k) {
            Check(Value(text, Keys[k]) == (k == i ? std::optional<std::string>(number) : before[k]));
        }
    }
    engine::SessionValues saved;
    scores::ReadStatisticsText(text, saved);
    Check(saved.Wins == Written[0] && saved.Losses == Written[1] && saved.Fund == Written[2]);

    // What the save writes reads back as the same text in the same encoding.
    decoded.text = text;
    const std::string written = scores::profile::EncodeText(decoded);
    const scores::profile::DecodedText reread = scores::profile::DecodeText(written);
    Check(reread.encoding == decoded.encoding && reread.text == text && reread.leftover == decoded.leftover);
    return 0;
}

#pragma once

#include "sound/EmulatedSpeaker.h"
#include "sound/SpeakerPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

// The one speaker platform of the tests: the tick counter moves only when the pump runs or a
// Beep sounds, every call is logged, and the ports reach a real emulated speaker, so a test can
// read what would have been heard. Set pumpStep high (and ntFamily) to make tunes take no time.
class FakeSpeakerPlatform : public SpeakerPlatform, private ToneSink {
public:
    enum class Op { IsNT, Beep, Tick, Pump, Read, Write };
    struct Call {
        Op op;
        std::uint32_t a = 0; // Beep: frequency; Tick: value; Pump: deadline; Read/Write: port
        std::uint32_t b = 0; // Beep: duration; Read/Write: value
        bool operator==(const Call&) const = default;
    };
    // One tone as heard: the frequency, its start and length in ticks, and when it began by the
    // steady clock (the clock of the windows' timers).
    struct Heard {
        double frequency;
        std::uint32_t start;
        std::uint32_t length;
        std::chrono::steady_clock::time_point began;
    };

    bool ntFamily = false;
    std::uint32_t tick = 0;
    std::uint32_t pumpStep = 1;
    std::function<void()> onPump; // runs inside the pump, as an event handler would
    std::vector<Call> calls;
    std::vector<Heard> heard;

    // Sets port 0x61 as if some earlier program had left it so; not logged.
    void SetGatePort(std::uint8_t value) { speaker_.Write(EmulatedSpeaker::GatePort, value, tick); }

    std::vector<Call> CallsOf(Op op) const
    {
        std::vector<Call> found;
        for (const Call& call : calls)
            if (call.op == op)
                found.push_back(call);
        return found;
    }

    // How often a tune was heard, told by its first notes (whole hertz, as the table gives them).
    int Count(const std::vector<std::uint32_t>& tuneStart) const
    {
        int n = 0;
        for (std::size_t i = 0; i + tuneStart.size() <= heard.size(); ++i)
            n += std::equal(
                tuneStart.begin(), tuneStart.end(), heard.begin() + static_cast<long>(i),
                [](std::uint32_t want, const Heard& got) { return want == static_cast<std::uint32_t>(got.frequency); });
        return n;
    }

    // The last tone heard, in whole hertz as the table gives them; 0 before any.
    std::uint32_t LastHertz() const { return heard.empty() ? 0 : static_cast<std::uint32_t>(heard.back().frequency); }

    bool IsNTFamily() override
    {
        calls.push_back({Op::IsNT});
        return ntFamily;
    }
    void Beep(std::uint32_t frequency, std::uint32_t duration) override
    {
        calls.push_back({Op::Beep, frequency, duration});
        heard.push_back({static_cast<double>(frequency), tick, duration, std::chrono::steady_clock::now()});
        tick += duration;
    }
    std::uint32_t GetTickCount() override
    {
        calls.push_back({Op::Tick, tick});
        return tick;
    }
    void ProcessMessages(std::uint32_t deadlineTick) override
    {
        calls.push_back({Op::Pump, deadlineTick});
        tick += pumpStep;
        if (onPump) {
            const auto pump = onPump; // the handler may replace itself
            pump();
        }
    }
    std::uint8_t ReadPort(std::uint16_t port) override
    {
        const std::uint8_t value = speaker_.Read(port);
        calls.push_back({Op::Read, port, value});
        return value;
    }
    void WritePort(std::uint16_t port, std::uint8_t value) override
    {
        calls.push_back({Op::Write, port, value});
        speaker_.Write(port, value, tick);
    }

private:
    // The speaker's changes, stamped in ticks; changes within one tick leave only the last.
    void Tone(double frequency, std::int64_t at) override
    {
        const auto now = static_cast<std::uint32_t>(at);
        if (!heard.empty() && heard.back().length == Open) {
            heard.back().length = now - heard.back().start;
            if (heard.back().length == 0)
                heard.pop_back();
        }
        if (frequency > 0)
            heard.push_back({frequency, now, Open, std::chrono::steady_clock::now()});
    }

    static constexpr std::uint32_t Open = UINT32_MAX;
    EmulatedSpeaker speaker_{*this};
};

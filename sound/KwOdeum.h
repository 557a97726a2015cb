#pragma once

#include <QObject>

#include <cstdint>
#include <span>

enum TPresetSound : std::uint8_t {
    psOK,
    psError,
    psWelcome,
    psEmergency,
    psWrong,
    psCall,
    psOfficial,
    psDaze,
    psFall,
    psChord,
    psWhisle,
    psHanging,
    psClimb
};

// How many preset tunes there are; a new tune goes last and moves this, and the tune table
// must then have its row.
constexpr std::uint8_t TuneCount = psClimb + 1;

enum TBeatDuration : std::uint8_t { bd_500, bd_1000, bd_1500, bd_2000 };

// One note of a tune: a frequency in hertz (1 is a rest) and a duration in milliseconds.
struct TNote {
    std::uint16_t frequency;
    std::int32_t duration;
};

// The notes of a preset tune in playing order; empty outside the tunes.
std::span<const TNote> TuneNotes(std::uint8_t sound);

// True where the platform has a synchronous tone service; shared by all tune players and set
// again by each one's construction.
extern bool UseBeepService;

// Plays the thirteen preset tunes on the speaker. A tune plays synchronously, but the event
// loop keeps running during rests and speaker-port notes, so other handlers can run mid-tune.
class TKwBeeper : public QObject {
    Q_OBJECT
public:
    explicit TKwBeeper(QObject* owner);

    void Play(std::uint8_t sound); // a TPresetSound value; outside the tunes plays nothing
    void PlayDefault();

    TPresetSound DefaultSound() const { return defaultSound_; }
    void SetDefaultSound(TPresetSound sound) { defaultSound_ = sound; }

    // Kept for its published value only: every note plays for its own duration.
    TBeatDuration BeatDuration() const { return beatDuration_; }
    void SetBeatDuration(TBeatDuration value);
    std::int32_t BeatLength() const { return beatLength_; }

protected:
    // Static because an event handler run during a note may destroy this player: nothing after
    // the first wait may touch the object.
    static void PlayNote(std::uint16_t frequency, std::int32_t duration);
    static void SpeakerOn(std::uint16_t frequency);
    static void SpeakerOff();
    static bool IsNTFamily();

private:
    TBeatDuration beatDuration_;
    std::int32_t beatLength_;
    TPresetSound defaultSound_;
};

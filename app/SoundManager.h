#pragma once

#include "serializeme/Serializable.h"

#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class b2Body;
class GameRandom;

// The sound table of "data/sounds.xml" (element "soundmanager"): the kinds of physics bodies
// and, for pairs of kinds, which numbered series of effect files a collision plays.
class SoundManagerData : public sme::Serializable {
public:
    // One kind of body (element "bodytype").
    class BodyType : public sme::Serializable {
    public:
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "bodytype"; }

        // The kind's name; "default" is the kind of every body without one of its own.
        std::string m_Name;
    };

    // The effect of a collision between two kinds (element "collisiontype").
    class CollisionType : public sme::Serializable {
    public:
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "collisiontype"; }

        // The two kinds, in either order.
        std::string m_BodyType1;
        std::string m_BodyType2;
        // The effect file's name with one integer conversion ("data/sounds/knock%d.wav").
        std::string m_FileNamePattern;
        // The file numbers drawn from, both included.
        int32_t m_IndexMin = 0;
        int32_t m_IndexMax = 0;
        // Impulses above m_ImpulseMin sound (in N·s); the volume rises linearly up to
        // m_ImpulseMax and stays full above it.
        float m_ImpulseMin = 0.0f;
        float m_ImpulseMax = 0.0f;
    };

    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "soundmanager"; }

    std::vector<BodyType> m_BodyTypes;
    std::vector<CollisionType> m_CollisionTypes;
};

// A "playsound" FSCommand taken apart.
struct SoundCommand {
    enum Status {
        Single,    // play the file `name` once
        Ranged,    // play one file of the series `name` numbered first to last
        NoName,    // no sound name after "playsound"
        BadRange,  // a "[...]" that does not hold two integers joined by a minus sign
    };
    Status status = NoName;
    std::string name;
    int first = 0;
    int last = 0;
};

// The collision effect chosen for a contact.
struct CollisionChoice {
    const SoundManagerData::CollisionType* type = nullptr;
    // 0 to 1.
    float volume = 0.0f;
};

// Plays the game's sound effects and music through SFML's audio module. Effect files are
// decoded once and kept; collisions pick their effect from the sound table by the kinds of the
// two bodies and the impulse; movies ask for effects with "playsound" FSCommands. Sound and
// music files are opened from the disk relative to the working folder; the table is read
// through the virtual file system. Used from the game thread only.
//
// Whether an audio device opens is found out once, when the manager is made. Without one the
// manager logs that the game runs without sound and why, and from then on makes no effect and no
// music stream: every call that would play returns null (or false), and the table, the body
// kinds and the collision choices work as usual.
class SoundManager {
public:
    // The program-wide sound manager, drawing from the game's random generator.
    static SoundManager& GetInstance();

    // A manager with an empty table; random file numbers come from the given generator, which
    // must outlive it. Finds out whether an audio device opens (logged when none does) and puts
    // the listener at (0, 0, 30).
    explicit SoundManager(GameRandom& random);
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Reads "data/sounds.xml" and takes it as the table (see SetData). A file that cannot be
    // read leaves the table as it was.
    void Load();
    // Replaces the table and resolves the kind names of its collisions. Unknown names and a
    // missing "default" kind are logged; such entries never match, and bodies without a kind
    // are then silent. Registered body kinds are dropped, since they refer to the old table.
    void SetData(const SoundManagerData& data);
    const SoundManagerData& GetData() const { return m_Data; }
    // Releases every effect and cached buffer and forgets the body kinds; music keeps playing.
    void Clear();
    // Once per update step: releases the effects that have finished or were never started.
    void Update();

    // Registers the body's kind by name, replacing an earlier one; an unknown name is logged
    // and changes nothing. The body is only used as a key.
    void SetBodyType(const b2Body* body, const std::string& kindName);
    // Forgets the body's kind; to be called before the body is destroyed, so that a new body at
    // the same address does not inherit it.
    void ForgetBody(const b2Body* body);
    // Forgets every body's kind (a match's world is gone).
    void ForgetAllBodies();

    // A new effect on the file's cached buffer, not started: loop off, pitch 1, volume 100, at
    // the origin. The file is loaded on first use; a file that fails to load is logged once and
    // its empty buffer is kept, so it is not tried again and plays silence. The manager owns the
    // effect and releases it at the first Update after it stops. Null without an audio device.
    sf::Sound* PlaySound(const std::string& fileName);
    // Plays one file of a numbered series once: the pattern (one integer conversion, see
    // FormatFileName) with a random number from first to last, both included, at volume 0 to 1.
    // A bad pattern or a reversed range is logged and plays nothing. The effect, or null (also
    // without an audio device).
    sf::Sound* PlayRandom(const std::string& pattern, int first, int last, float volume);
    // The effect of a contact between two bodies with the given normal impulse (ChooseCollision),
    // played; null when none, or without an audio device.
    sf::Sound* PlayCollisionSound(const b2Body* bodyA, const b2Body* bodyB, float impulse);
    // Runs a "playsound" FSCommand (see ParseCommand): a file played once, or one file of a
    // numbered series at full volume. Malformed commands are logged and play nothing. The
    // effect, or null (also without an audio device).
    sf::Sound* ExecuteCommand(const std::string& command);

    // Streams a music file, looping, at the music volume of the preferences, beside any music
    // already playing. False when nothing plays: without an audio device (no stream is made), or
    // when the file cannot be opened (logged).
    bool PlayMusic(const std::string& fileName);
    // Stops and releases every music stream.
    void StopMusic();

    // The collision entry for the two bodies' kinds (a body without a kind counts as "default"),
    // in either order, whose minimum impulse the impulse exceeds; the first such entry of the
    // table. The volume is the impulse's place between the entry's minimum and maximum, 1 above
    // the maximum. No entry when nothing matches.
    std::optional<CollisionChoice> ChooseCollision(const b2Body* bodyA, const b2Body* bodyB, float impulse) const;
    // The number of effects held: playing, paused, or not yet released.
    size_t GetSoundCount() const;
    // The number of music streams playing.
    size_t GetMusicCount() const { return m_Musics.size(); }

    // The pattern with its one integer conversion ("%d" or "%i", optionally with the flag '0'
    // and a width of at most two digits) replaced by the number, and "%%" by '%'. Nothing for
    // any other pattern: no conversion, two, or any other directive.
    static std::optional<std::string> FormatFileName(const std::string& pattern, int index);
    // Takes a command apart as "playsound %s", with an optional range "[first-last]" anywhere
    // after a '[' that a ']' follows.
    static SoundCommand ParseCommand(const std::string& command);

private:
    // The index of the body kind with this name (first match, case-sensitive), or -1.
    int FindBodyType(const std::string& name) const;
    // The kind index of a body: its registered kind, else the default kind (-1 when none).
    int KindOf(const b2Body* body) const;

    // A collision entry with its two kinds resolved to indices into m_Data.m_BodyTypes
    // (-1: a name that matches no kind).
    struct ResolvedCollision {
        int first = -1;
        int second = -1;
    };

    GameRandom& m_Random;
    // Whether OpenAL opened an audio device when the manager was made; without one nothing plays.
    bool m_DeviceOpen = false;
    SoundManagerData m_Data;
    // One per entry of m_Data.m_CollisionTypes, same order.
    std::vector<ResolvedCollision> m_Collisions;
    // The index of the kind "default", or -1.
    int m_DefaultKind = -1;
    // The kind index of each registered body.
    std::unordered_map<const b2Body*, int> m_BodyKinds;
    // Decoded effect files by name; entries live until Clear. A map keeps each buffer at one
    // address, as the effects playing it require.
    std::map<std::string, sf::SoundBuffer> m_Buffers;
    // Effects; a released one leaves a null slot that the next effect takes.
    std::vector<std::unique_ptr<sf::Sound>> m_Sounds;
    std::list<std::unique_ptr<sf::Music>> m_Musics;
};

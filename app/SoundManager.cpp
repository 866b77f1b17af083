#include "app/SoundManager.h"

#include "app/AudioDevice.h"
#include "app/GameRandom.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/UserPreferences.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

#include <SFML/Audio/Listener.hpp>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

namespace {

const char* const kTableFile = "data/sounds.xml";
const char* const kDefaultKind = "default";
const char* const kCommandWord = "playsound";
// Commands come from movies and can be of any length; the log quotes at most this much of one.
constexpr size_t kMaxQuotedLength = 200;

std::string Quoted(const std::string& text) {
    if (text.size() <= kMaxQuotedLength) {
        return text;
    }
    return text.substr(0, kMaxQuotedLength) + "...";
}

// A volume of 0 to 1 as SFML's 0 to 100; anything outside (or not a number) is clamped.
float SfmlVolume(float volume) {
    if (!(volume > 0.0f)) {
        return 0.0f;
    }
    return std::min(volume, 1.0f) * 100.0f;
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads an integer as scanf's "%d" does (leading blanks, an optional sign, at least one digit)
// from text[pos], moving pos past it. False when there is none or it does not fit an int.
bool ReadInt(const std::string& text, size_t& pos, int& value) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || !IsDigit(text[pos])) {
        return false;
    }
    long long magnitude = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) {
        return false;
    }
    value = static_cast<int>(signedValue);
    return true;
}

}  // namespace

bool SoundManagerData::BodyType::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Name", m_Name);
    } else {
        buffer.ReadString("m_Name", m_Name);
    }
    return true;
}

bool SoundManagerData::CollisionType::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_BodyType1", m_BodyType1);
        buffer.WriteString("m_BodyType2", m_BodyType2);
        buffer.WriteString("m_FileNamePattern", m_FileNamePattern);
        buffer.WriteInt("m_IndexMin", m_IndexMin);
        buffer.WriteInt("m_IndexMax", m_IndexMax);
        buffer.WriteFloat("m_ImpulseMin", m_ImpulseMin);
        buffer.WriteFloat("m_ImpulseMax", m_ImpulseMax);
    } else {
        buffer.ReadString("m_BodyType1", m_BodyType1);
        buffer.ReadString("m_BodyType2", m_BodyType2);
        buffer.ReadString("m_FileNamePattern", m_FileNamePattern);
        buffer.ReadInt("m_IndexMin", m_IndexMin);
        buffer.ReadInt("m_IndexMax", m_IndexMax);
        buffer.ReadFloat("m_ImpulseMin", m_ImpulseMin);
        buffer.ReadFloat("m_ImpulseMax", m_ImpulseMax);
    }
    return true;
}

bool SoundManagerData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        sme::WriteVector(buffer, "m_BodyTypes", m_BodyTypes);
        sme::WriteVector(buffer, "m_CollisionTypes", m_CollisionTypes);
    } else {
        sme::ReadVector(buffer, "m_BodyTypes", m_BodyTypes);
        sme::ReadVector(buffer, "m_CollisionTypes", m_CollisionTypes);
    }
    return true;
}

// Made once and never destroyed: at exit the audio library's own error stream may be gone before
// a static manager would be, and its sounds write to that stream as they go. The game clears its
// sounds when it shuts down.
SoundManager& SoundManager::GetInstance() {
    static SoundManager& instance = *new SoundManager(GameRandom::GetInstance());
    return instance;
}

SoundManager::SoundManager(GameRandom& random) : m_Random(random) {
    // Without a device every effect and stream would only make the audio library report each of
    // its calls (a stream from a thread of its own that never sleeps), so none is made.
    const std::string problem = FindAudioDeviceProblem();
    m_DeviceOpen = problem.empty();
    if (!m_DeviceOpen) {
        log_error("SoundManager: the game runs without sound: %s", problem.c_str());
    }
    sf::Listener::setPosition(0.0f, 0.0f, 30.0f);
}

SoundManager::~SoundManager() {
    StopMusic();
    Clear();
}

void SoundManager::Load() {
    SoundManagerData data = m_Data;
    LoadXmlObject(data, kTableFile, nullptr);
    SetData(data);
}

void SoundManager::SetData(const SoundManagerData& data) {
    m_Data = data;
    m_BodyKinds.clear();
    m_Collisions.assign(m_Data.m_CollisionTypes.size(), ResolvedCollision{});
    for (size_t i = 0; i < m_Collisions.size(); ++i) {
        const SoundManagerData::CollisionType& type = m_Data.m_CollisionTypes[i];
        ResolvedCollision& kinds = m_Collisions[i];
        kinds.first = FindBodyType(type.m_BodyType1);
        kinds.second = FindBodyType(type.m_BodyType2);
        if (kinds.first < 0) {
            log_error("SoundManager: unknown body type %s specified in xml data", Quoted(type.m_BodyType1).c_str());
        }
        if (kinds.second < 0) {
            log_error("SoundManager: unknown body type %s specified in xml data", Quoted(type.m_BodyType2).c_str());
        }
    }
    m_DefaultKind = FindBodyType(kDefaultKind);
    if (m_DefaultKind < 0) {
        log_error("SoundManager: could not find default body type");
    }
}

void SoundManager::Clear() {
    // Effects first: they play from the buffers.
    m_Sounds.clear();
    m_Buffers.clear();
    m_BodyKinds.clear();
}

void SoundManager::Update() {
    for (std::unique_ptr<sf::Sound>& sound : m_Sounds) {
        if (sound && sound->getStatus() == sf::SoundSource::Stopped) {
            sound.reset();
        }
    }
}

void SoundManager::SetBodyType(const b2Body* body, const std::string& kindName) {
    const int kind = FindBodyType(kindName);
    if (kind < 0) {
        log_error("SoundManager: unknown body type %s specified", Quoted(kindName).c_str());
        return;
    }
    m_BodyKinds[body] = kind;
}

void SoundManager::ForgetBody(const b2Body* body) {
    m_BodyKinds.erase(body);
}

void SoundManager::ForgetAllBodies() {
    m_BodyKinds.clear();
}

sf::Sound* SoundManager::PlaySound(const std::string& fileName) {
    if (!m_DeviceOpen) {
        return nullptr;
    }
    auto [entry, added] = m_Buffers.try_emplace(fileName);
    if (added && !entry->second.loadFromFile(fileName)) {
        log_error("PlaySound: failed loading sound file: %s", Quoted(fileName).c_str());
    }
    auto sound = std::make_unique<sf::Sound>(entry->second);
    sound->setLoop(false);
    sound->setPitch(1.0f);
    sound->setVolume(100.0f);
    sound->setPosition(0.0f, 0.0f, 0.0f);

    sf::Sound* created = sound.get();
    auto freeSlot = std::find(m_Sounds.begin(), m_Sounds.end(), nullptr);
    if (freeSlot != m_Sounds.end()) {
        *freeSlot = std::move(sound);
    } else {
        m_Sounds.push_back(std::move(sound));
    }
    return created;
}

sf::Sound* SoundManager::PlayRandom(const std::string& pattern, int first, int last, float volume) {
    if (last < first) {
        log_error("SoundManager::PlayRandom: empty index range %d to %d for %s", first, last, Quoted(pattern).c_str());
        return nullptr;
    }
    std::optional<std::string> fileName = FormatFileName(pattern, m_Random.Random(first, last));
    if (!fileName) {
        log_error("SoundManager::PlayRandom: invalid file name pattern: %s", Quoted(pattern).c_str());
        return nullptr;
    }
    sf::Sound* sound = PlaySound(*fileName);
    if (sound == nullptr) {
        return nullptr;
    }
    sound->setVolume(SfmlVolume(volume));
    sound->setLoop(false);
    sound->play();
    return sound;
}

sf::Sound* SoundManager::PlayCollisionSound(const b2Body* bodyA, const b2Body* bodyB, float impulse) {
    std::optional<CollisionChoice> choice = ChooseCollision(bodyA, bodyB, impulse);
    if (!choice) {
        return nullptr;
    }
    return PlayRandom(choice->type->m_FileNamePattern, choice->type->m_IndexMin, choice->type->m_IndexMax,
                      choice->volume);
}

sf::Sound* SoundManager::ExecuteCommand(const std::string& command) {
    const SoundCommand parsed = ParseCommand(command);
    switch (parsed.status) {
    case SoundCommand::NoName:
        log_error("SoundManager::ExecuteCommand: no sound name in command: %s", Quoted(command).c_str());
        return nullptr;
    case SoundCommand::BadRange:
        log_error("SoundManager::ExecuteCommand: invalid range syntax: %s",
                  Quoted(command.substr(command.find('['))).c_str());
        return nullptr;
    case SoundCommand::Ranged: return PlayRandom(parsed.name, parsed.first, parsed.last, 1.0f);
    case SoundCommand::Single: break;
    }
    sf::Sound* sound = PlaySound(parsed.name);
    if (sound == nullptr) {
        return nullptr;
    }
    sound->setLoop(false);
    sound->setVolume(100.0f);
    sound->play();
    return sound;
}

bool SoundManager::PlayMusic(const std::string& fileName) {
    if (!m_DeviceOpen) {
        return false;
    }
    auto music = std::make_unique<sf::Music>();
    if (!music->openFromFile(fileName)) {
        log_error("PlayMusic: failed loading stream: %s", Quoted(fileName).c_str());
        return false;
    }
    music->setVolume(SfmlVolume(UserPreferences::GetInstance().musicVolume));
    music->setLoop(true);
    music->play();
    m_Musics.push_back(std::move(music));
    return true;
}

void SoundManager::StopMusic() {
    for (std::unique_ptr<sf::Music>& music : m_Musics) {
        music->stop();
    }
    m_Musics.clear();
}

std::optional<CollisionChoice> SoundManager::ChooseCollision(const b2Body* bodyA, const b2Body* bodyB,
                                                             float impulse) const {
    const int kindA = KindOf(bodyA);
    const int kindB = KindOf(bodyB);
    if (kindA < 0 || kindB < 0) {
        return std::nullopt;
    }
    for (size_t i = 0; i < m_Collisions.size(); ++i) {
        const ResolvedCollision& kinds = m_Collisions[i];
        const SoundManagerData::CollisionType& type = m_Data.m_CollisionTypes[i];
        const bool pairMatches =
            (kinds.first == kindA && kinds.second == kindB) || (kinds.first == kindB && kinds.second == kindA);
        if (!pairMatches || !(impulse > type.m_ImpulseMin)) {
            continue;
        }
        // Above the maximum (also when the maximum is not above the minimum) the volume is full,
        // so the division only happens for a span that is greater than zero.
        float volume = 1.0f;
        if (impulse <= type.m_ImpulseMax) {
            volume = (impulse - type.m_ImpulseMin) / (type.m_ImpulseMax - type.m_ImpulseMin);
            // Infinite bounds from the table give no scale (infinity over infinity): the
            // contact passed the minimum, so it sounds in full.
            if (!(volume >= 0.0f && volume <= 1.0f)) {
                volume = 1.0f;
            }
        }
        return CollisionChoice{&type, volume};
    }
    return std::nullopt;
}

size_t SoundManager::GetSoundCount() const {
    return static_cast<size_t>(std::count_if(m_Sounds.begin(), m_Sounds.end(),
                                             [](const std::unique_ptr<sf::Sound>& sound) { return sound != nullptr; }));
}

std::optional<std::string> SoundManager::FormatFileName(const std::string& pattern, int index) {
    std::string name;
    bool converted = false;
    for (size_t pos = 0; pos < pattern.size(); ++pos) {
        if (pattern[pos] != '%') {
            name += pattern[pos];
            continue;
        }
        ++pos;
        if (pos < pattern.size() && pattern[pos] == '%') {
            name += '%';
            continue;
        }
        const bool zeroPad = pos < pattern.size() && pattern[pos] == '0';
        if (zeroPad) {
            ++pos;
        }
        size_t width = 0;
        for (int digits = 0; pos < pattern.size() && IsDigit(pattern[pos]); ++digits, ++pos) {
            if (digits == 2) {
                return std::nullopt;
            }
            width = width * 10 + static_cast<size_t>(pattern[pos] - '0');
        }
        if (converted || pos >= pattern.size() || (pattern[pos] != 'd' && pattern[pos] != 'i')) {
            return std::nullopt;
        }
        converted = true;
        const std::string digits = std::to_string(index < 0 ? -static_cast<long long>(index) : index);
        const std::string sign = index < 0 ? "-" : "";
        const size_t length = sign.size() + digits.size();
        const size_t padding = width > length ? width - length : 0;
        if (zeroPad) {
            name += sign + std::string(padding, '0') + digits;
        } else {
            name += std::string(padding, ' ') + sign + digits;
        }
    }
    if (!converted) {
        return std::nullopt;
    }
    return name;
}

SoundCommand SoundManager::ParseCommand(const std::string& command) {
    SoundCommand parsed;
    const std::string word = kCommandWord;
    if (command.compare(0, word.size(), word) != 0) {
        return parsed;
    }
    size_t pos = word.size();
    while (pos < command.size() && IsBlank(command[pos])) {
        ++pos;
    }
    const size_t nameStart = pos;
    while (pos < command.size() && !IsBlank(command[pos])) {
        ++pos;
    }
    if (pos == nameStart) {
        return parsed;
    }
    parsed.name = command.substr(nameStart, pos - nameStart);

    const size_t open = command.find('[');
    if (open == std::string::npos || command.find(']', open + 1) == std::string::npos) {
        parsed.status = SoundCommand::Single;
        return parsed;
    }
    size_t rangePos = open + 1;
    if (!ReadInt(command, rangePos, parsed.first) || rangePos >= command.size() || command[rangePos] != '-') {
        parsed.status = SoundCommand::BadRange;
        return parsed;
    }
    ++rangePos;
    parsed.status = ReadInt(command, rangePos, parsed.last) ? SoundCommand::Ranged : SoundCommand::BadRange;
    return parsed;
}

int SoundManager::FindBodyType(const std::string& name) const {
    for (size_t i = 0; i < m_Data.m_BodyTypes.size(); ++i) {
        if (m_Data.m_BodyTypes[i].m_Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SoundManager::KindOf(const b2Body* body) const {
    auto found = m_BodyKinds.find(body);
    return found != m_BodyKinds.end() ? found->second : m_DefaultKind;
}

#include "game/GlobboData.h"

#include "app/Log.h"
#include "serializeme/StorageBuffer.h"

#include <cmath>

namespace {

// A delay read from a file: kept when it is a finite number of at least 0 (a delay of 0 moves the
// mouth on at every step), else the default.
void KeepUsableDelay(float& delay, float fallback, const char* key) {
    if (!std::isfinite(delay) || delay < 0.0f) {
        log_error("MouthData::Serialize: %s %f is not a usable delay, %f taken", key, delay, fallback);
        delay = fallback;
    }
}

}  // namespace

bool EyesData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("image", m_Image);
        buffer.WriteString("attachment", m_Attachment);
        buffer.WriteBool("useColorTransform", m_UseColorTransform);
    } else {
        buffer.ReadString("image", m_Image);
        buffer.ReadString("attachment", m_Attachment);
        buffer.ReadBool("useColorTransform", m_UseColorTransform);
    }
    return true;
}

bool MouthData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("image", m_Image);
        buffer.WriteFloat("openDelay", m_OpenDelay);
        buffer.WriteFloat("closedDelay", m_ClosedDelay);
        buffer.WriteBool("useColorTransform", m_UseColorTransform);
        return true;
    }
    buffer.ReadString("image", m_Image);
    buffer.ReadFloat("openDelay", m_OpenDelay);
    buffer.ReadFloat("closedDelay", m_ClosedDelay);
    buffer.ReadBool("useColorTransform", m_UseColorTransform);
    KeepUsableDelay(m_OpenDelay, kDefaultOpenDelay, "openDelay");
    KeepUsableDelay(m_ClosedDelay, kDefaultClosedDelay, "closedDelay");
    return true;
}

bool GlobboData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("characterName", m_CharacterName);
        buffer.WriteString("snapshotFile", m_SnapshotFile);
        buffer.WriteObject("bodyColor", m_BodyColor);
        buffer.WriteString("skinAttachment", m_SkinAttachment);
        buffer.WriteString("skinTopAttachment", m_SkinTopAttachment);
        buffer.WriteObject("eyes", m_Eyes);
        buffer.WriteObject("mouth", m_Mouth);
        buffer.WriteBool("selectable", m_Selectable);
    } else {
        buffer.ReadString("characterName", m_CharacterName);
        buffer.ReadString("snapshotFile", m_SnapshotFile);
        buffer.ReadObject("bodyColor", m_BodyColor);
        buffer.ReadString("skinAttachment", m_SkinAttachment);
        buffer.ReadString("skinTopAttachment", m_SkinTopAttachment);
        buffer.ReadObject("eyes", m_Eyes);
        buffer.ReadObject("mouth", m_Mouth);
        buffer.ReadBool("selectable", m_Selectable);
    }
    return true;
}

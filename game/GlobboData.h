#pragma once

#include "app/ColorData.h"
#include "serializeme/Serializable.h"

#include <string>

// A creature's definition, as the files under "data/players" (player creatures) and "data/ais"
// (computer opponents) hold it. Every such file has one layout: the root element "resource"
// holds the "globbo" element first; a computer opponent's file also holds its bot settings, the
// "botsettings" object named "m_Settings":
//
//   <resource>
//       <globbo name="globbo" characterName="Bubbles" snapshotFile="..." skinAttachment="..."
//               skinTopAttachment="" selectable="true">
//           <color name="bodyColor" r="90" g="200" b="255" a="140" />
//           <eyes name="eyes" image="..." attachment="" useColorTransform="false" />
//           <mouth name="mouth" image="..." openDelay="2" closedDelay="0.5" useColorTransform="true" />
//       </globbo>
//       <botsettings name="m_Settings" ... />      (data/ais only)
//   </resource>
//
// Keys that are missing keep their defaults. The selection screens list every name in those
// folders that contains ".xml", so only creature files may carry it in their names.

// The creature's eyes: the movie with the clips "eye_l" and "eye_r" (each with "pupil" and
// "eyeball", and the labels "blink" and "blinkfast"), an optional movie drawn over it, and
// whether the eyes are tinted with the body colour.
class EyesData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "eyes"; }

    std::string m_Image;
    std::string m_Attachment;
    bool m_UseColorTransform = true;
};

// The creature's mouth: the movie with the labels "close", "closed", "open", "suckoff" and
// "spit", how long it stays open and closed (seconds; the mouth timer draws each wait from
// [delay, 1.5 x delay]), and whether it is tinted with the body colour.
class MouthData : public sme::Serializable {
public:
    static constexpr float kDefaultOpenDelay = 2.0f;
    static constexpr float kDefaultClosedDelay = 0.5f;

    // A delay read that is negative or not finite is logged and takes its default; 0 is kept.
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "mouth"; }

    std::string m_Image;
    float m_OpenDelay = kDefaultOpenDelay;
    float m_ClosedDelay = kDefaultClosedDelay;
    bool m_UseColorTransform = true;
};

class GlobboData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "globbo"; }

    // The creature's name; the statistics keep it as the player's id.
    std::string m_CharacterName;
    // The portrait movie of the selection screens, with its clip "face".
    std::string m_SnapshotFile;
    // The skin's fill colour; its alpha lets the balls inside show through.
    ColorData m_BodyColor{0, 0, 0, 255};
    // A movie drawn at every point of the outline, turned outwards (empty: none).
    std::string m_SkinAttachment;
    // A movie that rides on top of the outline (empty: none).
    std::string m_SkinTopAttachment;
    EyesData m_Eyes;
    MouthData m_Mouth;
    // Whether the selection screens let players choose the creature; a file opts out.
    bool m_Selectable = true;
};

#pragma once

#include "swfplayer/main/common/swf_tag.h"
#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/Records.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace swfkit {

// One clip-event handler of a placement: the event flag bits, the key code of a key-press
// handler (flag 0x20000) and the raw action bytes, which should end with the end action 0x00.
struct ClipAction {
    uint32_t events = 0;
    uint8_t keyCode = 0;
    Bytes actions;
};

// What a PlaceObject2 or PlaceObject3 tag says. Absent fields are not written.
struct Placement {
    uint16_t depth = 1;
    std::optional<uint16_t> characterId;
    bool move = false;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clipDepth;
    std::vector<ClipAction> clipActions;
    // PlaceObject3 only: a raw filter list (count byte and filters) and a blend mode.
    std::optional<Bytes> filterList;
    std::optional<uint8_t> blendMode;
};

// One child of a button: the states it shows in, its character, layer and placement.
// DefineButton2 also writes the colour transform (identity when absent), the raw filter list and
// the blend mode.
struct ButtonRecord {
    bool up = false;
    bool over = false;
    bool down = false;
    bool hitTest = false;
    uint16_t characterId = 0;
    uint16_t layer = 1;
    Matrix matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<Bytes> filterList;
    std::optional<uint8_t> blendMode;
};

// One action of a DefineButton2: the condition word and the raw action bytes, which should end
// with the end action 0x00.
struct ButtonAction {
    uint16_t conditions = 0;
    Bytes actions;
};

// A sequence of tags: a movie's main timeline or a sprite's. The tags are written in the order
// of the calls. Writers that depend on the file version (clip-event flags) use the version given.
class TagList {
public:
    explicit TagList(int swfVersion) : m_Version(swfVersion) {}

    int GetVersion() const { return m_Version; }
    // The tags written so far.
    const Bytes& GetBytes() const { return m_Bytes; }
    // Number of ShowFrame tags written so far.
    int GetShowFrameCount() const { return m_ShowFrames; }
    // Whether the last tag written is an End tag.
    bool EndsWithEnd() const { return m_LastType == swfplayer::tag_end; }

    // Any tag: a short header when the body is below 63 bytes unless forceLong is set.
    TagList& Tag(int type, const Bytes& body, bool forceLong = false);
    // A header claiming declaredLength bytes, followed by the given bytes (for malformed files).
    TagList& RawTag(int type, uint32_t declaredLength, const Bytes& bytes);

    TagList& End();
    TagList& ShowFrame();
    TagList& DefineShape(uint16_t id, const ShapeBuilder& shape, int shapeVersion = 1);
    // A DefineSprite with the sprite's own tags; the frame count defaults to its ShowFrames.
    TagList& DefineSprite(uint16_t id, const TagList& spriteTags, std::optional<uint16_t> frameCount = {});
    // PlaceObject (tag 4); the colour transform is written only when given.
    TagList& PlaceObject(uint16_t id, uint16_t depth, const Matrix& matrix = {},
                         const std::optional<ColorTransform>& cxform = {});
    TagList& PlaceObject2(const Placement& placement);
    TagList& PlaceObject3(const Placement& placement);
    TagList& RemoveObject(uint16_t id, uint16_t depth);
    TagList& RemoveObject2(uint16_t depth);
    TagList& SetBackgroundColor(const Color& color);
    TagList& FrameLabel(const std::string& label);
    TagList& ExportAssets(const std::vector<std::pair<uint16_t, std::string>>& symbols);
    TagList& ImportAssets(const std::string& url, const std::vector<std::pair<uint16_t, std::string>>& symbols);
    // DoAction with raw action bytes, written as given.
    TagList& DoAction(const Bytes& actions);
    TagList& DoInitAction(uint16_t spriteId, const Bytes& actions);
    // DoABC: the flags word, the block's name and the raw ABC block.
    TagList& DoABC(uint32_t flags, const std::string& name, const Bytes& block);
    // SymbolClass: a class name for each character id (0 is the main timeline).
    TagList& SymbolClass(const std::vector<std::pair<uint16_t, std::string>>& symbols);
    // DefineButton: the records, then the raw bytes of its one (release) action.
    TagList& DefineButton(uint16_t id, const std::vector<ButtonRecord>& records, const Bytes& actions);
    // DefineButton2 with correct action offset and sizes (the last action's size is 0).
    TagList& DefineButton2(uint16_t id, bool trackAsMenu, const std::vector<ButtonRecord>& records,
                           const std::vector<ButtonAction>& actions);

private:
    Bytes PlacementBody(const Placement& placement, bool version3) const;
    // The records and the 0 byte that ends them.
    static Bytes ButtonRecordsBody(const std::vector<ButtonRecord>& records, bool button2);

    int m_Version;
    Bytes m_Bytes;
    int m_ShowFrames = 0;
    int m_LastType = -1;
};

}  // namespace swfkit

#include "tools/swfkit/TagList.h"

namespace swfkit {

TagList& TagList::Tag(int type, const Bytes& body, bool forceLong) {
    BitWriter out;
    if (body.size() < 0x3F && !forceLong) {
        out.WriteU16(static_cast<uint16_t>(type << 6 | static_cast<int>(body.size())));
    } else {
        out.WriteU16(static_cast<uint16_t>(type << 6 | 0x3F));
        out.WriteU32(static_cast<uint32_t>(body.size()));
    }
    out.WriteBytes(body);
    const Bytes& bytes = out.GetBytes();
    m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
    if (type == swfplayer::tag_show_frame) {
        m_ShowFrames++;
    }
    m_LastType = type;
    return *this;
}

TagList& TagList::RawTag(int type, uint32_t declaredLength, const Bytes& bytes) {
    BitWriter out;
    out.WriteU16(static_cast<uint16_t>(type << 6 | 0x3F));
    out.WriteU32(declaredLength);
    out.WriteBytes(bytes);
    const Bytes& written = out.GetBytes();
    m_Bytes.insert(m_Bytes.end(), written.begin(), written.end());
    m_LastType = type;
    return *this;
}

TagList& TagList::End() {
    return Tag(swfplayer::tag_end, {});
}

TagList& TagList::ShowFrame() {
    return Tag(swfplayer::tag_show_frame, {});
}

TagList& TagList::DefineShape(uint16_t id, const ShapeBuilder& shape, int shapeVersion) {
    return Tag(DefineShapeTagType(shapeVersion), DefineShapeBody(id, shape, shapeVersion));
}

TagList& TagList::DefineSprite(uint16_t id, const TagList& spriteTags, std::optional<uint16_t> frameCount) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteU16(frameCount ? *frameCount : static_cast<uint16_t>(spriteTags.GetShowFrameCount()));
    out.WriteBytes(spriteTags.GetBytes());
    return Tag(swfplayer::tag_define_sprite, out.GetBytes());
}

TagList& TagList::PlaceObject(uint16_t id, uint16_t depth, const Matrix& matrix,
                              const std::optional<ColorTransform>& cxform) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteU16(depth);
    WriteMatrix(out, matrix);
    if (cxform) {
        WriteColorTransform(out, *cxform, false);
    }
    return Tag(swfplayer::tag_place_object, out.GetBytes());
}

Bytes TagList::PlacementBody(const Placement& p, bool version3) const {
    BitWriter out;
    bool hasFilters = version3 && p.filterList.has_value();
    bool hasBlend = version3 && p.blendMode.has_value();
    out.WriteBits(!p.clipActions.empty(), 1);
    out.WriteBits(p.clipDepth.has_value(), 1);
    out.WriteBits(p.name.has_value(), 1);
    out.WriteBits(p.ratio.has_value(), 1);
    out.WriteBits(p.colorTransform.has_value(), 1);
    out.WriteBits(p.matrix.has_value(), 1);
    out.WriteBits(p.characterId.has_value(), 1);
    out.WriteBits(p.move, 1);
    if (version3) {
        out.WriteBits(0, 6);  // class name, image, cache-as-bitmap flags: not written
        out.WriteBits(hasBlend, 1);
        out.WriteBits(hasFilters, 1);
    }
    out.WriteU16(p.depth);
    if (p.characterId) {
        out.WriteU16(*p.characterId);
    }
    if (p.matrix) {
        WriteMatrix(out, *p.matrix);
    }
    if (p.colorTransform) {
        WriteColorTransform(out, *p.colorTransform, true);
    }
    if (p.ratio) {
        out.WriteU16(*p.ratio);
    }
    if (p.name) {
        out.WriteString(*p.name);
    }
    if (p.clipDepth) {
        out.WriteU16(*p.clipDepth);
    }
    if (hasFilters) {
        out.WriteBytes(*p.filterList);
    }
    if (hasBlend) {
        out.WriteU8(*p.blendMode);
    }
    if (!p.clipActions.empty()) {
        // Event flags are 16 bits before version 6 and 32 bits from it on.
        auto writeFlags = [&](uint32_t flags) {
            if (m_Version < 6) {
                out.WriteU16(static_cast<uint16_t>(flags));
            } else {
                out.WriteU32(flags);
            }
        };
        uint32_t all = 0;
        for (const ClipAction& action : p.clipActions) {
            all |= action.events;
        }
        out.WriteU16(0);
        writeFlags(all);
        for (const ClipAction& action : p.clipActions) {
            writeFlags(action.events);
            bool keyPress = (action.events & 0x20000) != 0;
            out.WriteU32(static_cast<uint32_t>(action.actions.size() + (keyPress ? 1 : 0)));
            if (keyPress) {
                out.WriteU8(action.keyCode);
            }
            out.WriteBytes(action.actions);
        }
        writeFlags(0);
    }
    return out.GetBytes();
}

TagList& TagList::PlaceObject2(const Placement& placement) {
    return Tag(swfplayer::tag_place_object2, PlacementBody(placement, false));
}

TagList& TagList::PlaceObject3(const Placement& placement) {
    return Tag(swfplayer::tag_place_object3, PlacementBody(placement, true));
}

TagList& TagList::RemoveObject(uint16_t id, uint16_t depth) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteU16(depth);
    return Tag(swfplayer::tag_remove_object, out.GetBytes());
}

TagList& TagList::RemoveObject2(uint16_t depth) {
    BitWriter out;
    out.WriteU16(depth);
    return Tag(swfplayer::tag_remove_object2, out.GetBytes());
}

TagList& TagList::SetBackgroundColor(const Color& color) {
    BitWriter out;
    WriteRgb(out, color);
    return Tag(swfplayer::tag_set_background_color, out.GetBytes());
}

TagList& TagList::FrameLabel(const std::string& label) {
    BitWriter out;
    out.WriteString(label);
    return Tag(swfplayer::tag_frame_label, out.GetBytes());
}

TagList& TagList::ExportAssets(const std::vector<std::pair<uint16_t, std::string>>& symbols) {
    BitWriter out;
    out.WriteU16(static_cast<uint16_t>(symbols.size()));
    for (const auto& [id, name] : symbols) {
        out.WriteU16(id);
        out.WriteString(name);
    }
    return Tag(swfplayer::tag_export_assets, out.GetBytes());
}

TagList& TagList::ImportAssets(const std::string& url, const std::vector<std::pair<uint16_t, std::string>>& symbols) {
    BitWriter out;
    out.WriteString(url);
    out.WriteU16(static_cast<uint16_t>(symbols.size()));
    for (const auto& [id, name] : symbols) {
        out.WriteU16(id);
        out.WriteString(name);
    }
    return Tag(swfplayer::tag_import_assets, out.GetBytes());
}

TagList& TagList::DoAction(const Bytes& actions) {
    return Tag(swfplayer::tag_do_action, actions);
}

TagList& TagList::DoInitAction(uint16_t spriteId, const Bytes& actions) {
    BitWriter out;
    out.WriteU16(spriteId);
    out.WriteBytes(actions);
    return Tag(swfplayer::tag_do_init_action, out.GetBytes());
}

TagList& TagList::DoABC(uint32_t flags, const std::string& name, const Bytes& block) {
    BitWriter out;
    out.WriteU32(flags);
    out.WriteString(name);
    out.WriteBytes(block);
    return Tag(swfplayer::tag_do_abc, out.GetBytes());
}

TagList& TagList::SymbolClass(const std::vector<std::pair<uint16_t, std::string>>& symbols) {
    BitWriter out;
    out.WriteU16(static_cast<uint16_t>(symbols.size()));
    for (const auto& [id, name] : symbols) {
        out.WriteU16(id);
        out.WriteString(name);
    }
    return Tag(swfplayer::tag_symbol_class, out.GetBytes());
}

Bytes TagList::ButtonRecordsBody(const std::vector<ButtonRecord>& records, bool button2) {
    BitWriter out;
    for (const ButtonRecord& r : records) {
        const bool hasFilters = button2 && r.filterList;
        const bool hasBlend = button2 && r.blendMode;
        out.WriteU8(static_cast<uint8_t>((hasBlend ? 0x20 : 0) | (hasFilters ? 0x10 : 0) | (r.hitTest ? 0x08 : 0) |
                                         (r.down ? 0x04 : 0) | (r.over ? 0x02 : 0) | (r.up ? 0x01 : 0)));
        out.WriteU16(r.characterId);
        out.WriteU16(r.layer);
        WriteMatrix(out, r.matrix);
        if (button2) {
            WriteColorTransform(out, r.colorTransform.value_or(ColorTransform{}), true);
        }
        if (hasFilters) {
            out.WriteBytes(*r.filterList);
        }
        if (hasBlend) {
            out.WriteU8(*r.blendMode);
        }
    }
    out.WriteU8(0);
    return out.GetBytes();
}

TagList& TagList::DefineButton(uint16_t id, const std::vector<ButtonRecord>& records, const Bytes& actions) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteBytes(ButtonRecordsBody(records, false));
    out.WriteBytes(actions);
    return Tag(swfplayer::tag_define_button, out.GetBytes());
}

TagList& TagList::DefineButton2(uint16_t id, bool trackAsMenu, const std::vector<ButtonRecord>& records,
                                const std::vector<ButtonAction>& actions) {
    const Bytes recordBytes = ButtonRecordsBody(records, true);
    BitWriter out;
    out.WriteU16(id);
    out.WriteU8(trackAsMenu ? 1 : 0);
    // The offset counts from its own field to the first action.
    out.WriteU16(actions.empty() ? 0 : static_cast<uint16_t>(2 + recordBytes.size()));
    out.WriteBytes(recordBytes);
    for (size_t i = 0; i < actions.size(); i++) {
        const bool last = i + 1 == actions.size();
        out.WriteU16(last ? 0 : static_cast<uint16_t>(4 + actions[i].actions.size()));
        out.WriteU16(actions[i].conditions);
        out.WriteBytes(actions[i].actions);
    }
    return Tag(swfplayer::tag_define_button2, out.GetBytes());
}

}  // namespace swfkit
